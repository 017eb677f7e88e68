#include "engine/output/index.h"
#include "modaldriver.h"
#include "ui/frmBrowse.h"
#include "ui/frmBrowser.h"
#include "ui/frmMain.h"
#include "ui/frmTextpad.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

// The road from a folder to a saved index page, through the main window's buttons: Browse, pick a
// folder, OK, Create HTML, then the views and Save HTML file.
class MainRoadTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString site; // tmp/site: two pages, a text file and a sub-folder
    std::unique_ptr<frmMain> window;

    template <typename T> static T* shownWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
                return found;
        return nullptr;
    }

    template <typename T = QPushButton> T* control(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < control<QListWidget>("lstFiles")->count(); ++i)
            names.append(control<QListWidget>("lstFiles")->item(i)->text());
        return names;
    }

    static void writePage(const QString& path, const QByteArray& title) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head><title>" + title + "</title></head><body></body></html>");
    }

    // Browse from the folder above the site, pick "site" in the tree and press OK.
    void browseToSite() {
        control<QLineEdit>("txtMap")->setText(tmp.path());
        QTest::mouseClick(control("cmdBrowse"), Qt::LeftButton);
        auto* picker = shownWindow<frmBrowse>();
        QVERIFY(picker);
        auto* tree = picker->findChild<QTreeView*>(u"Dir1"_s);
        QTRY_VERIFY(tree->model()->rowCount(tree->currentIndex()) > 0);
        QTest::keyClicks(tree, u"site"_s);
        QTest::mouseClick(picker->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        site = tmp.filePath(u"site"_s);
        QVERIFY(QDir().mkpath(site + u"/images"_s));
        writePage(site + u"/b.htm"_s, "Beta");
        writePage(site + u"/A.htm"_s, "Alpha");
        writePage(site + u"/my page.htm"_s, "Mine");
        QFile notes(site + u"/notes.txt"_s);
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }

    void init() {
        // A settings store of its own, so the folder setting (and the save dialog's state) stay here.
        static int cases = 0;
        const QString config = tmp.filePath(u"config%1"_s.arg(++cases));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        window = std::make_unique<frmMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        control<QFileDialog>("cdl")->setOption(QFileDialog::DontUseNativeDialog);
    }

    void cleanup() {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void browseOkListsTheFolder() {
        browseToSite();
        QCOMPARE(control<QLineEdit>("txtMap")->text(), site);
        QCOMPARE(listed(), (QStringList{u"A.htm"_s, u"b.htm"_s, u"my page.htm"_s}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shownWindow<frmBrowse>());
    }

    void browseCancelKeepsTheFolderText() {
        control<QLineEdit>("txtMap")->setText(site);
        QCOMPARE(listed().size(), 3);
        QTest::mouseClick(control("cmdBrowse"), Qt::LeftButton);
        auto* picker = shownWindow<frmBrowse>();
        QVERIFY(picker);
        QCOMPARE(picker->currentFolder(), site);
        QTest::keyClick(picker->findChild<QTreeView*>(u"Dir1"_s), Qt::Key_Escape);
        QCOMPARE(control<QLineEdit>("txtMap")->text(), site);
        QCOMPARE(listed(), QStringList());
    }

    void createViewAndSave() {
        browseToSite();
        QTest::mouseClick(control("cmdCreate"), Qt::LeftButton);
        const QString index = window->indexText();
        QVERIFY(index.indexOf(u"Alpha"_s) < index.indexOf(u"Beta"_s));

        // The browser shows the index; a link opens the page in the site folder.
        QTest::mouseClick(control("cmdBrowseHTML"), Qt::LeftButton);
        auto* browser = shownWindow<frmBrowser>();
        QVERIFY(browser);
        QList<QUrl> opened;
        browser->setLinkOpener([&](const QUrl& url) { opened.append(url); });
        auto* page = browser->findChild<QTextBrowser*>(u"brwBrowser"_s);
        QVERIFY(page->toPlainText().contains(u"Mine"_s));
        page->setFocus();
        for (int link = 0; link < 3; ++link)
            QTest::keyClick(page, Qt::Key_Tab);
        QTest::keyClick(page, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).toLocalFile(), site + u"/my page.htm"_s);

        // The scratchpad shows the code.
        QTest::mouseClick(control("cmdViewHTML"), Qt::LeftButton);
        auto* textpad = shownWindow<frmTextpad>();
        QVERIFY(textpad);
        QCOMPARE(textpad->findChild<QPlainTextEdit*>(u"txtDisplay"_s)->toPlainText(),
                 QString(index).replace(u"\r\n"_s, u"\n"_s));

        // Save HTML file writes the page around the index into the folder chosen in the dialog.
        ModalDriver driver;
        driver.expect<QInputDialog>([](QInputDialog* box) {
            box->setTextValue(u"My site"_s);
            box->accept();
        });
        driver.expect<QFileDialog>([this](QFileDialog* dialog) {
            QCOMPARE(dialog->directory().absolutePath(), site);
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            name->setText(u"contents"_s);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(control("cmdSaveFile"), Qt::LeftButton);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));

        QFile saved(site + u"/contents.htm"_s);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), BuildPageDocument(u"My site"_s, index).toUtf8());

        // The window keeps the name saved under for its next save.
        driver.expect<QInputDialog>([](QInputDialog* box) { box->accept(); });
        driver.expect<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->text(), u"contents.htm"_s);
            dialog->reject();
        });
        QTest::mouseClick(control("cmdSaveFile"), Qt::LeftButton);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
    }

    // Save HTML file saves the last index built, and opens the dialog in the folder that index was
    // built from, so that the index of one site never lands on another site's index.htm. Steps:
    // a folder written into the box ("site", "other"), "create" (Create HTML).
    void saveOpensWhereTheIndexWasBuilt_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("savedIn");
        QTest::newRow("the folder shown") << u"site create"_s << u"site"_s;
        QTest::newRow("after a change of folder") << u"site create other"_s << u"site"_s;
        QTest::newRow("after changes back and forth") << u"site create other site other"_s << u"site"_s;
        QTest::newRow("built again in the new folder") << u"site create other create"_s << u"other"_s;
    }
    void saveOpensWhereTheIndexWasBuilt() {
        QFETCH(QString, steps);
        QFETCH(QString, savedIn);
        const QString other = tmp.filePath(u"other"_s);
        QVERIFY(QDir().mkpath(other));
        writePage(other + u"/c.htm"_s, "Gamma");
        const QByteArray otherIndex = "the other site's own index\n";
        {
            QFile own(other + u"/index.htm"_s);
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write(otherIndex);
        }
        QString built;
        for (const QString& step : steps.split(u' ')) {
            if (step == u"create"_s) {
                QTest::mouseClick(control("cmdCreate"), Qt::LeftButton);
                built = window->indexText();
            } else if (step == u"site"_s || step == u"other"_s) {
                control<QLineEdit>("txtMap")->setText(step == u"site"_s ? site : other);
            } else {
                QFAIL(qPrintable(u"no such step: "_s + step));
            }
        }
        if (savedIn != u"site"_s && savedIn != u"other"_s)
            QFAIL(qPrintable(u"no such folder: "_s + savedIn));
        const QString folder = savedIn == u"site"_s ? site : other;
        ModalDriver driver;
        driver.expect<QInputDialog>([](QInputDialog* box) {
            box->setTextValue(u"Saved"_s);
            box->accept();
        });
        driver.expect<QFileDialog>([&folder](QFileDialog* dialog) {
            QCOMPARE(dialog->directory().absolutePath(), folder);
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            name->setText(u"index.htm"_s);
            QTest::keyClick(name, Qt::Key_Return);
        });
        driver.otherwise([](QWidget* modal) { // Replace? only for the index built in that folder
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->button(QMessageBox::Yes)->click();
        });
        QTest::mouseClick(control("cmdSaveFile"), Qt::LeftButton);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));

        QFile saved(folder + u"/index.htm"_s);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), BuildPageDocument(u"Saved"_s, built).toUtf8());
        if (folder == site) {
            QFile own(other + u"/index.htm"_s);
            QVERIFY(own.open(QIODevice::ReadOnly));
            QCOMPARE(own.readAll(), otherIndex);
            QVERIFY(QFile::remove(site + u"/index.htm"_s)); // the site as it was, for the next case
        }
    }
};

QTEST_MAIN(MainRoadTest)
#include "tst_mainroad.moc"
