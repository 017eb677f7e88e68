#include "engine/output/index.h"
#include "modaldriver.h"
#include "ui/saveflow.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

// Lowers the largest file this process may write, which stops writes for root too; the write
// fails with "File too large" instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { lift(); }
    void lift() { setrlimit(RLIMIT_FSIZE, &saved); }

private:
    rlimit saved{};
};

class SaveFlowTest : public QObject {
    Q_OBJECT

private:
    const QString index = u"<ul>\r\n<li><a href=\"caf%C3%A9.htm\">Café</a>\r\n</ul>"_s;
    const QByteArray oldBytes = QByteArrayLiteral("an older page, longer than nothing\r\n");

    QTemporaryDir settings;
    QWidget owner;
    QFileDialog* cdl = nullptr;
    QString lastFileName; // as the main window keeps it beside cdl
    std::unique_ptr<QTemporaryDir> tmp;
    QString folder;

    static QByteArray pageBytes(const QString& title, const QString& indexText) {
        return pagewick::BuildPageDocument(title, indexText).toUtf8();
    }

    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool writeAll(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QStringList entries() const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    // The title prompt; a null title presses Cancel.
    static void answerTitle(ModalDriver& driver, const QString& title) {
        driver.expect<QInputDialog>([title](QInputDialog* box) {
            QCOMPARE(box->windowTitle(), u"Pagewick"_s);
            QCOMPARE(box->labelText(), u"Give the title of the file"_s);
            QCOMPARE(box->textValue(), QString());
            if (title.isNull()) {
                box->reject();
                return;
            }
            box->setTextValue(title);
            box->accept();
        });
    }

    // The save dialog: checks where it opens, types the name and presses Enter; a null name
    // presses Cancel.
    void answerFile(ModalDriver& driver, const QString& typed) {
        driver.expect<QFileDialog>([this, typed](QFileDialog* dialog) {
            QCOMPARE(dialog, cdl);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), u"htm"_s);
            QCOMPARE(dialog->directory().absolutePath(), folder);
            if (typed.isNull()) {
                dialog->reject();
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
    }

    // The save dialog's own question before it picks an existing file.
    static void confirmReplace(ModalDriver& driver) {
        driver.expect<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    }

    // The failure prompt: what it says and offers, then the answer, after an optional repair.
    static void answerFailure(ModalDriver& driver, const QString& fileName,
                              QMessageBox::StandardButton answer, std::function<void()> repair = {}) {
        driver.expect<QMessageBox>([=](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), u"Pagewick"_s);
            QVERIFY2(box->text().contains(fileName), qPrintable(box->text()));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(
                box->standardButtons(),
                QMessageBox::StandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore));
            if (repair)
                repair();
            box->button(answer)->click();
        });
    }

private Q_SLOTS:
    void initTestCase() {
        std::signal(SIGXFSZ, SIG_IGN);
        // The save dialog keeps its state in the user's settings; here, in a store of the test's own.
        QVERIFY(settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }

    void init() {
        tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp->isValid());
        folder = QDir(tmp->path()).absolutePath();
        cdl = new QFileDialog(&owner);
        cdl->setObjectName(u"cdl"_s);
        cdl->setOption(QFileDialog::DontUseNativeDialog);
        lastFileName.clear();
    }

    void cleanup() {
        delete cdl;
        tmp.reset();
    }

    void writesANewFile_data() {
        QTest::addColumn<QString>("title"); // "<cancel>": the prompt is cancelled
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");

        QTest::newRow("name with suffix") << u"My pages"_s << u"index.htm"_s << u"index.htm"_s;
        QTest::newRow("suffix added") << u"My pages"_s << u"index"_s << u"index.htm"_s;
        QTest::newRow("other suffix kept") << u"Site"_s << u"index.html"_s << u"index.html"_s;
        QTest::newRow("empty title") << u""_s << u"a.htm"_s << u"a.htm"_s;
        QTest::newRow("title prompt cancelled") << u"<cancel>"_s << u"b.htm"_s << u"b.htm"_s;
        QTest::newRow("title with markup and accents")
            << u"Zoë's <pages> & more"_s << u"z.htm"_s << u"z.htm"_s;
    }

    void writesANewFile() {
        QFETCH(QString, title);
        QFETCH(QString, typed);
        QFETCH(QString, written);

        const bool cancelled = title == u"<cancel>"_s;
        ModalDriver driver;
        answerTitle(driver, cancelled ? QString() : title);
        answerFile(driver, typed);
        pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), QStringList{written});
        const QByteArray bytes = readAll(folder + u'/' + written);
        QCOMPARE(bytes, pageBytes(cancelled ? QString() : title, index));
        QVERIFY(bytes.endsWith("</body></html>\r\n"));
        QVERIFY(!bytes.endsWith("\r\n\r\n"));
        QVERIFY(bytes.contains("Caf\xC3\xA9"));
    }

    void replacesAnExistingFile() {
        const QString target = folder + u"/index.htm"_s;
        QVERIFY(writeAll(target, oldBytes + oldBytes + oldBytes + oldBytes + oldBytes + oldBytes));

        ModalDriver driver;
        answerTitle(driver, u"New"_s);
        answerFile(driver, u"index.htm"_s);
        confirmReplace(driver);
        pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, u"<ul>\r\n</ul>"_s);

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(readAll(target), pageBytes(u"New"_s, u"<ul>\r\n</ul>"_s));
        QCOMPARE(entries(), QStringList{u"index.htm"_s});
    }

    void cancelledDialogWritesNothing_data() {
        QTest::addColumn<bool>("savedBefore");
        QTest::newRow("first save") << false;
        QTest::newRow("after an earlier save") << true;
    }

    void cancelledDialogWritesNothing() {
        QFETCH(bool, savedBefore);
        const QString earlier = folder + u"/earlier.htm"_s;
        if (savedBefore) {
            ModalDriver first;
            answerTitle(first, u"First"_s);
            answerFile(first, u"earlier.htm"_s);
            pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);
            QVERIFY2(first.problemsLeft().isEmpty(), qPrintable(first.problemsLeft().join(u"; ")));
            // The user edits the saved page; a cancelled save must not touch it.
            QVERIFY(writeAll(earlier, oldBytes));
        }
        const QStringList before = entries();

        ModalDriver driver;
        answerTitle(driver, u"Second"_s);
        answerFile(driver, QString());
        pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), before);
        if (savedBefore)
            QCOMPARE(readAll(earlier), oldBytes);
        // The next save offers the name of the last file saved, not nothing.
        QCOMPARE(lastFileName, savedBefore ? u"earlier.htm"_s : QString());
    }

    // After a save elsewhere, typed as a full path, the dialog opens in the folder of the index
    // with the last file name only, so Return saves where the dialog shows.
    void nextSaveOpensInTheFolderWithTheNameOnly() {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        {
            ModalDriver first;
            answerTitle(first, u"First"_s);
            answerFile(first, elsewhere.filePath(u"site.htm"_s));
            pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);
            QVERIFY2(first.problemsLeft().isEmpty(), qPrintable(first.problemsLeft().join(u"; ")));
        }
        QVERIFY(QFile::exists(elsewhere.filePath(u"site.htm"_s)));

        ModalDriver second;
        answerTitle(second, u"Second"_s);
        second.expect<QFileDialog>([this](QFileDialog* dialog) {
            QCOMPARE(dialog->directory().absolutePath(), folder);
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QVERIFY(name);
            QCOMPARE(name->text(), u"site.htm"_s);
            QTest::keyClick(name, Qt::Key_Return);
        });
        pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);
        QVERIFY2(second.problemsLeft().isEmpty(), qPrintable(second.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), QStringList{u"site.htm"_s});
        QCOMPARE(readAll(folder + u"/site.htm"_s), pageBytes(u"Second"_s, index));
    }

    // Failures that hold for root too: a target inside a path that is a regular file (the file
    // cannot be created), and a file-size limit (the file is created but not all of it written).
    void failingWrite_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("answers"); // one letter a prompt: Abort, Retry, Ignore, Fixed-then-retry
        QTest::addColumn<bool>("savedInTheEnd");

        for (const char* failure : {"under a file", "file too large"}) {
            QTest::addRow("%s, abort", failure) << QString::fromLatin1(failure) << u"A"_s << false;
            QTest::addRow("%s, ignore", failure) << QString::fromLatin1(failure) << u"I"_s << false;
            QTest::addRow("%s, retry still failing, then abort", failure)
                << QString::fromLatin1(failure) << u"RRA"_s << false;
            QTest::addRow("%s, retry after the repair", failure)
                << QString::fromLatin1(failure) << u"RF"_s << true;
        }
    }

    void failingWrite() {
        QFETCH(QString, failure);
        QFETCH(QString, answers);
        QFETCH(bool, savedInTheEnd);

        QString typed;
        QString target;
        std::optional<FileSizeLimit> limit;
        std::function<void()> repair;
        const QString blocker = folder + u"/pages"_s;
        if (failure == u"under a file"_s) {
            QVERIFY(writeAll(blocker, oldBytes));
            typed = u"pages/index.htm"_s;
            target = blocker + u"/index.htm"_s;
            repair = [blocker] {
                QFile::remove(blocker);
                QDir().mkdir(blocker);
            };
        } else if (failure == u"file too large"_s) {
            typed = u"index.htm"_s;
            target = folder + u"/index.htm"_s;
            QVERIFY(writeAll(target, oldBytes));
            repair = [&limit] { limit->lift(); };
        } else {
            QFAIL(qPrintable(u"no such failure: "_s + failure));
        }
        const QStringList before = entries();

        ModalDriver driver;
        answerTitle(driver, u"Title"_s);
        answerFile(driver, typed);
        if (QFile::exists(target))
            confirmReplace(driver);
        for (const QChar answer : answers) {
            if (answer == u'A')
                answerFailure(driver, target, QMessageBox::Abort);
            else if (answer == u'I')
                answerFailure(driver, target, QMessageBox::Ignore);
            else if (answer == u'R')
                answerFailure(driver, target, QMessageBox::Retry);
            else if (answer == u'F')
                answerFailure(driver, target, QMessageBox::Retry, repair);
            else
                QFAIL(qPrintable(u"no such answer: "_s + answer));
        }
        if (failure == u"file too large"_s)
            limit.emplace(oldBytes.size() / 2);
        pagewick::SaveIndexPage(&owner, cdl, &lastFileName, folder, index);
        limit.reset();

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        if (savedInTheEnd) {
            QCOMPARE(readAll(target), pageBytes(u"Title"_s, index));
        } else if (failure == u"under a file"_s) {
            QCOMPARE(readAll(blocker), oldBytes);
        } else {
            QCOMPARE(readAll(target), oldBytes);
        }
        // No temporary file is left behind.
        QCOMPARE(entries(), before);
    }
};

QTEST_MAIN(SaveFlowTest)
#include "tst_saveflow.moc"
