#include "engine/filename.h"
#include "modaldriver.h"
#include "ui/about.h"
#include "ui/foldertoopen.h"
#include "ui/frmFeedOptions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pagewick;
using namespace Qt::StringLiterals;

namespace {

// The feed settings as one line, so that two can be compared and a difference read.
QString Describe(const FeedSettings& s) {
    const FeedOptions& o = s.options;
    return u"guid=%1 feed=%2 dates=%3 meta=%4 atom=%5 order=%6 limit=%7 excludes=[%8]"_s.arg(o.guid)
        .arg(o.feedUrl)
        .arg(o.dates)
        .arg(o.description == FeedDescription::Meta)
        .arg(s.atomFeedUrl)
        .arg(int(o.selection.order))
        .arg(o.selection.limit)
        .arg(o.selection.excludes.join(u'|'));
}

} // namespace

// The menu bar's commands and what they open: the feed options, the About box, and the folders
// that reach the window from outside.
class MenusTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;

    template <typename T> static T* field(QWidget* dialog, const char* name) {
        auto* found = dialog->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(tmp.isValid()); }
    void cleanupTestCase() {
        // QTemporaryDir cannot remove a name that is not UTF-8.
        ::rmdir(QFile::encodeName(QDir(tmp.path()).canonicalPath()) + "/caf\xe9");
    }

    // The dialog opens on all options off: the plain feed.
    void feedOptionsDefaults() {
        frmFeedOptions dialog;
        QCOMPARE(dialog.windowTitle(), u"Feed Options"_s);
        QCOMPARE(Describe(dialog.settings()), Describe(FeedSettings()));
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
        field<QDialogButtonBox>(&dialog, "buttons")->button(QDialogButtonBox::Ok)->click();
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(dialog.result(), problem.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(dialog.isVisible(), !problem.isEmpty());
        if (!problem.isEmpty())
            return;
        FeedSettings expected;
        expected.options.guid = true;
        expected.options.feedUrl = feedUrl.trimmed();
        expected.options.dates = true;
        expected.options.description = FeedDescription::Meta;
        expected.atomFeedUrl = atomUrl;
        expected.options.selection = {PageOrder::Date, kept, 2};
        QCOMPARE(Describe(dialog.settings()), Describe(expected));

        // Shown again as they were kept, and cleared by Restore Defaults.
        frmFeedOptions again;
        again.setSettings(expected);
        QCOMPARE(Describe(again.settings()), Describe(expected));
        QCOMPARE(field<QComboBox>(&again, "cboOrder")->currentText(), u"By date, newest first"_s);
        QCOMPARE(field<QSpinBox>(&again, "spnLimit")->text(), u"2 pages"_s);
        field<QDialogButtonBox>(&again, "buttons")->button(QDialogButtonBox::RestoreDefaults)->click();
        QCOMPARE(Describe(again.settings()), Describe(FeedSettings()));
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
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
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
