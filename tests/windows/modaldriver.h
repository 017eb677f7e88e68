#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Answers the modal dialogs a command opens, one handler per dialog in the order they appear.
// The command under test runs its own modal loops; the driver looks for a new modal window from
// a timer inside those loops; each dialog is answered once. A dialog of an unexpected kind, or one more than
// expected, is closed and noted, so a wrong flow ends instead of hanging.
class ModalDriver : public QObject {
public:
    ModalDriver() {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, &ModalDriver::poll);
        timer.start();
    }

    template <typename Dialog> void expect(std::function<void(Dialog*)> handler) {
        handlers.append([this, handler](QWidget* widget) {
            if (auto* dialog = qobject_cast<Dialog*>(widget)) {
                handler(dialog);
                return;
            }
            problems.append(QStringLiteral("expected %1, got %2")
                                .arg(QLatin1String(Dialog::staticMetaObject.className()),
                                     QLatin1String(widget->metaObject()->className())));
            dismiss(widget);
        });
    }

    // Empty when every expected dialog came, in order, and nothing else did.
    QStringList problemsLeft() const {
        QStringList all = problems;
        if (next < handlers.size())
            all.append(QStringLiteral("%1 expected dialog(s) never came").arg(handlers.size() - next));
        return all;
    }

    int dialogsSeen() const { return next; }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        // A dialog is answered once: one that is still on view while the answer to a question it
        // asked is taking effect is not a new dialog.
        if (!modal || !modal->isVisible() || answered.contains(modal))
            return;
        answered.removeAll(nullptr);
        answered.append(modal);
        // Answered from the event loop, not from this timer: an answer may open a dialog of its
        // own, and the timer must be free to find that one.
        QPointer<QWidget> target = modal;
        if (next < handlers.size()) {
            QMetaObject::invokeMethod(
                this,
                [this, target, handler = handlers[next++]] {
                    if (target)
                        handler(target);
                    // A failed check inside the handler leaves the dialog unanswered.
                    if (target && target->isVisible() && QTest::currentTestFailed())
                        dismiss(target);
                },
                Qt::QueuedConnection);
            return;
        }
        problems.append(QStringLiteral("unexpected %1").arg(QLatin1String(modal->metaObject()->className())));
        QMetaObject::invokeMethod(
            this,
            [target] {
                if (target)
                    dismiss(target);
            },
            Qt::QueuedConnection);
    }

    static void dismiss(QWidget* widget) {
        if (auto* dialog = qobject_cast<QDialog*>(widget))
            dialog->reject();
        else
            widget->close();
    }

    QTimer timer;
    QList<QPointer<QWidget>> answered;
    QList<std::function<void(QWidget*)>> handlers;
    qsizetype next = 0;
    QStringList problems;
};
