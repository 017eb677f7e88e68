#include "engine/output/feed.h"
#include "engine/output/index.h"
#include "modaldriver.h"
#include "settings/foldersetting.h"
#include "ui/frmBrowse.h"
#include "ui/frmBrowser.h"
#include "ui/frmMain.h"
#include "ui/frmTextpad.h"
#include "ui/icon.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

namespace {

const QStringList kActionButtons = {u"cmdCreate"_s,   u"cmdBrowseHTML"_s,    u"cmdViewHTML"_s,
                                    u"cmdSaveFile"_s, u"cmdCreateXMLcode"_s, u"cmdViewXMLcode"_s};
const QString kCancel = u"<cancel>"_s;
const QString kKeepDefault = u"<default>"_s;

// "S" or "H" per action button, in the order above.
QString Visibility(const QWidget* window) {
    QString flags;
    for (const QString& name : kActionButtons)
        flags += window->findChild<QPushButton*>(name)->isHidden() ? u'H' : u'S';
    return flags;
}

// What a screen reader announces for a control.
QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    return control ? control->text(QAccessible::Name) : QString();
}

// Answers the modal dialogs the window opens, through a ModalDriver. Input dialogs take the
// queued answers in turn (kCancel rejects, kKeepDefault accepts what is offered); message boxes
// are acknowledged.
class DialogAnswerer {
public:
    struct Seen {
        QString title, text, offered, buttons;
        bool busyPointer;
        bool plainText = true;
        bool windowBusy = false;
    };
    QStringList answers;
    QList<Seen> seen;
    QPointer<QWidget> window;

    DialogAnswerer() {
        driver.otherwise([this](QWidget* modal) { answer(modal); });
    }
    void reset(QWidget* w) {
        answers.clear();
        seen.clear();
        window = w;
    }

private:
    void answer(QWidget* modal) {
        const QString buttons = window ? Visibility(window) : QString();
        const bool busy = QApplication::overrideCursor() != nullptr;
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            const bool windowBusy = window && window->testAttribute(Qt::WA_SetCursor) &&
                                    window->cursor().shape() == Qt::WaitCursor;
            seen.append({input->windowTitle(), input->labelText(), input->textValue(), buttons, busy, true,
                         windowBusy});
            const QString a = answers.isEmpty() ? kCancel : answers.takeFirst();
            if (a == kCancel) {
                input->setTextValue(u"typed, then cancelled"_s);
                input->reject();
                return;
            }
            if (a != kKeepDefault)
                input->setTextValue(a);
            input->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.append({box->windowTitle(), box->text(), QString(), buttons, busy,
                         box->textFormat() == Qt::PlainText});
            box->accept();
        } else if (modal) {
            modal->close();
        }
    }
    ModalDriver driver;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch;
    int cases = 0;
    DialogAnswerer dialogs;
    std::unique_ptr<frmMain> window;

    QString newFolder(const QStringList& pages = {}) {
        const QString dir = scratch.filePath(u"f%1"_s.arg(++cases));
        QDir().mkpath(dir);
        for (const QString& page : pages)
            writePage(dir, page, u"Title of "_s + page);
        return dir;
    }
    static void writePage(const QString& dir, const QString& name, const QString& title) {
        QFile f(dir + u'/' + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QString text = title.isEmpty() ? u"<html><body>no title</body></html>"_s
                                             : u"<html><head><title>%1</title></head></html>"_s.arg(title);
        f.write(text.toUtf8());
    }
    frmMain* open() {
        window = std::make_unique<frmMain>();
        dialogs.window = window.get();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("main window not exposed");
        return window.get();
    }
    template <typename T = QWidget> T* control(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    QStringList listed() {
        QStringList names;
        auto* list = control<QListWidget>("lstFiles");
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    void click(const char* name) {
        auto* button = control<QPushButton>(name);
        QVERIFY2(button->isVisible(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    template <typename T> QList<T*> openWindows() {
        QList<T*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
                found << t;
        return found;
    }

private Q_SLOTS:
    void init() {
        // Every case starts on a store of its own, with nothing remembered: the folder setting
        // lives under $XDG_CONFIG_HOME, the save dialog's state where QSettings is pointed.
        const QString config = scratch.filePath(u"config%1"_s.arg(++cases));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        dialogs.reset(nullptr);
    }
    void cleanup() {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void twipsToPixels_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("inch at 96") << 1440 << 96.0 << 96;
        QTest::newRow("15 twips a pixel at 96") << 15 << 96.0 << 1;
        QTest::newRow("window width at 96") << 4680 << 96.0 << 312;
        QTest::newRow("rounds half up") << 375 << 120.0 << 31;
        QTest::newRow("at 144") << 120 << 144.0 << 12;
        QTest::newRow("zero") << 0 << 96.0 << 0;
    }
    void twipsToPixels() {
        QFETCH(int, twips);
        QFETCH(qreal, dpi);
        QFETCH(int, pixels);
        QCOMPARE(TwipsToPixels(twips, dpi), pixels);
    }

    void pageDateText_data() {
        QTest::addColumn<QDateTime>("created");
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("expected");
        const QDateTime born(QDate(2004, 5, 6), QTime(7, 8));
        const QDateTime touched(QDate(2011, 12, 13), QTime(14, 15));
        const QString bornText = QLocale().toString(born, QLocale::ShortFormat);
        const QString touchedText = QLocale().toString(touched, QLocale::ShortFormat);
        QTest::newRow("creation time known") << born << touched << bornText;
        QTest::newRow("none recorded") << QDateTime() << touched << u"Last modified: "_s + touchedText;
        QTest::newRow("zero is not a date")
            << QDateTime::fromSecsSinceEpoch(0) << touched << u"Last modified: "_s + touchedText;
        QTest::newRow("nothing known")
            << QDateTime() << QDateTime::fromSecsSinceEpoch(0) << u"Creation date unknown"_s;
    }
    void pageDateText() {
        QFETCH(QDateTime, created);
        QFETCH(QDateTime, modified);
        QFETCH(QString, expected);
        QCOMPARE(PageDateText(created, modified), expected);
    }

    void icon() {
        const QIcon icon = PagewickIcon();
        for (int side : {16, 32}) {
            const QImage image = icon.pixmap(side).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // outside the diamond
            QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
            const QColor inside = image.pixelColor(side / 4 + 1, side / 2); // left of the arrow
            QVERIFY2(inside.red() > 200 && inside.green() > 200 && inside.blue() < 60,
                     qPrintable(inside.name()));
            QCOMPARE(image.pixelColor(side / 2, side / 2), QColor(Qt::black)); // the arrow's shaft
            QCOMPARE(image.pixelColor(side / 2, 1), QColor(Qt::black));        // the outline at the top
        }
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QRect>("twips");
        const auto row = [](const char* name, const char* kind, const char* parent, const char* caption,
                            const char* tip, QRect r) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(kind)
                                << QString::fromUtf8(parent) << QString::fromUtf8(caption)
                                << QString::fromUtf8(tip) << r;
        };
        row("Frame1", "QGroupBox", "fraClient", "Folder", "", {120, 120, 4335, 735});
        row("txtMap", "QLineEdit", "Frame1", "", "The selected folder", {120, 240, 2535, 285});
        row("cmdBrowse", "QPushButton", "Frame1", "Browse", "Browse to select a folder",
            {2880, 240, 1215, 375});
        row("lstFiles", "QListWidget", "fraClient", "", "List of files", {240, 960, 2295, 2790});
        row("cmdCreate", "QPushButton", "fraClient", "Create HTML", "Create an index",
            {2760, 960, 1575, 375});
        row("cmdViewHTML", "QPushButton", "fraClient", "View HTML code",
            "View the HTML code of the index. You can copy and paste into your HTML editor",
            {2760, 1440, 1575, 375});
        row("cmdBrowseHTML", "QPushButton", "fraClient", "View in Browser", "View the index in a browser",
            {2760, 1920, 1575, 375});
        row("cmdSaveFile", "QPushButton", "fraClient", "Save HTML file", "", {2760, 2400, 1575, 375});
        row("cmdCreateXMLcode", "QPushButton", "fraClient", "Create XML code",
            "Click to genereate XML code to include in a RSS feed", {2760, 2880, 1575, 375});
        row("cmdViewXMLcode", "QPushButton", "fraClient", "View XML code",
            "Click to view the XML code to be pasted in a RSS feed", {2760, 3360, 1575, 375});
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, parentName);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(QRect, twips);
        open();
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QVERIFY(widget->inherits(qPrintable(kind)));
        QCOMPARE(widget->parentWidget()->objectName(), parentName);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isDefault());
            // The caption fits inside the button's frame in the window's font.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int needed = button->fontMetrics().horizontalAdvance(caption);
            QVERIFY2(needed <= inside.width(), qPrintable(u"%1 > %2"_s.arg(needed).arg(inside.width())));
        }
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(frame->title(), caption);
        QCOMPARE(widget->toolTip(), toolTip);
        QCOMPARE(AccessibleName(widget), caption.isEmpty() ? toolTip : caption);
        QVERIFY(widget->isEnabled());
        const auto px = [](int t, qreal dpi) { return qRound(t * dpi / 1440.0); };
        const qreal dx = widget->logicalDpiX(), dy = widget->logicalDpiY();
        QCOMPARE(widget->geometry(),
                 QRect(px(twips.x(), dx), px(twips.y(), dy), px(twips.width(), dx), px(twips.height(), dy)));
    }

    void captionsFitALargeDesktopFont() {
        const QFont desktop = QApplication::font();
        const auto restore = qScopeGuard([&desktop] { QApplication::setFont(desktop); });
        QApplication::setFont(QFont(desktop.family(), 14));
        open();
        const QList<QPushButton*> buttons = control("fraClient")->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 7);
        for (const QPushButton* button : buttons) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= inside.width(),
                     qPrintable(button->text()));
        }
    }

    void windowItself() {
        open();
        QCOMPARE(window->windowTitle(), u"Pagewick"_s);
        // The client area has the designed size, right under the menu bar; the window holds both.
        const QSize client(qRound(4680 * window->logicalDpiX() / 1440.0),
                           qRound(3975 * window->logicalDpiY() / 1440.0));
        auto* menuBar = control<QMenuBar>("mnuBar");
        QCOMPARE(control("fraClient")->geometry(), QRect(QPoint(0, menuBar->height()), client));
        QCOMPARE(menuBar->geometry(), QRect(0, 0, client.width(), menuBar->height()));
        QVERIFY(menuBar->height() > 0);
        QCOMPARE(window->size(), client + QSize(0, menuBar->height()));
        const QList<QSize> iconSizes = window->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));
        QVERIFY(control<QListWidget>("lstFiles")->selectionMode() == QAbstractItemView::SingleSelection);
        QVERIFY(!control<QFileDialog>("cdl")->isVisible());

        // Tab order, over the controls that take the focus.
        QStringList order;
        QWidget* w = control("cmdBrowse");
        do {
            if (w->window() == window.get() && (w->focusPolicy() & Qt::TabFocus))
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != control("cmdBrowse"));
        QCOMPARE(order, QStringList({u"cmdBrowse"_s, u"txtMap"_s, u"lstFiles"_s, u"cmdCreate"_s,
                                     u"cmdViewHTML"_s, u"cmdBrowseHTML"_s, u"cmdSaveFile"_s,
                                     u"cmdCreateXMLcode"_s, u"cmdViewXMLcode"_s}));
        QCOMPARE(window->focusWidget(), control("cmdBrowse"));

        // Sizable, and the controls stay where they are.
        QVERIFY(window->minimumSize() != window->maximumSize());
        const QRect list = control("lstFiles")->geometry();
        const QPoint clientTop = control("fraClient")->pos();
        window->resize(window->width() * 2, window->height() + 100);
        QCOMPARE(control("lstFiles")->geometry(), list);
        QCOMPARE(control("fraClient")->pos(), clientTop);
    }

    // Return and Enter press the focused button, as Space does; no button is the default, so a
    // key press anywhere else presses nothing.
    void keyboardPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("Browse, Return") << "cmdBrowse" << int(Qt::Key_Return);
        QTest::newRow("Create HTML, Return") << "cmdCreate" << int(Qt::Key_Return);
        QTest::newRow("Create HTML, keypad Enter") << "cmdCreate" << int(Qt::Key_Enter);
        QTest::newRow("Create HTML, Space") << "cmdCreate" << int(Qt::Key_Space);
        QTest::newRow("View HTML code, Enter") << "cmdViewHTML" << int(Qt::Key_Enter);
        QTest::newRow("Create XML code, Return") << "cmdCreateXMLcode" << int(Qt::Key_Return);
    }
    void keyboardPressesTheFocusedButton() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QVERIFY(SaveFolderSetting(newFolder({u"a.htm"_s})));
        open();
        click("cmdCreate");
        auto* pressed = window->findChild<QPushButton*>(button);
        QSignalSpy clicks(pressed, &QPushButton::clicked);
        pressed->setFocus();
        QTest::keyClick(pressed, Qt::Key(key));
        QCOMPARE(clicks.size(), 1);
        for (const QPushButton* any : window->findChildren<QPushButton*>())
            QVERIFY2(!any->isDefault(), qPrintable(any->objectName()));

        if (key == Qt::Key_Space)
            return;
        QSignalSpy browse(control<QPushButton>("cmdBrowse"), &QPushButton::clicked);
        QSignalSpy create(control<QPushButton>("cmdCreate"), &QPushButton::clicked);
        control("txtMap")->setFocus();
        QTest::keyClick(control("txtMap"), Qt::Key(key));
        QCOMPARE(browse.size() + create.size(), 0);
    }

    // A command that hides the focused button hands the focus back to it when it shows again, so
    // the next key press repeats the command rather than pressing Browse.
    void focusComesBackToTheButton() {
        QVERIFY(SaveFolderSetting(newFolder({u"a.htm"_s})));
        open();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* pressed = control<QPushButton>("cmdCreateXMLcode");
        pressed->setFocus();
        for (int press = 1; press <= 2; ++press) {
            dialogs.answers = {u"Feed"_s, u"http://example.org/"_s};
            QTest::keyClick(window->focusWidget(), Qt::Key_Space);
            QCOMPARE(window->focusWidget(), pressed);
        }
        QCOMPARE(listed(), QStringList{u"a.htm"_s}); // Browse was not pressed
        QCOMPARE(Visibility(window.get()), u"SHHHSS"_s);
        QCOMPARE(dialogs.seen.size(), 4);
    }

    void buttonStates_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("visible");
        QTest::newRow("start-up") << ""
                                  << "SHHHSH";
        QTest::newRow("create") << "create"
                                << "SSSSSH";
        QTest::newRow("folder change after create") << "create folder"
                                                    << "SHHSSH";
        QTest::newRow("xml after create") << "create xml"
                                          << "SHHHSS";
        QTest::newRow("create again after xml") << "create xml create"
                                                << "SSSSSH";
        QTest::newRow("xml before any create") << "xml"
                                               << "SHHHSS";
        QTest::newRow("folder change after xml") << "xml folder"
                                                 << "SHHHSS";
        QTest::newRow("create on an empty folder") << "empty create"
                                                   << "SSSSSH";
        QTest::newRow("browse keeps the buttons") << "create browse"
                                                  << "SSSSSH";
    }
    void buttonStates() {
        QFETCH(QString, steps);
        QFETCH(QString, visible);
        const QString first = newFolder({u"b.htm"_s, u"a.htm"_s});
        QVERIFY(SaveFolderSetting(first));
        open();
        QString expectedIndex;
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"create"_s) {
                click("cmdCreate");
                expectedIndex = BuildIndexText(control<QLineEdit>("txtMap")->text(), listed());
            } else if (step == u"xml"_s) {
                dialogs.answers = {u"Feed"_s, u"http://example.org/"_s};
                click("cmdCreateXMLcode");
                QTRY_COMPARE(dialogs.seen.size(), 2);
                QCOMPARE(dialogs.seen.at(0).buttons, u"HHHHHH"_s); // while the prompts are up
                dialogs.seen.clear();
            } else if (step == u"folder"_s) {
                window->setFolderText(newFolder({u"c.htm"_s}));
            } else if (step == u"empty"_s) {
                window->setFolderText(newFolder());
            } else if (step == u"browse"_s) {
                click("cmdBrowse");
            } else {
                QFAIL(qPrintable(u"no such step: "_s + step));
            }
            QVERIFY(!QApplication::overrideCursor()); // the busy pointer went away
            QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        }
        QCOMPARE(Visibility(window.get()), visible);
        QCOMPARE(window->indexText(), expectedIndex); // a folder change leaves the last index as it was
        QVERIFY(dialogs.seen.isEmpty());
    }

    void feedPrompts_data() {
        QTest::addColumn<QStringList>("answers"); // two builds, two prompts each
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::newRow("last answers offered and kept")
            << QStringList{u"News"_s, u"http://example.org"_s, kKeepDefault, kKeepDefault}
            << QStringList{u""_s, u""_s, u"News"_s, u"http://example.org"_s} << u"News"_s
            << "http://example.org";
        QTest::newRow("new answers replace")
            << QStringList{u"News"_s, u"http://a/"_s, u"Notes"_s, u"http://b/"_s}
            << QStringList{u""_s, u""_s, u"News"_s, u"http://a/"_s} << u"Notes"_s << "http://b/";
        QTest::newRow("cancel gives the empty answer")
            << QStringList{u"News"_s, u"http://a/"_s, kCancel, u"http://b/"_s}
            << QStringList{u""_s, u""_s, u"News"_s, u"http://a/"_s} << u""_s << "http://b/";
        QTest::newRow("cancel both, then offered empty")
            << QStringList{kCancel, kCancel, kKeepDefault, u"http://c/"_s}
            << QStringList{u""_s, u""_s, u""_s, u""_s} << u""_s << "http://c/";
    }
    void feedPrompts() {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, offered);
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        const QString folder = newFolder({u"x.htm"_s});
        QVERIFY(SaveFolderSetting(folder));
        open();
        dialogs.answers = answers;
        click("cmdCreateXMLcode");
        click("cmdCreateXMLcode");
        QCOMPARE(dialogs.seen.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const auto& prompt = dialogs.seen.at(i);
            QCOMPARE(prompt.title, u"Pagewick"_s);
            QCOMPARE(prompt.text,
                     i % 2 == 0 ? u"Give the title of the RSS feed"_s : u"Give the URL of the website"_s);
            QCOMPARE(prompt.offered, offered.at(i));
            QVERIFY2(!prompt.busyPointer, "the pointer is busy over the prompt while the user is asked");
            QVERIFY2(prompt.windowBusy, "the main window's pointer is not busy from the press on");
        }
        QCOMPARE(window->feedTitle(), feedTitle);
        QCOMPARE(window->siteUrl(), siteUrl);
        QCOMPARE(window->feedText(), BuildFeedText({.folderText = folder,
                                                    .pageNames = {u"x.htm"_s},
                                                    .feedTitle = feedTitle,
                                                    .siteUrl = siteUrl}));
    }

    void listOrder_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("letter case ignored") << QStringList{u"d.htm"_s, u"b.htm"_s, u"C.htm"_s}
                                             << QStringList{u"b.htm"_s, u"C.htm"_s, u"d.htm"_s};
        QTest::newRow("equal but for case: both, fixed order")
            << QStringList{u"a.htm"_s, u"B.html"_s, u"A.htm"_s}
            << QStringList{u"A.htm"_s, u"a.htm"_s, u"B.html"_s};
        QTest::newRow("only page files") << QStringList{u"notes.txt"_s, u"Index.HTML"_s, u"about.htm"_s}
                                         << QStringList{u"about.htm"_s, u"Index.HTML"_s};
    }
    void listOrder() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        const QString folder = newFolder(files);
        open();
        window->setFolderText(folder);
        QCOMPARE(listed(), expected);
        click("cmdCreate");
        QCOMPARE(window->indexText(), BuildIndexText(folder, expected));
    }

    void folderTextChanges() {
        const QString folder = newFolder({u"one.htm"_s});
        open();
        auto* text = control<QLineEdit>("txtMap");
        text->setFocus();
        // Typed character by character: stored after every keystroke, scanned at the end.
        for (QChar c : folder) {
            QTest::keyClick(text, c.toLatin1());
            QCOMPARE(LoadFolderSetting(), text->text());
        }
        QCOMPARE(text->text(), folder);
        QCOMPARE(listed(), QStringList{u"one.htm"_s});
        QTest::keyClick(text, Qt::Key_Backspace);
        QCOMPARE(LoadFolderSetting(), folder.chopped(1));

        // Written by code, also when it is the text already shown.
        window->setFolderText(folder);
        writePage(folder, u"two.htm"_s, u"Two"_s);
        window->setFolderText(folder);
        QCOMPARE(listed(), QStringList({u"one.htm"_s, u"two.htm"_s}));
        const QString other = newFolder({u"three.htm"_s});
        text->setText(other);
        QCOMPARE(listed(), QStringList{u"three.htm"_s});
        QCOMPARE(LoadFolderSetting(), other);
        QVERIFY(dialogs.seen.isEmpty());
    }

    void startUp_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("folder"); // "pages": a folder holding p.htm
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("stored folder") << true << u"pages"_s << QStringList{u"p.htm"_s};
        QTest::newRow("stored folder that is gone") << true << "/no/such/folder" << QStringList{};
        QTest::newRow("nothing stored") << false << "" << QStringList{};
        // Longer than a text box takes by default.
        QTest::newRow("stored folder of 40,000 characters")
            << true << u"/no/"_s + QString(40000, u'x') << QStringList{};
    }
    void startUp() {
        QFETCH(bool, stored);
        QFETCH(QString, folder);
        QFETCH(QStringList, expected);
        if (folder == u"pages"_s)
            folder = newFolder({u"p.htm"_s});
        if (stored)
            QVERIFY(SaveFolderSetting(folder));
        open();
        QCOMPARE(control<QLineEdit>("txtMap")->text(), folder);
        if (!expected.isEmpty())
            QCOMPARE(listed(), expected);
        QCOMPARE(Visibility(window.get()), u"SHHHSH"_s);
        QSettings store(u"Pagewick"_s, u"Pagewick"_s);
        QVERIFY(store.contains(u"Settings/Map"_s)); // stored again by the scan
        QCOMPARE(LoadFolderSetting(), folder);
        QVERIFY(dialogs.seen.isEmpty());
    }

    void unwritableStoreToldOncePerRun() {
        QFile blocker(scratch.filePath(u"plain-file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName() + u"/config"_s));
        dialogs.window = nullptr;
        window = std::make_unique<frmMain>(); // the start-up scan meets the store first
        QCOMPARE(dialogs.seen.size(), 1);
        QCOMPARE(dialogs.seen.at(0).title, u"Pagewick"_s);
        QVERIFY2(dialogs.seen.at(0).text.contains(u"cannot remember"_s) &&
                     dialogs.seen.at(0).text.contains(u"is not a folder"_s),
                 qPrintable(dialogs.seen.at(0).text));
        window->show();
        const QString folder = newFolder({u"kept.htm"_s});
        window->setFolderText(folder);
        QTest::keyClicks(control("txtMap"), u"/"_s);
        QTest::keyClick(control("txtMap"), Qt::Key_Backspace);
        QCOMPARE(listed(), QStringList{u"kept.htm"_s}); // the folder change goes on regardless
        QCOMPARE(dialogs.seen.size(), 1);
    }

    void pageInformation_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("showsPath");
        QTest::addColumn<int>("key"); // 0: double-click
        QTest::newRow("page with a title") << "Our <b>news</b> & views" << false << 0;
        QTest::newRow("page without a title") << "" << true << 0;
        QTest::newRow("Return on a page") << "Our news" << false << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on a page") << "" << true << int(Qt::Key_Enter);
    }
    void pageInformation() {
        QFETCH(QString, title);
        QFETCH(bool, showsPath);
        QFETCH(int, key);
        const QString folder = newFolder({u"a.htm"_s});
        writePage(folder, u"page.htm"_s, title);
        open();
        window->setFolderText(folder);
        auto* list = control<QListWidget>("lstFiles");
        if (key) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_End);
            QTest::keyClick(list, Qt::Key(key));
        } else {
            const QPoint at = list->visualItemRect(list->item(1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // a double-click starts with a click
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QTRY_COMPARE(dialogs.seen.size(), 1);
        QCOMPARE(dialogs.seen.at(0).title, u"Pagewick"_s);
        QVERIFY(dialogs.seen.at(0).plainText); // a title's markup is shown, not rendered
        const QStringList lines = dialogs.seen.at(0).text.split(u"\r\n"_s);
        QCOMPARE(lines.size(), 2);
        const QString path = folder + u"/page.htm"_s;
        QCOMPARE(lines.at(0), showsPath ? path : title);
        const QFileInfo info(path);
        QCOMPARE(lines.at(1), PageDateText(info.birthTime(), info.lastModified()));
        QVERIFY(!lines.at(1).contains(u"1970"_s));
    }

    void doubleClickWithoutCurrentEntry() {
        open();
        window->setFolderText(newFolder({u"a.htm"_s}));
        QCOMPARE(control<QListWidget>("lstFiles")->currentRow(), -1);
        window->lstFiles_DblClick();
        window->setFolderText(newFolder());
        window->lstFiles_DblClick();
        QTest::qWait(50);
        QVERIFY(dialogs.seen.isEmpty());
    }

    void browseHandsBackTheFolder() {
        const QString first = newFolder({u"a.htm"_s});
        QVERIFY(SaveFolderSetting(first));
        open();
        click("cmdBrowse");
        QCOMPARE(listed(), QStringList{}); // cleared, and stays so if the picker is cancelled
        click("cmdBrowse");
        const auto pickers = openWindows<frmBrowse>();
        QCOMPARE(pickers.size(), 1);
        QCOMPARE(pickers.first()->windowIcon().cacheKey(), window->windowIcon().cacheKey());
        const QString chosen = newFolder({u"z.htm"_s, u"y.htm"_s});
        Q_EMIT pickers.first()->folderChosen(chosen);
        QCOMPARE(control<QLineEdit>("txtMap")->text(), chosen);
        QCOMPARE(listed(), QStringList({u"y.htm"_s, u"z.htm"_s}));
        QCOMPARE(LoadFolderSetting(), chosen);
    }

    void viewsAndShutDown() {
        QVERIFY(SaveFolderSetting(newFolder({u"a.htm"_s})));
        open();
        click("cmdCreate");
        click("cmdViewHTML");
        click("cmdBrowseHTML");
        click("cmdViewHTML"); // the one scratchpad again
        click("cmdBrowse");
        const QList<QWidget*> others = {openWindows<frmTextpad>().value(0),
                                        openWindows<frmBrowser>().value(0),
                                        openWindows<frmBrowse>().value(0)};
        QCOMPARE(openWindows<frmTextpad>().size(), 1);
        for (QWidget* other : others) {
            QVERIFY(other);
            QCOMPARE(other->windowIcon().cacheKey(), window->windowIcon().cacheKey());
        }
        const QList<QPointer<QWidget>> watched(others.begin(), others.end());
        QVERIFY(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const auto& other : watched)
            QVERIFY(!other || !other->isVisible());
        for (const QWindow* w : QGuiApplication::topLevelWindows()) // so the program ends
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
