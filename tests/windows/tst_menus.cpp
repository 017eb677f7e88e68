#include "engine/check/sitecheck.h"
#include "engine/files/filename.h"
#include "engine/output/atom.h"
#include "engine/output/feed.h"
#include "engine/output/index.h"
#include "engine/output/pagetemplate.h"
#include "engine/output/sitemap.h"
#include "feedsettings.h"
#include "modaldriver.h"
#include "settings/feedsetting.h"
#include "settings/foldersetting.h"
#include "settings/pagesetting.h"
#include "ui/about.h"
#include "ui/foldertoopen.h"
#include "ui/frmBrowse.h"
#include "ui/frmFeedOptions.h"
#include "ui/frmMain.h"
#include "ui/frmPageOptions.h"
#include "ui/frmTextpad.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <memory>
#include <optional>

#include <sys/stat.h>

using namespace pagewick;
using namespace Qt::Literals::StringLiterals;

// The menu bar's commands and what they open: the feed options, the About box, and the folders
// that reach the window from outside.
class MenusTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString site; // three pages, one of them a draft, and a text file
    std::unique_ptr<frmMain> window;
    int cases = 0;

    template <typename T> static T* field(QWidget* dialog, const char* name) {
        auto* found = dialog->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }

    static void writePage(const QString& path, const QByteArray& head) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head>" + head + "</head><body></body></html>");
    }

    frmMain* open(const QString& startFolder = QString()) {
        window = std::make_unique<frmMain>(nullptr, startFolder);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("main window not exposed");
        // With sub-folders the start-up listing runs in the background, under the busy pointer.
        if (!QTest::qWaitFor([] { return !QApplication::overrideCursor(); }, 30000))
            qFatal("the folder was never listed");
        for (auto* dialog : window->findChildren<QFileDialog*>())
            dialog->setOption(QFileDialog::DontUseNativeDialog);
        return window.get();
    }

    QAction* entry(const char* name) const {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        if (!action)
            qFatal("no menu entry %s", name);
        return action;
    }

    QStringList listed() const {
        QStringList names;
        auto* list = window->findChild<QListWidget*>(u"lstFiles"_s);
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }

    QString folderText() const { return window->findChild<QLineEdit*>(u"txtMap"_s)->text(); }

    QStringList recentEntries() const {
        QStringList folders;
        for (QAction* action : window->findChild<QMenu*>(u"mnuOpenRecent"_s)->actions()) {
            if (action->data().isValid())
                folders << action->data().toString();
        }
        return folders;
    }

    static void checkDriver(const ModalDriver& driver) {
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
    }

    // A prompt of the feed commands: checks the question, and the answer offered when one is
    // given, then answers (a null answer cancels).
    static void answerPrompt(ModalDriver& driver, const QString& question, const QString& answer,
                             const std::optional<QString>& offered = std::nullopt) {
        driver.expect<QInputDialog>([question, answer, offered](QInputDialog* box) {
            QCOMPARE(box->windowTitle(), u"Pagewick"_s);
            QCOMPARE(box->labelText(), question);
            if (offered)
                QCOMPARE(box->textValue(), *offered);
            if (answer.isNull()) {
                box->reject();
                return;
            }
            box->setTextValue(answer);
            box->accept();
        });
    }

    // The save dialog: opens in the folder with the name offered; saves under it (or cancels).
    static void answerSave(ModalDriver& driver, const QString& folder, const QString& offered,
                           bool save = true) {
        driver.expect<QFileDialog>([=](QFileDialog* dialog) {
            QCOMPARE(dialog->objectName(), u"cdlXml"_s);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->directory().absolutePath(), folder);
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QCOMPARE(name->text(), offered);
            if (!save) {
                dialog->reject();
                return;
            }
            QTest::keyClick(name, Qt::Key_Return);
        });
    }

    static void expectMessage(ModalDriver& driver, const QString& part) {
        driver.expect<QMessageBox>([part](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), u"Pagewick"_s);
            QCOMPARE(box->textFormat(), Qt::PlainText); // paths and addresses as they stand
            QVERIFY2(box->text().contains(part), qPrintable(box->text()));
            box->accept();
        });
    }

    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        site = QDir(tmp.path()).canonicalPath() + u"/site"_s;
        QVERIFY(QDir().mkpath(site));
        writePage(site + u"/b.htm"_s, "<title>Beta</title><meta name=\"date\" content=\"2024-05-03\">");
        writePage(site + u"/a.htm"_s, "<title>Alpha</title><meta name=\"date\" content=\"2023-01-02\">");
        writePage(site + u"/draft-c.htm"_s, "<title>Draft</title>");
        QFile notes(site + u"/notes.txt"_s);
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }

    void init() {
        // A settings store of its own for every case: nothing remembered.
        const QString config = tmp.filePath(u"config%1"_s.arg(++cases));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    }

    void cleanup() {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QString& name : QDir(site).entryList({u"*.xml"_s, u"*.atom"_s}, QDir::Files))
            QFile::remove(site + u'/' + name);
    }
    void cleanupTestCase() {
        // QTemporaryDir cannot remove a name that is not UTF-8.
        ::rmdir(QFile::encodeName(QDir(tmp.path()).canonicalPath()) + "/caf\xe9");
    }

    // The dialog opens on all options off: the plain feed.
    void feedOptionsDefaults() {
        frmFeedOptions dialog;
        QCOMPARE(dialog.windowTitle(), u"Feed Options"_s);
        QCOMPARE(DescribeFeedSettings(dialog.settings()), DescribeFeedSettings(FeedSettings()));
        QVERIFY(!field<QCheckBox>(&dialog, "chkGuid")->isChecked());
        QCOMPARE(field<QSpinBox>(&dialog, "spnLimit")->text(), u"All pages"_s);
        QCOMPARE(field<QComboBox>(&dialog, "cboOrder")->currentText(), u"By name"_s);
    }

    // Every control, set by the user, reaches the settings; OK keeps them, Restore Defaults clears them.
    void feedOptionsEdited_data() {
        QTest::addColumn<QString>("feedUrl");
        QTest::addColumn<QString>("atomUrl");
        QTest::addColumn<QString>("excludes"); // as typed, one pattern a line
        QTest::addColumn<QString>("problem");  // what OK says instead of closing; empty: it closes
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("no addresses") << QString() << QString() << QString() << QString() << QStringList{};
        QTest::newRow("both addresses, spaces trimmed")
            << u" https://example.org/feed.xml "_s << u"http://example.org/atom.xml"_s << QString()
            << QString() << QStringList{};
        QTest::newRow("patterns, blank lines and spaces dropped")
            << QString() << QString() << u"draft-*\n\n  old-?.htm  \n[!a]*\n"_s << QString()
            << QStringList{u"draft-*"_s, u"old-?.htm"_s, u"[!a]*"_s};
        QTest::newRow("RSS address not absolute")
            << u"example.org/feed.xml"_s << QString() << QString()
            << u"The address of the RSS feed must be an absolute http:// or https:// address"_s
            << QStringList{};
        QTest::newRow("Atom address not http") << QString() << u"ftp://example.org/atom.xml"_s << QString()
                                               << u"The address of the Atom feed must be"_s << QStringList{};
        QTest::newRow("unclosed set") << QString() << QString() << u"ok-*\n[abc"_s
                                      << u"\"[abc\" cannot be read as a pattern"_s << QStringList{};
    }
    void feedOptionsEdited() {
        QFETCH(QString, feedUrl);
        QFETCH(QString, atomUrl);
        QFETCH(QString, excludes);
        QFETCH(QString, problem);
        QFETCH(QStringList, kept);
        frmFeedOptions dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(field<QCheckBox>(&dialog, "chkGuid"), Qt::LeftButton);
        QTest::keyClicks(field<QLineEdit>(&dialog, "txtFeedUrl"), feedUrl);
        QTest::mouseClick(field<QCheckBox>(&dialog, "chkDates"), Qt::LeftButton);
        QTest::mouseClick(field<QCheckBox>(&dialog, "chkMetaDescription"), Qt::LeftButton);
        QTest::keyClicks(field<QLineEdit>(&dialog, "txtAtomFeedUrl"), atomUrl);
        auto* order = field<QComboBox>(&dialog, "cboOrder");
        order->setFocus();
        QTest::keyClick(order, Qt::Key_End); // the last choice: by date
        auto* limit = field<QSpinBox>(&dialog, "spnLimit");
        limit->setFocus();
        QTest::keyClick(limit, Qt::Key_Up);
        QTest::keyClick(limit, Qt::Key_Up);
        auto* patterns = field<QPlainTextEdit>(&dialog, "txtExcludes");
        const QStringList lines = excludes.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(patterns, Qt::Key_Return);
            QTest::keyClicks(patterns, lines.at(i));
        }

        ModalDriver driver;
        if (!problem.isEmpty()) {
            driver.expect<QMessageBox>([&problem](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), u"Pagewick"_s);
                QVERIFY2(box->text().startsWith(problem), qPrintable(box->text()));
                box->accept();
            });
        }
        field<QDialogButtonBox>(&dialog, "cmdButtons")->button(QDialogButtonBox::Ok)->click();
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(dialog.result(), problem.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(dialog.isVisible(), !problem.isEmpty());
        if (!problem.isEmpty())
            return;
        FeedSettings expected;
        expected.options.guid = true;
        expected.options.rssUrl = feedUrl.trimmed();
        expected.options.dates = true;
        expected.options.description = FeedDescription::Meta;
        expected.options.atomUrl = atomUrl;
        expected.options.selection = {PageOrder::Date, kept, 2};
        QCOMPARE(DescribeFeedSettings(dialog.settings()), DescribeFeedSettings(expected));

        // Shown again as they were kept, and cleared by Restore Defaults.
        frmFeedOptions again;
        again.setSettings(expected);
        QCOMPARE(DescribeFeedSettings(again.settings()), DescribeFeedSettings(expected));
        QCOMPARE(field<QComboBox>(&again, "cboOrder")->currentText(), u"By date, newest first"_s);
        QCOMPARE(field<QSpinBox>(&again, "spnLimit")->text(), u"2 pages"_s);
        field<QDialogButtonBox>(&again, "cmdButtons")->button(QDialogButtonBox::RestoreDefaults)->click();
        QCOMPARE(DescribeFeedSettings(again.settings()), DescribeFeedSettings(FeedSettings()));
    }

    void feedOptionsCancelled() {
        FeedSettings before;
        before.options.selection.order = PageOrder::Natural;
        frmFeedOptions dialog;
        dialog.setSettings(before);
        dialog.show();
        QTest::mouseClick(field<QCheckBox>(&dialog, "chkGuid"), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }

    // The page options: off by default; OK keeps what is set when the template makes a page, and
    // Restore Defaults clears it.
    void pageOptionsEdited_data() {
        QTest::addColumn<QByteArray>("templateBytes"); // null: no template file is given
        QTest::addColumn<QString>("problem");          // what OK says instead of closing; empty: it closes
        QTest::newRow("no template") << QByteArray() << QString();
        QTest::newRow("a template") << QByteArray("<h1>{{title}}</h1>{{index}}") << QString();
        QTest::newRow("a template without {{index}}")
            << QByteArray("<h1>{{title}}</h1>") << u"Pagewick cannot use this template: the template"_s;
        QTest::newRow("an unknown placeholder")
            << QByteArray("{{index}}\n{{tilte}}") << u"line 2: unknown placeholder {{tilte}}"_s;
    }
    void pageOptionsEdited() {
        QFETCH(QByteArray, templateBytes);
        QFETCH(QString, problem);
        const QString templateFile = tmp.filePath(u"template%1.html"_s.arg(cases));
        if (!templateBytes.isNull()) {
            QFile file(templateFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(templateBytes);
        }
        frmPageOptions dialog;
        QCOMPARE(dialog.windowTitle(), u"Page Options"_s);
        QCOMPARE(DescribePageSettings(dialog.settings()), DescribePageSettings(PageSettings()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (!templateBytes.isNull())
            QTest::keyClicks(field<QLineEdit>(&dialog, "txtTemplate"), templateFile);
        QTest::keyClicks(field<QLineEdit>(&dialog, "txtStylesheet"), u" style.css "_s);
        QTest::keyClick(field<QCheckBox>(&dialog, "chkDescription"), Qt::Key_Space);
        QTest::keyClick(field<QCheckBox>(&dialog, "chkDate"), Qt::Key_Space);

        ModalDriver driver;
        if (!problem.isEmpty())
            expectMessage(driver, problem);
        field<QDialogButtonBox>(&dialog, "cmdButtons")->button(QDialogButtonBox::Ok)->click();
        checkDriver(driver);
        QCOMPARE(dialog.isVisible(), !problem.isEmpty());
        if (!problem.isEmpty())
            return;
        const PageSettings expected{templateBytes.isNull() ? QString() : templateFile,
                                    u"style.css"_s,
                                    {IndexDetail::Date, IndexDetail::Description}};
        QCOMPARE(DescribePageSettings(dialog.settings()), DescribePageSettings(expected));

        // Shown again as kept, the order of the details too; cleared by Restore Defaults.
        PageSettings reordered = expected;
        reordered.details = {IndexDetail::Description, IndexDetail::Size, IndexDetail::Date};
        frmPageOptions again;
        again.setSettings(reordered);
        QCOMPARE(DescribePageSettings(again.settings()), DescribePageSettings(reordered));
        field<QDialogButtonBox>(&again, "cmdButtons")->button(QDialogButtonBox::RestoreDefaults)->click();
        QCOMPARE(DescribePageSettings(again.settings()), DescribePageSettings(PageSettings()));
    }

    // The options chosen in the dialog are kept for the next run; Create HTML shows the details,
    // and Save HTML file writes the page through the template.
    void pageOptionsFromTheMenu() {
        QVERIFY(SaveFolderSetting(site));
        const QString templateFile = tmp.filePath(u"page-template.html"_s);
        {
            QFile file(templateFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "<html><head><meta charset=iso-8859-1><title>{{title}}</title></head>"
                "<body title=\"{{title}}\">{{index}}<p>{{count}} pages, {{updated}} \xa9</p></body></html>");
        }
        open();
        {
            ModalDriver driver;
            driver.expect<frmPageOptions>([&templateFile](frmPageOptions* dialog) {
                QCOMPARE(DescribePageSettings(dialog->settings()), DescribePageSettings(PageSettings()));
                QTest::keyClicks(field<QLineEdit>(dialog, "txtTemplate"), templateFile);
                QTest::keyClick(field<QCheckBox>(dialog, "chkDate"), Qt::Key_Space);
                field<QDialogButtonBox>(dialog, "cmdButtons")->button(QDialogButtonBox::Ok)->click();
            });
            entry("mnuPageOptions")->trigger();
            checkDriver(driver);
        }
        const PageSettings chosen{templateFile, QString(), {IndexDetail::Date}};
        QCOMPARE(DescribePageSettings(LoadPageSettings()), DescribePageSettings(chosen));

        open();
        QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreate"_s), Qt::LeftButton);
        const QString index = window->indexText();
        QCOMPARE(index, BuildIndexText({.folderText = site,
                                        .pageNames = listed(),
                                        .details = IndexDetails{{IndexDetail::Date}, QLocale()}}));
        QVERIFY(index.contains(u"<a href=\"b.htm\">Beta</a> <time datetime=\"2024-05-03T00:00:00Z\">"_s));

        const QString saved = site + u"/saved.htm"_s;
        const auto removeSaved = qScopeGuard([&saved] { QFile::remove(saved); });
        {
            // The draft declares no date: it is dated by its file, older than the others.
            QFile draft(site + u"/draft-c.htm"_s);
            QVERIFY(draft.open(QIODevice::ReadWrite));
            QVERIFY(draft.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0), QTimeZone::utc()),
                                      QFileDevice::FileModificationTime));
        }
        {
            ModalDriver driver;
            answerPrompt(driver, u"Give the title of the file"_s, u"Me & \"you\""_s);
            driver.expect<QFileDialog>([&saved](QFileDialog* dialog) {
                QCOMPARE(dialog->objectName(), u"cdl"_s);
                auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
                name->setText(saved);
                QTest::keyClick(name, Qt::Key_Return);
            });
            QTest::mouseClick(window->findChild<QPushButton*>(u"cmdSaveFile"_s), Qt::LeftButton);
            checkDriver(driver);
        }
        const QString newest = u"2024-05-03T00:00:00Z"_s; // the date b.htm declares
        QCOMPARE(QString::fromUtf8(readAll(saved)),
                 u"<html><head><meta charset=utf-8><title>Me &amp; \"you\"</title></head>"
                 u"<body title=\"Me &amp; &quot;you&quot;\">"_s +
                     index + u"<p>3 pages, "_s + newest + u" \u00a9</p></body></html>"_s);
        QFile::remove(saved);

        // A template gone since stops the save before anything is asked, with a message.
        QVERIFY(QFile::remove(templateFile));
        ModalDriver gone;
        expectMessage(gone, u"Pagewick cannot save the page with its template"_s);
        QTest::mouseClick(window->findChild<QPushButton*>(u"cmdSaveFile"_s), Qt::LeftButton);
        checkDriver(gone);
        QVERIFY(!QFile::exists(saved));
    }

    void aboutBox() {
        const QString text = AboutText();
        for (const QString& part : {u"Pagewick " PAGEWICK_VERSION ""_s, u"Licence"_s,
                                    u"Qt "_s + QString::fromLatin1(qVersion()), u"uchardet"_s})
            QVERIFY2(text.contains(part), qPrintable(part));
        QWidget owner;
        ModalDriver driver;
        driver.expect<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), u"About Pagewick"_s);
            QCOMPARE(box->text(), AboutText());
            QVERIFY(!box->iconPixmap().isNull());
            box->accept();
        });
        ShowAboutBox(&owner, QIcon(QPixmap(16, 16)));
        checkDriver(driver);
    }
    void aboutFromTheMenu() {
        open();
        ModalDriver fromMenu;
        fromMenu.expect<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), u"About Pagewick"_s);
            box->accept();
        });
        entry("mnuAbout")->trigger();
        checkDriver(fromMenu);
    }

    // The menus, their entries and keys; the client area below is checked with the main window.
    void menuEntries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("standard"); // the platform's keys for this command are taken too
        const auto row = [](const char* name, const char* menu, const char* text, QKeySequence keys = {},
                            QKeySequence::StandardKey standard = QKeySequence::UnknownKey) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(menu)
                                << QString::fromUtf8(text) << keys << int(standard);
        };
        row("mnuOpenFolder", "mnuFile", "&Open Folder...", QKeySequence(Qt::CTRL | Qt::Key_O),
            QKeySequence::Open);
        row("mnuOpenRecent", "mnuFile", "Open &Recent");
        row("mnuIncludeSubFolders", "mnuFile", "Include &Sub-folders");
        row("mnuQuit", "mnuFile", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence::Quit);
        row("mnuFeedOptions", "mnuFeed", "Feed &Options...");
        row("mnuPageOptions", "mnuFeed", "&Page Options...");
        row("mnuSaveSitemap", "mnuFeed", "Save &Sitemap...");
        row("mnuSaveAtom", "mnuFeed", "Save &Atom Feed...");
        row("mnuCheckSite", "mnuFeed", "&Check Site...");
        row("mnuAbout", "mnuHelp", "&About Pagewick");
    }
    void menuEntries() {
        QFETCH(QString, name);
        QFETCH(QString, menu);
        QFETCH(QString, text);
        QFETCH(QKeySequence, keys);
        QFETCH(int, standard);
        open();
        QStringList menus;
        for (QAction* action : window->findChild<QMenuBar*>(u"mnuBar"_s)->actions())
            menus << action->text();
        QCOMPARE(menus, (QStringList{u"&File"_s, u"F&eed"_s, u"&Help"_s}));
        auto* submenu = window->findChild<QMenu*>(name);
        QAction* action = submenu ? submenu->menuAction() : entry(qPrintable(name));
        QVERIFY(window->findChild<QMenu*>(menu)->actions().contains(action));
        QCOMPARE(action->text(), text);
        QCOMPARE(action->shortcut(), keys);
        for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::StandardKey(standard)))
            QVERIFY2(action->shortcuts().contains(key), qPrintable(key.toString()));
        QCOMPARE(action->shortcuts().isEmpty(), keys.isEmpty());
        QCOMPARE(action->isCheckable(), name == u"mnuIncludeSubFolders"_s);
        QVERIFY(!action->isChecked()); // sub-folders are off until turned on
    }

    void keys() {
        QVERIFY(SaveFolderSetting(site));
        open();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier); // the picker, as Browse opens it
        QPointer<frmBrowse> picker;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<frmBrowse*>(widget); found && found->isVisible())
                picker = found;
        QVERIFY(picker);
        QCOMPARE(picker->currentFolder(), site);
        picker->close();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
    }

    // The options chosen in the dialog are kept for the next run and shape Create XML code.
    void feedOptionsFromTheMenu() {
        QVERIFY(SaveFolderSetting(site));
        open();
        FeedSettings chosen;
        chosen.options.guid = true;
        chosen.options.rssUrl = u"https://example.org/feed.xml"_s;
        chosen.options.selection.excludes = {u"draft-*"_s};
        // One driver at a time: a driver still running takes any dialog it did not expect.
        {
            ModalDriver driver;
            driver.expect<frmFeedOptions>([](frmFeedOptions* dialog) {
                QCOMPARE(DescribeFeedSettings(dialog->settings()), DescribeFeedSettings(FeedSettings()));
                QTest::mouseClick(field<QCheckBox>(dialog, "chkGuid"), Qt::LeftButton);
                QTest::keyClicks(field<QLineEdit>(dialog, "txtFeedUrl"), u"https://example.org/feed.xml"_s);
                QTest::keyClicks(field<QPlainTextEdit>(dialog, "txtExcludes"), u"draft-*"_s);
                field<QDialogButtonBox>(dialog, "cmdButtons")->button(QDialogButtonBox::Ok)->click();
            });
            entry("mnuFeedOptions")->trigger();
            checkDriver(driver);
        }
        QCOMPARE(DescribeFeedSettings(LoadFeedSettings()), DescribeFeedSettings(chosen));

        {
            ModalDriver prompts;
            answerPrompt(prompts, u"Give the title of the RSS feed"_s, u"News"_s);
            answerPrompt(prompts, u"Give the URL of the website"_s, u"https://example.org/"_s);
            QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreateXMLcode"_s), Qt::LeftButton);
            checkDriver(prompts);
        }
        QCOMPARE(window->feedText(), BuildFeedText({.folderText = site,
                                                    .pageNames = listed(),
                                                    .feedTitle = u"News"_s,
                                                    .siteUrl = u"https://example.org/"_s,
                                                    .options = chosen.options}));
        QVERIFY(window->feedText().contains(u"<guid isPermaLink=\"true\">"_s));
        QVERIFY(!window->feedText().contains(u"Draft"_s));

        // The next run opens the dialog on them; Cancel changes nothing.
        open();
        ModalDriver again;
        again.expect<frmFeedOptions>([&chosen](frmFeedOptions* dialog) {
            QCOMPARE(DescribeFeedSettings(dialog->settings()), DescribeFeedSettings(chosen));
            QTest::mouseClick(field<QCheckBox>(dialog, "chkDates"), Qt::LeftButton);
            dialog->reject();
        });
        entry("mnuFeedOptions")->trigger();
        checkDriver(again);
        QCOMPARE(DescribeFeedSettings(LoadFeedSettings()), DescribeFeedSettings(chosen));
    }

    // Once an option publishes an address, Create XML code wants web addresses, and says so.
    void createXmlCodeNeedsWebAddresses() {
        FeedSettings settings;
        settings.options.guid = true;
        QVERIFY(SaveFeedSettings(settings));
        QVERIFY(SaveFolderSetting(site));
        open();
        {
            ModalDriver good;
            answerPrompt(good, u"Give the title of the RSS feed"_s, u"News"_s);
            answerPrompt(good, u"Give the URL of the website"_s, u"http://example.org"_s);
            QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreateXMLcode"_s), Qt::LeftButton);
            checkDriver(good);
        }
        const QString built = window->feedText();
        QCOMPARE(built, BuildFeedText({.folderText = site,
                                       .pageNames = listed(),
                                       .feedTitle = u"News"_s,
                                       .siteUrl = u"http://example.org"_s,
                                       .options = settings.options}));

        ModalDriver refused;
        answerPrompt(refused, u"Give the title of the RSS feed"_s, u"News"_s);
        answerPrompt(refused, u"Give the URL of the website"_s, u"example.org"_s);
        expectMessage(refused,
                      u"Pagewick cannot build the RSS code: the site address \"example.org\" is not an "
                      u"absolute http or https address."_s);
        QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreateXMLcode"_s), Qt::LeftButton);
        checkDriver(refused);
        QCOMPARE(window->feedText(), built); // the last code is kept
        QVERIFY(window->findChild<QPushButton*>(u"cmdViewXMLcode"_s)->isVisible());
    }

    // The RSS code, the sitemap and the Atom feed all ask for the website's address, and offer the
    // one last given to any of them. A cancelled prompt keeps it, but for the RSS code's, which goes
    // on with the empty address.
    void siteAddressOffered_data() {
        QTest::addColumn<QString>("first");  // answered with the address
        QTest::addColumn<QString>("second"); // offers it; its prompt is cancelled
        QTest::addColumn<QString>("kept");   // the address afterwards
        const QString web = u"https://example.org/"_s;
        QTest::newRow("RSS code, then sitemap") << u"cmdCreateXMLcode"_s << u"mnuSaveSitemap"_s << web;
        QTest::newRow("sitemap, then Atom feed") << u"mnuSaveSitemap"_s << u"mnuSaveAtom"_s << web;
        QTest::newRow("Atom feed, then sitemap") << u"mnuSaveAtom"_s << u"mnuSaveSitemap"_s << web;
        QTest::newRow("sitemap, then RSS code") << u"mnuSaveSitemap"_s << u"cmdCreateXMLcode"_s << u""_s;
    }
    void siteAddressOffered() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, kept);
        FeedSettings settings;
        settings.options.atomUrl = u"https://example.org/atom.xml"_s;
        QVERIFY(SaveFeedSettings(settings));
        QVERIFY(SaveFolderSetting(site));
        open();
        // Runs a command through its prompts; the address prompt must offer `offered`. A null
        // answer cancels it; a file command then has its save dialog cancelled.
        const auto run = [this](const QString& command, const QString& answer, const QString& offered) {
            const bool rss = command == u"cmdCreateXMLcode"_s;
            if (!rss && command != u"mnuSaveSitemap"_s && command != u"mnuSaveAtom"_s)
                QFAIL(qPrintable(u"no command "_s + command));
            ModalDriver driver;
            if (command != u"mnuSaveSitemap"_s)
                answerPrompt(driver,
                             rss ? u"Give the title of the RSS feed"_s : u"Give the title of the Atom feed"_s,
                             u"News"_s);
            answerPrompt(driver, u"Give the URL of the website"_s, answer, offered);
            if (!rss && !answer.isNull())
                driver.expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
            if (rss)
                QTest::mouseClick(window->findChild<QPushButton*>(command), Qt::LeftButton);
            else
                entry(qPrintable(command))->trigger();
            checkDriver(driver);
        };
        const QString web = u"https://example.org/"_s;
        run(first, web, u""_s);
        run(second, QString(), web);
        QCOMPARE(window->siteUrl(), kept);
        run(u"mnuSaveSitemap"_s, QString(), kept);
    }

    // Save Sitemap... and Save Atom Feed...: the prompts, the checks of the addresses, the save.
    void saveFeedFiles_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("atomUrl");     // the Atom feed's address in the options
        QTest::addColumn<QStringList>("answers"); // to the prompts in turn; a null answer cancels
        QTest::addColumn<QString>("message");     // shown instead of saving; empty: none
        QTest::addColumn<QString>("file");        // offered and saved; empty: nothing is saved
        const QString web = u"https://example.org/"_s;
        QTest::newRow("sitemap") << u"mnuSaveSitemap"_s << QString() << QStringList{web} << QString()
                                 << u"sitemap.xml"_s;
        QTest::newRow("sitemap, prompt cancelled")
            << u"mnuSaveSitemap"_s << QString() << QStringList{QString()} << QString() << QString();
        QTest::newRow("sitemap, not a web address")
            << u"mnuSaveSitemap"_s << QString() << QStringList{u"example.org"_s}
            << u"Pagewick cannot build the sitemap: the site address \"example.org\" is not an absolute http "
               u"or "
               u"https address."_s
            << QString();
        QTest::newRow("sitemap, site address with a fragment")
            << u"mnuSaveSitemap"_s << QString() << QStringList{u"https://example.org/#top"_s}
            << u"Pagewick cannot build the sitemap: the site address \"https://example.org/#top\" has a "
               u"fragment"_s
            << QString();
        // Search engines take no sitemap address of 2,048 characters or more.
        QTest::newRow("sitemap, an address too long for a sitemap")
            << u"mnuSaveSitemap"_s << QString() << QStringList{web + QString(2030, u'x') + u'/'}
            << u"Pagewick cannot build the sitemap: the address of a.htm would be 2056 characters long"_s
            << QString();
        QTest::newRow("atom, site address with a query")
            << u"mnuSaveAtom"_s << u"https://example.org/atom.xml"_s
            << QStringList{u"News"_s, u"https://example.org/?page=1"_s}
            << u"Pagewick cannot build the Atom feed: the site address \"https://example.org/?page=1\" has a "
               u"query"_s
            << QString();
        QTest::newRow("atom") << u"mnuSaveAtom"_s << u"https://example.org/feeds/news.atom"_s
                              << QStringList{u"News"_s, web} << QString() << u"news.atom"_s;
        QTest::newRow("atom at a folder address")
            << u"mnuSaveAtom"_s << u"https://example.org/feeds/"_s << QStringList{u"News"_s, web} << QString()
            << u"atom.xml"_s;
        QTest::newRow("atom without its address")
            << u"mnuSaveAtom"_s << QString() << QStringList{} << u"under Feed Options"_s << QString();
        QTest::newRow("atom, title cancelled") << u"mnuSaveAtom"_s << u"https://example.org/atom.xml"_s
                                               << QStringList{QString()} << QString() << QString();
        QTest::newRow("atom, site not a web address")
            << u"mnuSaveAtom"_s << u"https://example.org/atom.xml"_s << QStringList{u"News"_s, u"/srv/www"_s}
            << u"Pagewick cannot build the Atom feed: the site address \"/srv/www\""_s << QString();
    }
    void saveFeedFiles() {
        QFETCH(QString, command);
        QFETCH(QString, atomUrl);
        QFETCH(QStringList, answers);
        QFETCH(QString, message);
        QFETCH(QString, file);
        FeedSettings settings;
        settings.options.dates = true;
        settings.options.selection.excludes = {u"draft-*"_s};
        settings.options.atomUrl = atomUrl;
        QVERIFY(SaveFeedSettings(settings));
        QVERIFY(SaveFolderSetting(site));
        open();
        const bool sitemap = command == u"mnuSaveSitemap"_s;
        const QStringList questions =
            sitemap ? QStringList{u"Give the URL of the website"_s}
                    : QStringList{u"Give the title of the Atom feed"_s, u"Give the URL of the website"_s};
        ModalDriver driver;
        for (qsizetype i = 0; i < answers.size(); ++i)
            answerPrompt(driver, questions.at(i), answers.at(i));
        if (!message.isEmpty())
            expectMessage(driver, message);
        if (!file.isEmpty())
            answerSave(driver, site, file);
        entry(qPrintable(command))->trigger();
        checkDriver(driver);

        const QStringList written = QDir(site).entryList({u"*.xml"_s, u"*.atom"_s}, QDir::Files);
        if (file.isEmpty()) {
            QCOMPARE(written, QStringList());
            return;
        }
        QCOMPARE(written, QStringList{file});
        const QString expected =
            sitemap ? BuildSitemapText({.folderText = site,
                                        .pageNames = listed(),
                                        .siteUrl = answers.at(0),
                                        .options = {{PageOrder::Name, {u"draft-*"_s}, 0}, true}})
                    : BuildAtomText({.folderText = site,
                                     .pageNames = listed(),
                                     .feedTitle = answers.at(0),
                                     .siteUrl = answers.at(1),
                                     .options = settings.options});
        QCOMPARE(QString::fromUtf8(readAll(site + u'/' + file)), expected); // as pagewick-cli -o writes it
        QVERIFY(!expected.contains(u"draft-c"_s));
    }

    void openRecent() {
        open();
        QCOMPARE(recentEntries(), QStringList());
        QVERIFY(!entry("mnuClearRecent")->isEnabled());
        const QString other = tmp.filePath(u"other"_s);
        QVERIFY(QDir().mkpath(other));
        window->openFolder(site);
        window->openFolder(other + u"/"_s);
        QCOMPARE(recentEntries(), (QStringList{other, site}));
        // A folder typed into the box is not remembered until something is built from it.
        const QString typed = tmp.filePath(u"typed"_s);
        QVERIFY(QDir().mkpath(typed));
        window->setFolderText(typed);
        QCOMPARE(recentEntries(), (QStringList{other, site}));
        QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreate"_s), Qt::LeftButton);
        QCOMPARE(recentEntries(), (QStringList{typed, other, site}));

        // Remembered between runs; an entry opens its folder and comes first.
        open();
        QCOMPARE(recentEntries(), (QStringList{typed, other, site}));
        QCOMPARE(folderText(), typed);
        window->findChild<QMenu*>(u"mnuOpenRecent"_s)->actions().at(2)->trigger();
        QCOMPARE(folderText(), site);
        QCOMPARE(listed(), (QStringList{u"a.htm"_s, u"b.htm"_s, u"draft-c.htm"_s}));
        QCOMPARE(recentEntries(), (QStringList{site, typed, other}));

        // A folder that is gone is taken off, with a message.
        QVERIFY(QDir(other).removeRecursively());
        ModalDriver driver;
        expectMessage(driver, other);
        window->findChild<QMenu*>(u"mnuOpenRecent"_s)->actions().at(2)->trigger();
        checkDriver(driver);
        QCOMPARE(folderText(), site);
        QCOMPARE(recentEntries(), (QStringList{site, typed}));
        QCOMPARE(LoadRecentFolders(), (QStringList{site, typed}));

        entry("mnuClearRecent")->trigger();
        QCOMPARE(recentEntries(), QStringList());
        QCOMPARE(LoadRecentFolders(), QStringList());
    }

    // Off until turned on, and then the list, and every build, takes in the sub-folders' pages by
    // their paths; remembered like the folder.
    void includeSubFolders() {
        const QString nested = tmp.filePath(u"nested"_s);
        QVERIFY(QDir().mkpath(nested + u"/blog/2025"_s));
        QVERIFY(QDir().mkpath(nested + u"/.hidden"_s));
        writePage(nested + u"/index.htm"_s, "<title>Home</title>");
        writePage(nested + u"/blog/2025/post one.htm"_s, "<title>Post</title>");
        writePage(nested + u"/.hidden/secret.htm"_s, "<title>Secret</title>");
        QVERIFY(SaveFolderSetting(nested));
        open();
        QVERIFY(!entry("mnuIncludeSubFolders")->isChecked());
        QCOMPARE(listed(), QStringList{u"index.htm"_s});

        entry("mnuIncludeSubFolders")->trigger();
        QVERIFY(entry("mnuIncludeSubFolders")->isChecked());
        QCOMPARE(LoadSubFoldersSetting(), true);
        // Listed off the interface thread, under the busy pointer, and shown once complete.
        QVERIFY(QApplication::overrideCursor());
        const QStringList both{u"blog/2025/post one.htm"_s, u"index.htm"_s};
        QTRY_COMPARE(listed(), both);
        QVERIFY(!QApplication::overrideCursor());
        QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreate"_s), Qt::LeftButton);
        QVERIFY2(window->indexText().contains(u"href=\"blog/2025/post%20one.htm\">Post<"_s),
                 qPrintable(window->indexText()));

        open(); // the next run
        QVERIFY(entry("mnuIncludeSubFolders")->isChecked());
        QTRY_COMPARE(listed(), both);
        entry("mnuIncludeSubFolders")->trigger();
        QCOMPARE(listed(), QStringList{u"index.htm"_s});
        QCOMPARE(LoadSubFoldersSetting(), false);
    }

    // With sub-folders the list is made on a thread of its own. Whatever happens while a scan runs,
    // the list shown in the end is that of the folder in the box, and a command pressed meanwhile
    // works on the list as it is shown. Steps: a folder ("nested", "other") written into the box,
    // "create" (Create HTML), "browse", "off" (sub-folders turned off), "wait" (for the list),
    // "close" (the window).
    void subFolderScan_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("indexed"); // the list Create HTML found shown
        QTest::addColumn<QStringList>("shown");   // in the end
        const QStringList nested{u"blog/2025/post.htm"_s, u"blog/x.htm"_s, u"index.htm"_s};
        const QStringList other{u"deep/other.htm"_s};
        QTest::newRow("shown when complete") << u"nested"_s << QStringList() << nested;
        QTest::newRow("a newer folder replaces the scan") << u"nested other"_s << QStringList() << other;
        QTest::newRow("and back again") << u"nested other nested"_s << QStringList() << nested;
        QTest::newRow("Create HTML meanwhile takes the list shown")
            << u"nested create"_s << QStringList() << nested;
        QTest::newRow("Create HTML once shown") << u"nested wait create"_s << nested << nested;
        QTest::newRow("Browse meanwhile leaves the list empty")
            << u"nested browse"_s << QStringList() << QStringList();
        QTest::newRow("sub-folders turned off meanwhile")
            << u"nested off"_s << QStringList() << QStringList{u"index.htm"_s};
        QTest::newRow("window closed meanwhile") << u"nested other close"_s << QStringList() << QStringList();
    }
    void subFolderScan() {
        QFETCH(QString, steps);
        QFETCH(QStringList, indexed);
        QFETCH(QStringList, shown);
        const QString nested = tmp.filePath(u"scan-nested"_s);
        const QString other = tmp.filePath(u"scan-other"_s);
        QVERIFY(QDir().mkpath(nested + u"/blog/2025"_s));
        QVERIFY(QDir().mkpath(other + u"/deep"_s));
        writePage(nested + u"/index.htm"_s, "<title>Home</title>");
        writePage(nested + u"/blog/x.htm"_s, "<title>X</title>");
        writePage(nested + u"/blog/2025/post.htm"_s, "<title>Post</title>");
        writePage(other + u"/deep/other.htm"_s, "<title>Other</title>");
        QVERIFY(SaveSubFoldersSetting(true));
        QVERIFY(SaveFolderSetting(other));
        open();
        QString built;
        for (const QString& step : steps.split(u' ')) {
            if (step == u"nested"_s || step == u"other"_s) {
                window->setFolderText(step == u"nested"_s ? nested : other);
                QVERIFY(QApplication::overrideCursor());
            } else if (step == u"create"_s) {
                QCOMPARE(listed(), indexed);
                QTest::mouseClick(window->findChild<QPushButton*>(u"cmdCreate"_s), Qt::LeftButton);
                built = BuildIndexText(folderText(), indexed);
            } else if (step == u"browse"_s) {
                QTest::mouseClick(window->findChild<QPushButton*>(u"cmdBrowse"_s), Qt::LeftButton);
            } else if (step == u"off"_s) {
                entry("mnuIncludeSubFolders")->trigger();
            } else if (step == u"wait"_s) {
                QTRY_VERIFY(!QApplication::overrideCursor());
            } else if (step == u"close"_s) {
                window.reset();
            } else {
                QFAIL(qPrintable(u"no such step: "_s + step));
            }
        }
        QTRY_VERIFY(!QApplication::overrideCursor());
        if (!window)
            return;
        QTest::qWait(50); // a scan that was replaced or cancelled shows nothing, even late
        QCOMPARE(listed(), shown);
        if (!built.isNull())
            QCOMPARE(window->indexText(), built);
    }

    // Check Site... shows the site check's report in the scratchpad, with the sub-folders when the
    // list has them.
    void checkSite_data() {
        QTest::addColumn<bool>("subFolders");
        QTest::addColumn<QStringList>("found"); // in the report
        QTest::newRow("the folder") << false
                                    << QStringList{u"untitled.htm: "_s,
                                                   u"2 pages share the title \"Same\":\n  a.htm\n  b.htm\n"_s,
                                                   u"2 findings; 3 pages checked"_s};
        QTest::newRow("with sub-folders")
            << true
            << QStringList{u"untitled.htm: "_s, u"old/untitled.htm: "_s, u"3 findings; 4 pages checked"_s};
    }
    void checkSite() {
        QFETCH(bool, subFolders);
        QFETCH(QStringList, found);
        const QString folder = tmp.filePath(u"check"_s);
        QVERIFY(QDir().mkpath(folder + u"/old"_s));
        writePage(folder + u"/a.htm"_s, "<title>Same</title>");
        writePage(folder + u"/b.htm"_s, "<title>Same</title>");
        writePage(folder + u"/untitled.htm"_s, "");
        writePage(folder + u"/old/untitled.htm"_s, "");
        QVERIFY(SaveFolderSetting(folder));
        QVERIFY(SaveSubFoldersSetting(subFolders));
        open();
        entry("mnuCheckSite")->trigger();
        frmTextpad* pad = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<frmTextpad*>(widget); found && found->isVisible())
                pad = found;
        QVERIFY(pad);
        const QString report = pad->findChild<QPlainTextEdit*>(u"txtDisplay"_s)->toPlainText();
        WalkOptions walk;
        walk.recursive = subFolders;
        QCOMPARE(report, CheckFolderText(folder, walk));
        for (const QString& part : found)
            QVERIFY2(report.contains(part), qPrintable(report));
        QVERIFY(!QApplication::overrideCursor());
    }

    // pagewick FOLDER: the window opens on that folder, scanned; what cannot be opened is said, and
    // the window opens on the remembered folder instead.
    void startFolder_data() {
        QTest::addColumn<QString>("given"); // under the temporary folder
        QTest::addColumn<bool>("opensSite");
        QTest::newRow("a folder") << u"site"_s << true;
        QTest::newRow("a page in it") << u"site/b.htm"_s << true;
        QTest::newRow("nothing there") << u"gone"_s << false;
        QTest::newRow("nothing given") << QString() << false;
    }
    void startFolder() {
        QFETCH(QString, given);
        QFETCH(bool, opensSite);
        const QString stored = tmp.filePath(u"stored"_s);
        QVERIFY(QDir().mkpath(stored));
        QVERIFY(SaveFolderSetting(stored));
        const QString path = given.isEmpty() ? QString() : QDir(tmp.path()).canonicalPath() + u'/' + given;
        ModalDriver driver;
        if (!given.isEmpty() && !opensSite)
            expectMessage(driver, path + u" cannot be opened: No such file or directory."_s);
        open(path);
        checkDriver(driver);
        const QString expected = opensSite ? site : stored;
        QCOMPARE(folderText(), expected);
        QCOMPARE(listed(),
                 opensSite ? (QStringList{u"a.htm"_s, u"b.htm"_s, u"draft-c.htm"_s}) : QStringList());
        QCOMPARE(LoadFolderSetting(), expected);
        QCOMPARE(recentEntries(), opensSite ? QStringList{site} : QStringList());
    }

    // A folder (or a page) dropped anywhere on the window opens; other drags are turned away.
    void drop_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("taken");
        const QUrl folder = QUrl::fromLocalFile(site);
        QTest::newRow("a folder") << QList<QUrl>{folder} << true;
        QTest::newRow("a page") << QList<QUrl>{QUrl::fromLocalFile(site + u"/a.htm"_s)} << true;
        QTest::newRow("two folders") << QList<QUrl>{folder, folder} << false;
        QTest::newRow("a web address") << QList<QUrl>{QUrl(u"https://example.org/"_s)} << false;
        QTest::newRow("no address") << QList<QUrl>{} << false;
    }
    void drop() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, taken);
        open();
        QVERIFY(window->acceptDrops());
        QVERIFY(!window->findChild<QLineEdit*>(u"txtMap"_s)->acceptDrops()); // the box passes it on
        QMimeData data;
        data.setUrls(urls);
        data.setText(u"text that must not land in the box"_s);
        const QPoint at = window->findChild<QWidget*>(u"lstFiles"_s)->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(window.get(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.ignore();
        QApplication::sendEvent(window.get(), &dropped);
        QCOMPARE(dropped.isAccepted(), taken);
        QCOMPARE(folderText(), taken ? site : QString());
        QCOMPARE(recentEntries(), taken ? QStringList{site} : QStringList());
    }

    // Folders handed to the window from outside: the command line, a drop, Open Recent.
    void folderToOpen_data() {
        QTest::addColumn<QString>("given");    // relative paths are under the temporary folder
        QTest::addColumn<QString>("expected"); // ditto; empty: nothing to open
        QTest::newRow("a folder") << u"site"_s << u"site"_s;
        QTest::newRow("not clean") << u"site/./sub/..//"_s << u"site"_s;
        QTest::newRow("a page: its folder") << u"site/a.htm"_s << u"site"_s;
        QTest::newRow("a link to a folder: the link") << u"link"_s << u"link"_s;
        QTest::newRow("nothing there") << u"gone"_s << QString();
        QTest::newRow("nothing given") << QString() << QString();
        const QString latin1Name = FileNameFromBytes("caf\xe9");
        QTest::newRow("name not UTF-8") << latin1Name << latin1Name;
    }
    void folderToOpen() {
        QFETCH(QString, given);
        QFETCH(QString, expected);
        const QString base = QDir(tmp.path()).canonicalPath();
        QVERIFY(QDir().mkpath(base + u"/site/sub"_s));
        QFile page(base + u"/site/a.htm"_s);
        QVERIFY(page.open(QIODevice::WriteOnly));
        QFile::link(base + u"/site"_s, base + u"/link"_s);
        ::mkdir(QFile::encodeName(base) + "/caf\xe9", 0700);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        QString problem;
        const QString opened = FolderToOpen(given, &problem);
        QDir::setCurrent(previous);
        if (expected.isEmpty()) {
            QCOMPARE(opened, QString());
            QVERIFY(!problem.isEmpty());
            return;
        }
        QCOMPARE(opened, base + u'/' + expected);
        QCOMPARE(FolderToOpen(base + u'/' + given), opened); // the same from anywhere
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
