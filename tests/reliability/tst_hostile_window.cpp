// The main window against a hostile folder: the builds finish, the double-click box answers for
// every entry, and the command-line program prints the texts the window builds. And against a
// settings store that is not a file: the window starts, says why once, and leaves it alone.

#include "engine/order/nameorder.h"
#include "engine/output/index.h"
#include "hostilefolder.h"
#include "modaldriver.h"
#include "settings/foldersetting.h"
#include "specialfile.h"
#include "ui/frmMain.h"

#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class HostileWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    hostile::Folder folder;
    std::unique_ptr<frmMain> window;

    static QString problems(const QStringList& list) { return list.mid(0, 20).join(u"\n"_s); }

    QListWidget* list() const { return window->findChild<QListWidget*>(u"lstFiles"_s); }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names.append(list()->item(i)->text());
        return names;
    }

    void click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QLatin1String(button));
        QVERIFY(b && b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // "Create XML code" with the two answers typed into the real prompts.
    void createFeed(const QString& feedTitle, const QString& siteUrl) {
        ModalDriver driver;
        for (const QString& answer : {feedTitle, siteUrl}) {
            driver.expect<QInputDialog>([answer](QInputDialog* box) {
                box->setTextValue(answer);
                box->accept();
            });
        }
        click("cmdCreateXMLcode");
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u';')));
    }

    static hostile::CliResult runCli(const QStringList& arguments) {
        return hostile::RunCli(QStringLiteral(PAGEWICK_CLI), arguments);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath(u"config"_s)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.filePath(u"config"_s));
        QString error;
        QVERIFY2(folder.build(tmp.path(), &error), qPrintable(error));
    }

    void cleanupTestCase() { QVERIFY(folder.remove()); }

    void init() {
        QVERIFY(folder.restoreVanishing());
        window = std::make_unique<frmMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->setFolderText(folder.path);
    }

    void cleanup() { window.reset(); }

    // Started on a folder of 25,000 nested folders with Include Sub-folders on (as remembered from
    // the last run), the window lists the page at the bottom and builds its index.
    void subFoldersAnyDepth() {
        const QString top = tmp.filePath(u"deep"_s);
        QVERIFY(QDir().mkpath(top));
        hostile::DeepChain deep;
        QString error;
        QVERIFY2(deep.build(QFile::encodeName(top), 25000, "<title>Bottom</title>", &error),
                 qPrintable(error));
        window.reset();
        QVERIFY(SaveFolderSetting(top) && SaveSubFoldersSetting(true));
        const auto restore = qScopeGuard([] { SaveSubFoldersSetting(false); });
        window = std::make_unique<frmMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList{deep.pagePath()}, 120000); // slow under sanitizers
        click("cmdCreate");
        QVERIFY(window->indexText().endsWith(u"\">Bottom</a>\r\n</ul>"_s));
    }

    void listsEveryPageInOrder() {
        QStringList expected = folder.pageNames();
        PageNameOrder().sortNames(expected);
        QCOMPARE(listed(), expected);
    }

    void createHtmlLinksEveryPage_data() {
        QTest::addColumn<bool>("vanished");
        QTest::newRow("all pages there") << false;
        QTest::newRow("page deleted after the scan") << true;
    }

    void createHtmlLinksEveryPage() {
        QFETCH(bool, vanished);
        if (vanished)
            QVERIFY(folder.removeVanishing());
        click("cmdCreate");
        const QStringList found = hostile::CheckIndex(window->indexText(), folder, listed(), vanished);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void createXmlGivesAFeedReadersTake_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("plain") << u"News"_s << u"http://example.org"_s << false;
        QTest::newRow("markup, controls and lone surrogates")
            << (u"Tom & Jerry <b> &eacute; &bogus; ]]> \x01 "_s + QChar(0xD800))
            << u"http://example.org/a b?c=1&d=<2>"_s << false;
        QTest::newRow("page deleted after the scan") << u"News"_s << u"http://x/"_s << true;
    }

    void createXmlGivesAFeedReadersTake() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        QFETCH(bool, vanished);
        if (vanished)
            QVERIFY(folder.removeVanishing());
        createFeed(feedTitle, siteUrl);
        QCOMPARE(window->feedTitle(), feedTitle);
        const QStringList found = hostile::CheckFeed(window->feedText(), folder, listed(), vanished);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    // A double-click on every entry, the vanished page too: the box shows the title (or the path)
    // and a date line, and nothing hangs or crashes.
    void doubleClickAnswersForEveryEntry() {
        QVERIFY(folder.removeVanishing());
        QStringList found;
        for (int row = 0; row < list()->count(); ++row) {
            QListWidgetItem* item = list()->item(row);
            const hostile::Page* page = folder.find(item->text());
            QVERIFY(page);
            const QString path = PagePath(folder.path, item->text());
            QString expected = path;
            if (page->label == hostile::Label::Title && !page->vanishes)
                expected = page->title;

            QString shown;
            ModalDriver driver;
            driver.expect<QMessageBox>([&shown](QMessageBox* box) {
                shown = box->text();
                box->accept();
            });
            list()->scrollToItem(item);
            const QPoint centre = list()->visualItemRect(item).center();
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, centre);
            if (!driver.problemsLeft().isEmpty()) {
                found << item->text() + u": "_s + driver.problemsLeft().join(u';');
                continue;
            }
            const qsizetype lineBreak = shown.lastIndexOf(u"\r\n"_s);
            const QString first = shown.left(lineBreak);
            const QString date = shown.mid(lineBreak + 2);
            if (page->label == hostile::Label::Any || page->label == hostile::Label::NotPath
                    ? first.isEmpty()
                    : first != expected)
                found << u"%1: the box says %2"_s.arg(item->text(), first.left(100));
            // A page on disk has a date; only the vanished one may have none.
            if (date.isEmpty() || (!page->vanishes && date == u"Creation date unknown"_s))
                found << u"%1: no date in the box (%2)"_s.arg(item->text(), date);
        }
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    // The store's file is looked at before it is opened: a FIFO there would hang the start, and a
    // link to a device would have the device replaced by a text file.
    void settingsStoreThatIsNotAFile_data() {
        QTest::addColumn<special::Kind>("kind");
        QTest::newRow("FIFO") << special::Kind::Fifo;
        QTest::newRow("link to a device") << special::Kind::LinkToNullDevice;
        QTest::newRow("folder") << special::Kind::Folder;
    }

    void settingsStoreThatIsNotAFile() {
        QFETCH(special::Kind, kind);
        window.reset();
        QTemporaryDir config;
        QVERIFY(config.isValid());
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", home); });
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString store = config.filePath(u"Pagewick/Pagewick.conf"_s);
        QVERIFY(QDir().mkpath(QFileInfo(store).path()));
        QString why;
        if (!special::Make(kind, store, &why))
            QSKIP(qPrintable(why));
        const QString was = special::Describe(store);

        ModalDriver told;
        told.expect<QMessageBox>([&store](QMessageBox* box) {
            QVERIFY2(box->text().contains(u"cannot remember"_s) &&
                         box->text().contains(store + u" is not a regular file"_s),
                     qPrintable(box->text()));
            box->accept();
        });
        window = std::make_unique<frmMain>();
        window->show();
        QVERIFY2(told.problemsLeft().isEmpty(), qPrintable(told.problemsLeft().join(u';')));
        auto* text = window->findChild<QLineEdit*>(u"txtMap"_s);
        QCOMPARE(text->text(), QString()); // nothing was read

        // Once a run: the folder changes go on without another word.
        ModalDriver quiet;
        window->setFolderText(folder.path);
        QTest::keyClicks(text, u"/"_s);
        QVERIFY2(quiet.problemsLeft().isEmpty(), qPrintable(quiet.problemsLeft().join(u';')));
        QCOMPARE(quiet.dialogsSeen(), 0);
        QCOMPARE(list()->count(), folder.pageNames().size());
        QCOMPARE(special::Describe(store), was);
        if (kind == special::Kind::LinkToNullDevice)
            QCOMPARE(special::Describe(store + u".dev"_s), u"character device 1:3"_s);
    }

    // The command-line program prints, byte for byte, what the window builds from the same folder.
    void cliPrintsWhatTheWindowBuilds_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::newRow("plain") << u"News"_s << u"http://example.org"_s;
        QTest::newRow("markup and controls")
            << u"Tom & Jerry <b> &eacute; &bogus; ]]> \x01"_s << u"http://e.org/a b?c&d=<2>"_s;
    }

    void cliPrintsWhatTheWindowBuilds() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        click("cmdCreate");
        const hostile::CliResult index = runCli({u"index"_s, folder.path});
        QCOMPARE(index.exitCode, 0);
        QCOMPARE(index.out, window->indexText().toUtf8());

        const QString title = u"Site & <pages>"_s;
        const hostile::CliResult page = runCli({u"page"_s, folder.path, u"--title"_s, title});
        QCOMPARE(page.exitCode, 0);
        QCOMPARE(page.out, BuildPageDocument(title, window->indexText()).toUtf8());

        createFeed(feedTitle, siteUrl);
        const hostile::CliResult feed =
            runCli({u"rss"_s, folder.path, u"--feed-title"_s, feedTitle, u"--site-url"_s, siteUrl});
        QCOMPARE(feed.exitCode, 0);
        QCOMPARE(feed.out, window->feedText().toUtf8());
    }
};

QTEST_MAIN(HostileWindowTest)
#include "tst_hostile_window.moc"
