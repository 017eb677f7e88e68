#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

using namespace Qt::Literals::StringLiterals;

// Answers the modal dialogs a command opens, one handler per dialog in the order they appear.
// The command under test runs its own modal loops; the driver looks for a new modal window from
// a timer inside those loops; each dialog is answered once. A dialog of an unexpected kind, or one more than
// expected, is closed and noted, so a wrong flow ends instead of hanging; unless the driver was
// given a handler for every dialog past the expected ones (otherwise), which answers it instead.
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
            problems.append(u"expected %1, got %2"_s.arg(QLatin1String(Dialog::staticMetaObject.className()),
                                                         QLatin1String(widget->metaObject()->className())));
            dismiss(widget);
        });
    }

    // Answers each dialog that comes after the expected ones.
    void otherwise(std::function<void(QWidget*)> handler) { fallback = std::move(handler); }

    // Empty when every expected dialog came, in order, and nothing else did.
    QStringList problemsLeft() const {
        QStringList all = problems;
        if (next < handlers.size())
            all.append(u"%1 expected dialog(s) never came"_s.arg(handlers.size() - next));
        return all;
    }

    int dialogsSeen() const { return next; }

private:
    void poll() {
        // A dialog is answered once each time it shows: one that is still on view while the
        // answer to a question it asked is taking effect is not a new dialog.
        answered.removeIf([](const QPointer<QWidget>& dialog) { return !dialog || !dialog->isVisible(); });
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered.contains(modal))
            return;
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
        if (fallback) {
            QMetaObject::invokeMethod(
                this,
                [this, target] {
                    if (target)
                        fallback(target);
                },
                Qt::QueuedConnection);
            return;
        }
        problems.append(u"unexpected %1"_s.arg(QLatin1String(modal->metaObject()->className())));
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
    std::function<void(QWidget*)> fallback;
    qsizetype next = 0;
    QStringList problems;
};
