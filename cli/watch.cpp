#include "cli/watch.h"

#include "cli/message.h"

#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/files/writefile.h"
#include "engine/listing/scan.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pagewick::cli {

namespace {

// SIGINT and SIGTERM only write a byte to this pipe; the event loop reads it and ends, so a
// signal never cuts a write short.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool CatchStopSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the folder can still be opened; says why not when it cannot.
bool FolderReadable(const QString& folderText) {
    const QByteArray path = FileNameToBytes(EnsureTrailingSeparator(folderText));
    DIR* dir = ::opendir(path.constData());
    if (!dir) {
        PrintError(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot read folder \"%1\": %2"),
                                {FileNameToBytes(folderText), std::strerror(errno)}));
        return false;
    }
    ::closedir(dir);
    return true;
}

using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> IdOf(const QByteArray& path) {
    struct stat st;
    if (path.contains('\0') || ::stat(path.constData(), &st) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

// The name through which an open folder can be watched whatever the length of its path.
QByteArray DescriptorPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// What a failed inotify_add_watch means, in words that say what to do about it.
QByteArray WatchError(int error) {
    if (error == ENOSPC)
        return QCoreApplication::translate(
                   "pagewick::cli",
                   "the user's limit of inotify watches is reached (fs.inotify.max_user_watches)")
            .toUtf8();
    return std::strerror(error);
}

// One inotify watch per folder walked: changes to the files in a folder are reported on the
// folder's watch, so a site of many pages needs no more watches than it has folders. The folder
// that holds the watched folder is watched too, for its name: a link switched to another folder
// (the usual atomic deploy) or a folder removed and made again is then watched afresh.
class FolderWatch {
public:
    // Changes to outputFile itself are not the pages' doing: where it lies among the pages (an
    // index page in the site's folder), writing it must not start another build.
    FolderWatch(const QString& folderText, const WalkOptions& walk, const QString& outputFile)
        : folderText(folderText), walk(walk) {
        fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        initError = fd < 0 ? errno : 0;
        const QFileInfo output(outputFile);
        outputFolder = IdOf(FileNameToBytes(output.absolutePath()));
        outputName = FileNameToBytes(output.fileName());
        const QString absolute = QDir::cleanPath(QFileInfo(folderText).absoluteFilePath());
        topName = FileNameToBytes(QFileInfo(absolute).fileName());
        if (!topName.isEmpty())
            parentPath = FileNameToBytes(QFileInfo(absolute).absolutePath());
        useDescriptors = ::access("/proc/self/fd", X_OK) == 0;
    }
    ~FolderWatch() {
        if (fd >= 0)
            ::close(fd);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    int handle() const { return fd; }
    int error() const { return initError; }

    // Watches the folder of each file too: an editor that saves by renaming a new file into the
    // old one's place would leave a watch on the file itself behind.
    // Takes effect with the next update().
    void watchFiles(const QStringList& files) { watchedFiles = files; }

    // Watches the folder and every folder the walk reaches now; folders already watched keep
    // their watch. A folder that is now another one (a link switched, a folder made again) is
    // watched from scratch. Sub-folders that cannot be watched are named; false, having said why,
    // when the folder itself cannot be.
    bool update() {
        const QByteArray path = FileNameToBytes(EnsureTrailingSeparator(folderText));
        const int top = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st;
        if (top < 0 || ::fstat(top, &st) != 0) {
            PrintError(
                MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot watch folder \"%1\": %2"),
                             {FileNameToBytes(folderText), std::strerror(errno)}));
            if (top >= 0)
                ::close(top);
            return false;
        }
        if (topId != FileId{st.st_dev, st.st_ino}) {
            for (auto it = watches.cbegin(); it != watches.cend(); ++it)
                ::inotify_rm_watch(fd, it.key());
            watches.clear();
            reported.clear();
            topId = FileId{st.st_dev, st.st_ino};
        }
        // A watched file's folder may have been among those just dropped (a template beside the
        // pages), or its path may lead elsewhere now (through a switched link, to a folder made
        // again).
        rewatchFiles();
        const int wd = addWatch(top, path);
        if (wd < 0) {
            PrintError(MessageBytes(
                QCoreApplication::translate("pagewick::cli",
                                            "cannot watch folder \"%1\": %2; its changes would go unseen"),
                {FileNameToBytes(folderText), WatchError(errno)}));
            ::close(top);
            return false;
        }
        watches[wd] = {true, outputFolder == topId};
        // Where the folder really is, to name the sub-folders that cannot be watched by their
        // place in it.
        char real[4096];
        const ssize_t length =
            useDescriptors ? ::readlink(DescriptorPath(top).constData(), real, sizeof real) : -1;
        topReal = length > 0 && length < ssize_t(sizeof real) ? QByteArray(real, length) + '/' : QByteArray();
        ::close(top);
        if (parentWd < 0 && !parentPath.isEmpty()) {
            parentWd = ::inotify_add_watch(fd, parentPath.constData(),
                                           IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR);
            if (parentWd < 0 && !parentReported) {
                parentReported = true;
                PrintError(MessageBytes(
                    QCoreApplication::translate("pagewick::cli",
                                                "cannot watch folder \"%1\": %2; a new folder or link "
                                                "in the place of \"%3\" would go unseen"),
                    {parentPath, WatchError(errno), FileNameToBytes(folderText)}));
            }
        }
        if (walk.recursive)
            watchSubFolders();
        return true;
    }

    // Reads what happened; true when it may change the output.
    bool drain() {
        alignas(inotify_event) char buffer[16 * 1024];
        bool relevant = false;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return relevant;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                relevant = matters(*event) || relevant;
            }
        }
    }

private:
    static constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                                      IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    // Folders that cannot be watched are named one by one up to this many at a time.
    static constexpr int kNamed = 5;

    // (Re)adds the watch of each watched file's folder, as the files' paths lead now.
    void rewatchFiles() {
        fileNames.clear();
        for (const QString& file : std::as_const(watchedFiles)) {
            const QFileInfo info(file);
            const int wd = ::inotify_add_watch(fd, FileNameToBytes(info.absolutePath()).constData(), kMask);
            if (wd >= 0 && !fileNames[wd].contains(FileNameToBytes(info.fileName())))
                fileNames[wd].append(FileNameToBytes(info.fileName()));
        }
    }

    int addWatch(int folderFd, const QByteArray& path) {
        return ::inotify_add_watch(
            fd, useDescriptors ? DescriptorPath(folderFd).constData() : path.constData(), kMask);
    }

    void watchSubFolders() {
        QList<QByteArray> failed;
        qsizetype unnamed = 0;
        WalkOptions options = walk;
        const auto tryWatch = [&](int folderFd, const QByteArray& path) {
            struct stat st;
            const bool known = ::fstat(folderFd, &st) == 0;
            const int wd = addWatch(folderFd, path);
            if (wd >= 0) {
                if (!watches.contains(wd))
                    watches.insert(wd, {false, known && outputFolder == FileId{st.st_dev, st.st_ino}});
                return;
            }
            const int error = errno;
            if (known && reported.contains({st.st_dev, st.st_ino}))
                return;
            if (known)
                reported.insert({st.st_dev, st.st_ino});
            if (failed.size() >= kNamed) {
                ++unnamed;
                return;
            }
            QByteArray name = path;
            if (name.isEmpty()) {
                char target[4096];
                const ssize_t n = ::readlink(DescriptorPath(folderFd).constData(), target, sizeof target);
                name = n > 0 && n < ssize_t(sizeof target)
                           ? QByteArray(target, n)
                           : QCoreApplication::translate("pagewick::cli", "(a folder too deep to name)")
                                 .toUtf8();
                if (!topReal.isEmpty() && name.startsWith(topReal))
                    name = FileNameToBytes(EnsureTrailingSeparator(folderText)) + name.sliced(topReal.size());
            }
            failed.append(
                MessageBytes(QCoreApplication::translate(
                                 "pagewick::cli", "cannot watch folder \"%1\": %2; its changes are not seen"),
                             {name, WatchError(error)}));
        };
        if (useDescriptors) {
            options.visitFolder = [&](int folderFd) { tryWatch(folderFd, QByteArray()); };
            WalkPageFiles(folderText, options);
        } else {
            options.listFolders = true;
            for (const QString& folder : WalkPageFiles(folderText, options).folders) {
                const QByteArray path =
                    FileNameToBytes(folder.isEmpty() ? folderText : PagePath(folderText, folder));
                const int folderFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (folderFd >= 0) {
                    tryWatch(folderFd, path);
                    ::close(folderFd);
                }
            }
        }
        for (const QByteArray& line : std::as_const(failed))
            PrintError(line);
        if (unnamed > 0)
            PrintError(
                MessageBytes(QCoreApplication::translate(
                                 "pagewick::cli", "cannot watch %1 more folders; their changes are not seen"),
                             {QByteArray::number(unnamed)}));
    }

    bool matters(const inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW)
            return true;
        const QByteArrayView name(event.len ? event.name : "");
        if (event.wd == parentWd) {
            // Only the watched folder's own name: a link switched, the folder removed or made.
            if (event.mask & IN_IGNORED)
                parentWd = -1;
            return name == topName;
        }
        if (event.mask & IN_IGNORED) {
            watches.remove(event.wd);
            if (fileNames.contains(event.wd))
                rewatchFiles(); // a watched file's folder went: watch where its path leads now
            return true;
        }
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF))
            return true;
        if (!name.isEmpty() && fileNames.value(event.wd).contains(name))
            return true;
        if (!watches.contains(event.wd))
            return false; // another file beside a watched one
        if (name.isEmpty())
            return (event.mask & IN_ATTRIB) == 0; // the folder's own times do not show anywhere
        if (name.startsWith('.'))
            return false; // hidden files and folders are never listed
        if (name == outputName && watches.value(event.wd).holdsOutput)
            return false;
        if (MatchesPagePattern(name))
            return true;
        // A folder, or a link that may lead to one, coming or going changes what a walk finds; so
        // does a folder that becomes readable (or stops being).
        return walk.recursive && ((event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) ||
                                  (event.mask & (IN_ATTRIB | IN_ISDIR)) == (IN_ATTRIB | IN_ISDIR));
    }

    QString folderText;
    WalkOptions walk;
    int fd = -1;
    int initError = 0;
    bool useDescriptors = true;
    struct Watched {
        bool top = false;         // the folder itself, not a sub-folder
        bool holdsOutput = false; // the output file is written here
    };
    QHash<int, Watched> watches;
    QStringList watchedFiles;             // files watched besides the pages (a page template)
    QHash<int, QByteArrayList> fileNames; // their names, by the watch of their folder
    std::optional<FileId> topId;
    std::set<FileId> reported; // folders already named as not watched
    std::optional<FileId> outputFolder;
    QByteArray outputName;
    QByteArray topReal;    // the watched folder's real path, with a final "/"
    QByteArray topName;    // the watched folder's name in its parent
    QByteArray parentPath; // and that parent, watched for the name
    int parentWd = -1;
    bool parentReported = false;
};

} // namespace

int WatchAndRewrite(const QString& folderText, const WalkOptions& walk, const QString& outputFile,
                    const std::function<std::optional<QString>()>& build, const QStringList& alsoWatched) {
    if (!CatchStopSignals()) {
        PrintError(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot watch for signals: %1"),
                                {std::strerror(errno)}));
        return 1;
    }
    FolderWatch watch(folderText, walk, outputFile);
    if (watch.handle() < 0) {
        PrintError(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot watch the folder: %1"),
                                {std::strerror(watch.error())}));
        return 1;
    }
    // Watching starts before the first build, so no change after it goes unseen.
    watch.watchFiles(alsoWatched);
    if (!watch.update())
        return 1;
    const std::optional<QString> first = build();
    if (!first)
        return 1;
    QString error;
    if (!WriteTextFile(outputFile, *first, &error)) {
        PrintError(error.toUtf8());
        return 1;
    }

    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(kQuietMilliseconds);
    QSocketNotifier changes(watch.handle(), QSocketNotifier::Read);
    QSocketNotifier stop(signalPipe[0], QSocketNotifier::Read);

    QObject::connect(&stop, &QSocketNotifier::activated, &loop, [&] { loop.exit(0); });
    QObject::connect(&changes, &QSocketNotifier::activated, &loop, [&] {
        if (watch.drain())
            quiet.start(); // each change starts the quiet interval again
    });
    QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
        // The folder gone for good, or no longer watchable: never go on blind.
        if (!FolderReadable(folderText) || !watch.update()) {
            loop.exit(1);
            return;
        }
        const std::optional<QString> text = build();
        if (!text || text->toUtf8() == ReadAll(outputFile))
            return;
        QString writeError;
        if (WriteTextFile(outputFile, *text, &writeError))
            PrintError(MessageBytes(QCoreApplication::translate("pagewick::cli", "wrote %1"),
                                    {FileNameToBytes(outputFile)}));
        else
            PrintError(writeError.toUtf8());
    });
    return loop.exec();
}

} // namespace pagewick::cli
