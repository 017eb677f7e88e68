#include "engine/index.h"
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
    const QString index = QStringLiteral("<ul>\r\n<li><a href=\"caf%C3%A9.htm\">Café</a>\r\n</ul>");
    const QByteArray oldBytes = QByteArrayLiteral("an older page, longer than nothing\r\n");

    QTemporaryDir settings;
    QWidget owner;
    QFileDialog* cdl = nullptr;
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
            QCOMPARE(box->windowTitle(), QStringLiteral("Pagewick"));
            QCOMPARE(box->labelText(), QStringLiteral("Give the title of the file"));
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
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("htm"));
            QCOMPARE(dialog->directory().absolutePath(), folder);
            if (typed.isNull()) {
                dialog->reject();
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
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
            QCOMPARE(box->windowTitle(), QStringLiteral("Pagewick"));
            QVERIFY2(box->text().contains(fileName), qPrintable(box->text()));
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
        cdl->setObjectName(QStringLiteral("cdl"));
        cdl->setOption(QFileDialog::DontUseNativeDialog);
    }

    void cleanup() {
        delete cdl;
        tmp.reset();
    }

    void writesANewFile_data() {
        QTest::addColumn<QString>("title"); // "<cancel>": the prompt is cancelled
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");

        QTest::newRow("name with suffix")
            << QStringLiteral("My pages") << QStringLiteral("index.htm") << QStringLiteral("index.htm");
        QTest::newRow("suffix added")
            << QStringLiteral("My pages") << QStringLiteral("index") << QStringLiteral("index.htm");
        QTest::newRow("other suffix kept")
            << QStringLiteral("Site") << QStringLiteral("index.html") << QStringLiteral("index.html");
        QTest::newRow("empty title") << QStringLiteral("") << QStringLiteral("a.htm")
                                     << QStringLiteral("a.htm");
        QTest::newRow("title prompt cancelled")
            << QStringLiteral("<cancel>") << QStringLiteral("b.htm") << QStringLiteral("b.htm");
        QTest::newRow("title with markup and accents")
            << QStringLiteral("Zoë's <pages> & more") << QStringLiteral("z.htm") << QStringLiteral("z.htm");
    }

    void writesANewFile() {
        QFETCH(QString, title);
        QFETCH(QString, typed);
        QFETCH(QString, written);

        const bool cancelled = title == QStringLiteral("<cancel>");
        ModalDriver driver;
        answerTitle(driver, cancelled ? QString() : title);
        answerFile(driver, typed);
        pagewick::SaveIndexPage(&owner, cdl, folder, index);

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), QStringList{written});
        const QByteArray bytes = readAll(folder + u'/' + written);
        QCOMPARE(bytes, pageBytes(cancelled ? QString() : title, index));
        QVERIFY(bytes.endsWith("</body></html>\r\n"));
        QVERIFY(!bytes.endsWith("\r\n\r\n"));
        QVERIFY(bytes.contains("Caf\xC3\xA9"));
    }

    void replacesAnExistingFile() {
        const QString target = folder + QStringLiteral("/index.htm");
        QVERIFY(writeAll(target, oldBytes + oldBytes + oldBytes + oldBytes + oldBytes + oldBytes));

        ModalDriver driver;
        answerTitle(driver, QStringLiteral("New"));
        answerFile(driver, QStringLiteral("index.htm"));
        confirmReplace(driver);
        pagewick::SaveIndexPage(&owner, cdl, folder, QStringLiteral("<ul>\r\n</ul>"));

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(readAll(target), pageBytes(QStringLiteral("New"), QStringLiteral("<ul>\r\n</ul>")));
        QCOMPARE(entries(), QStringList{QStringLiteral("index.htm")});
    }

    void cancelledDialogWritesNothing_data() {
        QTest::addColumn<bool>("savedBefore");
        QTest::newRow("first save") << false;
        QTest::newRow("after an earlier save") << true;
    }

    void cancelledDialogWritesNothing() {
        QFETCH(bool, savedBefore);
        const QString earlier = folder + QStringLiteral("/earlier.htm");
        if (savedBefore) {
            ModalDriver first;
            answerTitle(first, QStringLiteral("First"));
            answerFile(first, QStringLiteral("earlier.htm"));
            pagewick::SaveIndexPage(&owner, cdl, folder, index);
            QVERIFY2(first.problemsLeft().isEmpty(), qPrintable(first.problemsLeft().join(u"; ")));
            // The user edits the saved page; a cancelled save must not touch it.
            QVERIFY(writeAll(earlier, oldBytes));
        }
        const QStringList before = entries();

        ModalDriver driver;
        answerTitle(driver, QStringLiteral("Second"));
        answerFile(driver, QString());
        pagewick::SaveIndexPage(&owner, cdl, folder, index);

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), before);
        if (savedBefore)
            QCOMPARE(readAll(earlier), oldBytes);
    }

    // After a save elsewhere, typed as a full path, the dialog opens in the folder of the index
    // with the last file name only, so Return saves where the dialog shows.
    void nextSaveOpensInTheFolderWithTheNameOnly() {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        {
            ModalDriver first;
            answerTitle(first, QStringLiteral("First"));
            answerFile(first, elsewhere.filePath(QStringLiteral("site.htm")));
            pagewick::SaveIndexPage(&owner, cdl, folder, index);
            QVERIFY2(first.problemsLeft().isEmpty(), qPrintable(first.problemsLeft().join(u"; ")));
        }
        QVERIFY(QFile::exists(elsewhere.filePath(QStringLiteral("site.htm"))));

        ModalDriver second;
        answerTitle(second, QStringLiteral("Second"));
        second.expect<QFileDialog>([this](QFileDialog* dialog) {
            QCOMPARE(dialog->directory().absolutePath(), folder);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            QCOMPARE(name->text(), QStringLiteral("site.htm"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        pagewick::SaveIndexPage(&owner, cdl, folder, index);
        QVERIFY2(second.problemsLeft().isEmpty(), qPrintable(second.problemsLeft().join(u"; ")));
        QCOMPARE(entries(), QStringList{QStringLiteral("site.htm")});
        QCOMPARE(readAll(folder + QStringLiteral("/site.htm")), pageBytes(QStringLiteral("Second"), index));
    }

    // Failures that hold for root too: a target inside a path that is a regular file (the file
    // cannot be created), and a file-size limit (the file is created but not all of it written).
    void failingWrite_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("answers"); // one letter a prompt: Abort, Retry, Ignore, Fixed-then-retry
        QTest::addColumn<bool>("savedInTheEnd");

        for (const char* failure : {"under a file", "file too large"}) {
            QTest::addRow("%s, abort", failure)
                << QString::fromLatin1(failure) << QStringLiteral("A") << false;
            QTest::addRow("%s, ignore", failure)
                << QString::fromLatin1(failure) << QStringLiteral("I") << false;
            QTest::addRow("%s, retry still failing, then abort", failure)
                << QString::fromLatin1(failure) << QStringLiteral("RRA") << false;
            QTest::addRow("%s, retry after the repair", failure)
                << QString::fromLatin1(failure) << QStringLiteral("RF") << true;
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
        const QString blocker = folder + QStringLiteral("/pages");
        if (failure == QStringLiteral("under a file")) {
            QVERIFY(writeAll(blocker, oldBytes));
            typed = QStringLiteral("pages/index.htm");
            target = blocker + QStringLiteral("/index.htm");
            repair = [blocker] {
                QFile::remove(blocker);
                QDir().mkdir(blocker);
            };
        } else {
            typed = QStringLiteral("index.htm");
            target = folder + QStringLiteral("/index.htm");
            QVERIFY(writeAll(target, oldBytes));
            repair = [&limit] { limit->lift(); };
        }
        const QStringList before = entries();

        ModalDriver driver;
        answerTitle(driver, QStringLiteral("Title"));
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
            else
                answerFailure(driver, target, QMessageBox::Retry, repair);
        }
        if (failure == QStringLiteral("file too large"))
            limit.emplace(oldBytes.size() / 2);
        pagewick::SaveIndexPage(&owner, cdl, folder, index);
        limit.reset();

        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));
        if (savedInTheEnd) {
            QCOMPARE(readAll(target), pageBytes(QStringLiteral("Title"), index));
        } else if (failure == QStringLiteral("under a file")) {
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
