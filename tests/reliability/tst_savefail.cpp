// A save that fails part-way never loses the file it would have replaced: "Save HTML file" through
// its real dialogs, and pagewick-cli -o, on a full file system, into a folder that vanishes, past
// the file-size limit, and onto a target that is not a regular file (a folder, FIFO, device,
// socket or loop of links), which is never replaced. pagewick-cli writes into a FIFO or a device
// as a shell would, and keeps a replaced file's owner and mode.

#include "clirun.h"
#include "engine/output/index.h"
#include "modaldriver.h"
#include "specialfile.h"
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
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Failure {
    FullDisk,
    FolderVanishes,
    FileSizeLimit, // through the command line only: the limit is the process's own
    TargetIsFolder,
    TargetIsFifo,
    TargetIsDevice,
    TargetIsSocket,
    TargetIsLinkLoop,
};

// The thing a target-is-not-a-file case puts where the page was.
std::optional<special::Kind> SpecialKind(Failure failure) {
    switch (failure) {
    case Failure::TargetIsFolder:
        return special::Kind::Folder;
    case Failure::TargetIsFifo:
        return special::Kind::Fifo;
    case Failure::TargetIsDevice:
        return special::Kind::NullDevice;
    case Failure::TargetIsSocket:
        return special::Kind::Socket;
    case Failure::TargetIsLinkLoop:
        return special::Kind::LinkLoop;
    default:
        return std::nullopt;
    }
}

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
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

// An index far bigger than the small file system: about 300 KB.
QString BigIndex() {
    QString index = u"<ul>\r\n"_s;
    for (int i = 0; i < 4000; ++i)
        index += u"<li><a href=\"page%1.htm\">Page number %1 of a big site</a>\r\n"_s.arg(i);
    return index + u"</ul>"_s;
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
    std::function<void()> checkKept; // the old file, or the thing in its place, is as it was
    QString skipReason;              // why the case cannot be had here
    QString madeLike;                // what the thing put in the page's place looks like

    // Sets the case up: the old page in place, and how the write will fail.
    void prepare(Failure failure) {
        caseDir = std::make_unique<QTemporaryDir>(tmp.filePath(u"case-XXXXXX"_s));
        QVERIFY(caseDir->isValid());
        folder = caseDir->filePath(u"site"_s);
        moved = caseDir->filePath(u"site-moved"_s);
        target = folder + u"/index.htm"_s;
        sabotage = [] {};
        skipReason.clear();
        switch (failure) {
        case Failure::FullDisk:
            tmpfs = std::make_unique<SmallTmpfs>(folder);
            if (!tmpfs->mounted) {
                skipReason = u"cannot mount a small tmpfs at %1 (%2): the full-disk case needs root"_s.arg(
                    folder, tmpfs->error);
                return;
            }
            QVERIFY(WriteAll(target, oldBytes));
            repair = [this] { QVERIFY(tmpfs->grow()); };
            checkKept = [this] {
                QCOMPARE(ReadAll(target), oldBytes);
                QCOMPARE(Entries(folder), QStringList{u"index.htm"_s});
            };
            break;
        case Failure::FolderVanishes:
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(WriteAll(target, oldBytes));
            sabotage = [this] { QVERIFY(QDir().rename(folder, moved)); };
            repair = [this] { QVERIFY(QDir().rename(moved, folder)); };
            checkKept = [this] {
                QCOMPARE(ReadAll(moved + u"/index.htm"_s), oldBytes);
                QCOMPARE(Entries(moved), QStringList{u"index.htm"_s});
                QVERIFY(!QFileInfo::exists(folder)); // nothing made again where the folder was
            };
            break;
        case Failure::FileSizeLimit:
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(WriteAll(target, oldBytes));
            checkKept = [this] {
                QCOMPARE(ReadAll(target), oldBytes);
                QCOMPARE(Entries(folder), QStringList{u"index.htm"_s});
            };
            break;
        default: {
            // The page is there when the file is chosen; then something else takes its place.
            const special::Kind kind = *SpecialKind(failure);
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(WriteAll(target, oldBytes));
            // Made once up front, to know whether it can be made here at all.
            QVERIFY(QFile::remove(target));
            if (!special::Make(kind, target, &skipReason))
                return;
            madeLike = special::Describe(target);
            QVERIFY(special::Remove(kind, target));
            QVERIFY(WriteAll(target, oldBytes));
            sabotage = [this, kind] {
                QVERIFY(QFile::remove(target));
                QString why;
                QVERIFY2(special::Make(kind, target, &why), qPrintable(why));
                if (kind == special::Kind::Folder)
                    QVERIFY(WriteAll(target + u"/keep.txt"_s, keptBytes));
            };
            repair = [this, kind] { QVERIFY(special::Remove(kind, target)); };
            checkKept = [this, kind] {
                QCOMPARE(special::Describe(target), madeLike);
                if (kind == special::Kind::Folder) {
                    QCOMPARE(ReadAll(target + u"/keep.txt"_s), keptBytes);
                    QCOMPARE(Entries(target), QStringList{u"keep.txt"_s});
                }
                QStringList entries{u"index.htm"_s};
                if (kind == special::Kind::LinkLoop)
                    entries << u"index.htm.loop"_s;
                QCOMPARE(Entries(folder), entries);
            };
            break;
        }
        }
    }

    // Sets the case up, or says why it cannot be had here.
    bool ready(Failure failure) {
        prepare(failure);
        if (QTest::currentTestFailed())
            return false;
        if (!skipReason.isEmpty()) {
            QTest::qSkip(qPrintable(skipReason), __FILE__, __LINE__);
            return false;
        }
        return true;
    }

    // Every way a save can fail, with the given answers to the failure prompt. The targets that
    // are not files only with the answers that differ for them: give up, and retry once it is gone.
    static void addFailureRows(const char* answers, const char* label) {
        const std::pair<const char*, Failure> failures[] = {
            {"full disk", Failure::FullDisk},
            {"folder vanishes", Failure::FolderVanishes},
            {"target is a folder", Failure::TargetIsFolder},
            {"target is a FIFO", Failure::TargetIsFifo},
            {"target is a device", Failure::TargetIsDevice},
            {"target is a socket", Failure::TargetIsSocket},
            {"target is a loop of links", Failure::TargetIsLinkLoop},
        };
        const bool allTargets = std::strchr(answers, 'A') || std::strchr(answers, 'F');
        for (const auto& [name, failure] : failures) {
            if (allTargets || !SpecialKind(failure) || failure == Failure::TargetIsFolder)
                QTest::addRow("%s, %s", name, label) << failure << QString::fromLatin1(answers);
        }
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        // The save dialog keeps its state in the user's settings; here, in a store of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.filePath(u"config"_s));
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
        for (const QChar answer : answers) {
            if (!u"AIRF"_s.contains(answer))
                QFAIL(qPrintable(u"no such answer: "_s + answer));
        }
        if (!ready(failure))
            return;
        const QString index = BigIndex();

        QFileDialog cdl(&owner);
        cdl.setOption(QFileDialog::DontUseNativeDialog);
        ModalDriver driver;
        driver.expect<QInputDialog>([](QInputDialog* box) {
            box->setTextValue(u"Site"_s);
            box->accept();
        });
        driver.expect<QFileDialog>([](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(u"index.htm"_s);
            QTest::keyClick(name, Qt::Key_Return);
        });
        // The dialog asks before it picks the existing page; the failure strikes after that.
        driver.expect<QMessageBox>([this](QMessageBox* box) {
            sabotage();
            box->button(QMessageBox::Yes)->click();
        });
        for (const QChar answer : answers) {
            driver.expect<QMessageBox>([this, answer, failure](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), u"Pagewick"_s);
                QVERIFY2(box->text().contains(target), qPrintable(box->text()));
                if (SpecialKind(failure))
                    QVERIFY2(box->text().contains(u"is not a regular file"_s), qPrintable(box->text()));
                if (answer == u'F')
                    repair();
                box->button(answer == u'A'   ? QMessageBox::Abort
                            : answer == u'I' ? QMessageBox::Ignore
                                             : QMessageBox::Retry)
                    ->click();
            });
        }
        QString lastFileName;
        pagewick::SaveIndexPage(&owner, &cdl, &lastFileName, folder, index);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u';')));

        if (answers.endsWith(u'F')) {
            QCOMPARE(ReadAll(target), pagewick::BuildPageDocument(u"Site"_s, index).toUtf8());
            QCOMPARE(Entries(folder), QStringList{u"index.htm"_s});
        } else {
            checkKept();
        }
    }

    void cliKeepsTheOldFile_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("pages"); // 1: one page with a huge title; more: that many small pages
        for (const char* command : {"page", "rss"}) {
            QTest::addRow("full disk, %s", command) << Failure::FullDisk << QString::fromLatin1(command) << 1;
            QTest::addRow("folder gone, %s", command)
                << Failure::FolderVanishes << QString::fromLatin1(command) << 1;
            QTest::addRow("target is a folder, %s", command)
                << Failure::TargetIsFolder << QString::fromLatin1(command) << 1;
            QTest::addRow("file-size limit, %s", command)
                << Failure::FileSizeLimit << QString::fromLatin1(command) << 1;
        }
        // A FIFO or a device is written into (see cliWritesWhereTold); these are refused.
        QTest::newRow("target is a socket, page") << Failure::TargetIsSocket << u"page"_s << 1;
        QTest::newRow("target is a loop of links, page") << Failure::TargetIsLinkLoop << u"page"_s << 1;
        // The file is written as the output is made: the failure strikes after many pieces were
        // written, and still only the temporary file is lost.
        QTest::newRow("full disk part-way, atom") << Failure::FullDisk << u"atom"_s << 2000;
        QTest::newRow("file-size limit part-way, index") << Failure::FileSizeLimit << u"index"_s << 2000;
    }

    void cliKeepsTheOldFile() {
        QFETCH(Failure, failure);
        QFETCH(QString, command);
        QFETCH(int, pages);
        if (!ready(failure))
            return;
        sabotage();

        // A site whose output outgrows the small file system: one page with a 300 KB title, or
        // many pages whose index or feed takes hundreds of kilobytes.
        const QString site = caseDir->filePath(u"pages"_s);
        QVERIFY(QDir().mkpath(site));
        if (pages == 1) {
            QVERIFY(WriteAll(site + u"/big.htm"_s,
                             "<title>" + QByteArray("Big title ").repeated(30000) + "</title>"));
        }
        for (int i = 0; i < pages && pages > 1; ++i) {
            QVERIFY(WriteAll(site + u"/page-%1.htm"_s.arg(i), "<title>Page " + QByteArray::number(i) +
                                                                  " of a site big enough to write "
                                                                  "its output in many pieces</title>"));
        }

        QStringList arguments = {command, site, u"-o"_s, target};
        if (command == u"page"_s)
            arguments << u"--title"_s << u"Site"_s;
        else if (command == u"atom"_s)
            arguments << u"--feed-title"_s << u"News"_s << u"--site-url"_s << u"http://example.org"_s
                      << u"--feed-url"_s << u"http://example.org/atom.xml"_s;
        else if (command == u"rss"_s)
            arguments << u"--feed-title"_s << u"News"_s << u"--site-url"_s << u"http://example.org"_s;
        else if (command != u"index"_s)
            QFAIL(qPrintable(u"no such command: "_s + command));
        QProcess cli;
        if (failure == Failure::FileSizeLimit) {
            // Far below the 300 KB output, above the old page. The signal that the limit raises
            // is left as it comes, so the program must deal with it itself.
            cli.setChildProcessModifier([] {
                const rlimit limit{64 * 1024, 64 * 1024};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::signal(SIGXFSZ, SIG_DFL);
            });
        }
        const CliResult run = RunCli(cli, QStringLiteral(PAGEWICK_CLI), arguments);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        const QByteArray error = run.err;
        QVERIFY2(error.contains(target.toUtf8()), error.constData());
        if (SpecialKind(failure))
            QVERIFY2(error.contains("is not a regular file"), error.constData());
        if (failure == Failure::FileSizeLimit)
            QVERIFY2(error.contains(std::strerror(EFBIG)), error.constData());
        checkKept();
    }

    // -o writes into a FIFO or a character device as a shell redirection would, leaving it what it
    // was; "-" and /dev/stdout (here a pipe) are standard output. A regular file is replaced by a
    // new one with the old owner, group and mode, so a hard link to the old one keeps the old text.
    void cliWritesWhereTold_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("link to a FIFO") << u"link-to-fifo"_s;
        QTest::newRow("character device") << u"null"_s;
        QTest::newRow("dash") << u"-"_s;
        QTest::newRow("/dev/stdout in a pipe") << u"/dev/stdout"_s;
        QTest::newRow("/dev/stdout appending to a file") << u"/dev/stdout >>"_s;
        QTest::newRow("file of another owner") << u"owned"_s;
        QTest::newRow("hard-linked file") << u"linked"_s;
    }

    void cliWritesWhereTold() {
        QFETCH(QString, target);
        if (!QStringList{u"fifo"_s, u"link-to-fifo"_s, u"null"_s, u"-"_s, u"/dev/stdout"_s,
                         u"/dev/stdout >>"_s, u"owned"_s, u"linked"_s}
                 .contains(target))
            QFAIL(qPrintable(u"no such target: "_s + target));
        caseDir = std::make_unique<QTemporaryDir>(tmp.filePath(u"case-XXXXXX"_s));
        QVERIFY(caseDir->isValid());
        const QString site = caseDir->filePath(u"site"_s);
        QVERIFY(QDir().mkpath(site));
        QVERIFY(WriteAll(site + u"/a.htm"_s, "<title>Alpha</title>"));
        const QByteArray page =
            pagewick::BuildPageDocument(u"Site"_s, u"<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n</ul>"_s)
                .toUtf8();

        const bool appending = target == u"/dev/stdout >>"_s;
        const QString path = appending                                   ? u"/dev/stdout"_s
                             : target.startsWith(u'/') || target == u'-' ? target
                                                                         : caseDir->filePath(target);
        const QString appended = caseDir->filePath(u"appended"_s);
        QString why;
        int reader = -1;
        struct stat before = {};
        if (target == u"fifo"_s || target == u"link-to-fifo"_s) {
            QVERIFY2(special::Make(special::Kind::Fifo, caseDir->filePath(u"fifo"_s), &why), qPrintable(why));
            QVERIFY(QFile::link(u"fifo"_s, caseDir->filePath(u"link-to-fifo"_s)));
            // Opened for reading first, without waiting, so that the program's open finds a reader.
            reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
        } else if (target == u"null"_s) {
            if (!special::Make(special::Kind::NullDevice, path, &why))
                QSKIP(qPrintable(why + u" (a private device needs root)"_s));
        } else if (target == u"owned"_s || target == u"linked"_s) {
            QVERIFY(WriteAll(path, oldBytes));
            if (target == u"owned"_s && (::chown(QFile::encodeName(path).constData(), 4321, 8765) != 0 ||
                                         ::chmod(QFile::encodeName(path).constData(), 0604) != 0))
                QSKIP("giving a file to another user needs root");
            if (target == u"linked"_s)
                QVERIFY(::link(QFile::encodeName(path).constData(),
                               QFile::encodeName(caseDir->filePath(u"other-name"_s)).constData()) == 0);
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        }
        const QString was = path.startsWith(u'/') ? special::Describe(path) : QString();

        QProcess cli;
        if (appending) {
            QVERIFY(WriteAll(appended, "what the shell wrote first\n"));
            cli.setStandardOutputFile(appended, QIODevice::Append);
        }
        const CliResult run = RunCli(cli, QStringLiteral(PAGEWICK_CLI),
                                     {u"page"_s, site, u"--title"_s, u"Site"_s, u"-o"_s, path});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QByteArray out = run.out;

        if (reader >= 0) {
            QByteArray got(page.size() + 100, '\0');
            const ssize_t n = ::read(reader, got.data(), size_t(got.size()));
            ::close(reader);
            QCOMPARE(got.left(qMax<ssize_t>(n, 0)), page);
        }
        if (appending)
            QCOMPARE(ReadAll(appended), "what the shell wrote first\n" + page);
        else if (target == u'-' || target.startsWith(u'/'))
            QCOMPARE(out, page);
        else
            QCOMPARE(out, QByteArray());
        if (target == u"owned"_s || target == u"linked"_s) {
            QCOMPARE(ReadAll(path), page);
            struct stat after = {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
            QCOMPARE(after.st_uid, before.st_uid);
            QCOMPARE(after.st_gid, before.st_gid);
            QCOMPARE(after.st_mode, before.st_mode);
            if (target == u"linked"_s) {
                QVERIFY(after.st_ino != before.st_ino);
                QCOMPARE(ReadAll(caseDir->filePath(u"other-name"_s)), oldBytes);
            }
        } else if (!was.isEmpty()) {
            QCOMPARE(special::Describe(path), was); // the FIFO, the link or the device as it was
        }
    }
};

QTEST_MAIN(SaveFailTest)
#include "tst_savefail.moc"
