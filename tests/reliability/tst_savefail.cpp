// A save that fails part-way never loses the file it would have replaced: "Save HTML file" through
// its real dialogs, and pagewick-cli -o, on a full file system, into a folder that vanishes, and
// onto a target that is a folder.

#include "../windows/modaldriver.h"
#include "engine/index.h"
#include "ui/saveflow.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

enum class Failure { FullDisk, FolderVanishes, TargetIsFolder };

// A small tmpfs of the test's own; unmounted when it goes.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const QString& where) : path(where) {
        QDir().mkpath(path);
        if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, "size=64k") == 0)
            mounted = true;
        else
            error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallTmpfs() {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    bool grow() const {
        return ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", MS_REMOUNT, "size=4m") == 0;
    }
    const QString path;
    bool mounted = false;
    QString error;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<not readable>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// An index far bigger than the small file system: about 300 KB.
QString BigIndex() {
    QString index = QStringLiteral("<ul>\r\n");
    for (int i = 0; i < 4000; ++i)
        index += QStringLiteral("<li><a href=\"page%1.htm\">Page number %1 of a big site</a>\r\n").arg(i);
    return index + QStringLiteral("</ul>");
}

} // namespace

Q_DECLARE_METATYPE(Failure)

class SaveFailTest : public QObject {
    Q_OBJECT

private:
    const QByteArray oldBytes =
        QByteArray("<html><body>The page as the user left it.</body></html>\r\n").repeated(40);
    const QByteArray keptBytes = "a file inside the folder that stands where the page was\n";

    QTemporaryDir tmp;
    QWidget owner;
    std::unique_ptr<QTemporaryDir> caseDir;
    std::unique_ptr<SmallTmpfs> tmpfs;

    // Where the test's case happens.
    QString folder;                  // the folder the page is saved into
    QString target;                  // folder/index.htm
    QString moved;                   // where a vanishing folder goes
    std::function<void()> sabotage;  // run once the file is chosen, before the write
    std::function<void()> repair;    // undoes the sabotage
    std::function<void()> checkKept; // the old file, or the folder in its place, is as it was

    // Sets the case up: the old page in place, and how the write will fail.
    void prepare(Failure failure) {
        caseDir = std::make_unique<QTemporaryDir>(tmp.filePath(QStringLiteral("case-XXXXXX")));
        QVERIFY(caseDir->isValid());
        folder = caseDir->filePath(QStringLiteral("site"));
        moved = caseDir->filePath(QStringLiteral("site-moved"));
        target = folder + QStringLiteral("/index.htm");
        sabotage = [] {};
        switch (failure) {
        case Failure::FullDisk:
            tmpfs = std::make_unique<SmallTmpfs>(folder);
            if (!tmpfs->mounted)
                return; // the caller skips the case
            QVERIFY(WriteAll(target, oldBytes));
            repair = [this] { QVERIFY(tmpfs->grow()); };
            checkKept = [this] {
                QCOMPARE(ReadAll(target), oldBytes);
                QCOMPARE(Entries(folder), QStringList{QStringLiteral("index.htm")});
            };
            break;
        case Failure::FolderVanishes:
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(WriteAll(target, oldBytes));
            sabotage = [this] { QVERIFY(QDir().rename(folder, moved)); };
            repair = [this] { QVERIFY(QDir().rename(moved, folder)); };
            checkKept = [this] {
                QCOMPARE(ReadAll(moved + QStringLiteral("/index.htm")), oldBytes);
                QCOMPARE(Entries(moved), QStringList{QStringLiteral("index.htm")});
                QVERIFY(!QFileInfo::exists(folder)); // nothing made again where the folder was
            };
            break;
        case Failure::TargetIsFolder:
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(WriteAll(target, oldBytes));
            sabotage = [this] {
                QVERIFY(QFile::remove(target));
                QVERIFY(QDir().mkdir(target));
                QVERIFY(WriteAll(target + QStringLiteral("/keep.txt"), keptBytes));
            };
            repair = [this] { QVERIFY(QDir(target).removeRecursively()); };
            checkKept = [this] {
                QVERIFY(QFileInfo(target).isDir());
                QCOMPARE(ReadAll(target + QStringLiteral("/keep.txt")), keptBytes);
                QCOMPARE(Entries(target), QStringList{QStringLiteral("keep.txt")});
                QCOMPARE(Entries(folder), QStringList{QStringLiteral("index.htm")});
            };
            break;
        }
    }

    // Sets the case up, or says why it cannot be had here.
    bool ready(Failure failure) {
        prepare(failure);
        if (QTest::currentTestFailed())
            return false;
        if (failure == Failure::FullDisk && !tmpfs->mounted) {
            const QString why =
                QStringLiteral("cannot mount a small tmpfs at %1 (%2): the full-disk case needs root")
                    .arg(folder, tmpfs->error);
            QTest::qSkip(qPrintable(why), __FILE__, __LINE__);
            return false;
        }
        return true;
    }

    static void addFailureRows(const char* answers, const char* label) {
        const std::pair<const char*, Failure> failures[] = {
            {"full disk", Failure::FullDisk},
            {"folder vanishes", Failure::FolderVanishes},
            {"target is a folder", Failure::TargetIsFolder},
        };
        for (const auto& [name, failure] : failures)
            QTest::addRow("%s, %s", name, label) << failure << QString::fromLatin1(answers);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        // The save dialog keeps its state in the user's settings; here, in a store of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           tmp.filePath(QStringLiteral("config")));
    }

    void cleanup() {
        tmpfs.reset();
        caseDir.reset();
    }

    void saveFlowKeepsTheOldFile_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>(
            "answers"); // a letter a failure prompt: Abort, Ignore, Retry, Fixed-then-retry
        addFailureRows("A", "abort");
        addFailureRows("I", "ignore");
        addFailureRows("RRA", "retry still failing, then abort");
        addFailureRows("F", "retry after the repair");
    }

    void saveFlowKeepsTheOldFile() {
        QFETCH(Failure, failure);
        QFETCH(QString, answers);
        if (!ready(failure))
            return;
        const QString index = BigIndex();

        QFileDialog cdl(&owner);
        cdl.setOption(QFileDialog::DontUseNativeDialog);
        ModalDriver driver;
        driver.expect<QInputDialog>([](QInputDialog* box) {
            box->setTextValue(QStringLiteral("Site"));
            box->accept();
        });
        driver.expect<QFileDialog>([](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(QStringLiteral("index.htm"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        // The dialog asks before it picks the existing page; the failure strikes after that.
        driver.expect<QMessageBox>([this](QMessageBox* box) {
            sabotage();
            box->button(QMessageBox::Yes)->click();
        });
        for (const QChar answer : answers) {
            driver.expect<QMessageBox>([this, answer](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), QStringLiteral("Pagewick"));
                QVERIFY2(box->text().contains(target), qPrintable(box->text()));
                if (answer == u'F')
                    repair();
                box->button(answer == u'A'   ? QMessageBox::Abort
                            : answer == u'I' ? QMessageBox::Ignore
                                             : QMessageBox::Retry)
                    ->click();
            });
        }
        pagewick::SaveIndexPage(&owner, &cdl, folder, index);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u';')));

        if (answers.endsWith(u'F')) {
            QCOMPARE(ReadAll(target), pagewick::BuildPageDocument(QStringLiteral("Site"), index).toUtf8());
            QCOMPARE(Entries(folder), QStringList{QStringLiteral("index.htm")});
        } else {
            checkKept();
        }
    }

    void cliKeepsTheOldFile_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("command");
        for (const char* command : {"page", "rss"}) {
            QTest::addRow("full disk, %s", command) << Failure::FullDisk << QString::fromLatin1(command);
            QTest::addRow("folder gone, %s", command)
                << Failure::FolderVanishes << QString::fromLatin1(command);
            QTest::addRow("target is a folder, %s", command)
                << Failure::TargetIsFolder << QString::fromLatin1(command);
        }
    }

    void cliKeepsTheOldFile() {
        QFETCH(Failure, failure);
        QFETCH(QString, command);
        if (!ready(failure))
            return;
        sabotage();

        // A site whose index outgrows the small file system: one page with a 300 KB title.
        const QString site = caseDir->filePath(QStringLiteral("pages"));
        QVERIFY(QDir().mkpath(site));
        QVERIFY(WriteAll(site + QStringLiteral("/big.htm"),
                         "<title>" + QByteArray("Big title ").repeated(30000) + "</title>"));

        QStringList arguments = {command, site, QStringLiteral("-o"), target};
        if (command == QStringLiteral("page"))
            arguments << QStringLiteral("--title") << QStringLiteral("Site");
        else
            arguments << QStringLiteral("--feed-title") << QStringLiteral("News")
                      << QStringLiteral("--site-url") << QStringLiteral("http://example.org");
        QProcess cli;
        cli.start(QStringLiteral(PAGEWICK_CLI), arguments);
        QVERIFY(cli.waitForFinished(-1));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(cli.readAllStandardOutput(), QByteArray());
        const QByteArray error = cli.readAllStandardError();
        QVERIFY2(error.contains(target.toUtf8()), error.constData());
        checkKept();
    }
};

QTEST_MAIN(SaveFailTest)
#include "tst_savefail.moc"
