#include "cli/watch.h"

#include "cli/message.h"

#include "engine/filename.h"
#include "engine/paths.h"
#include "engine/writefile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace pagewick::cli {

namespace {

void Say(const QByteArray& message) {
    const QByteArray line = "pagewick-cli: " + message + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

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

// "*.htm*" in any letter case, the rule pages are listed by.
bool LooksLikePage(QByteArrayView name) {
    for (qsizetype i = 0; i + 4 <= name.size(); ++i) {
        if (name[i] == '.' && (name[i + 1] | 0x20) == 'h' && (name[i + 2] | 0x20) == 't' &&
            (name[i + 3] | 0x20) == 'm')
            return true;
    }
    return false;
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
        Say(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot read folder \"%1\": %2"),
                         {FileNameToBytes(folderText), std::strerror(errno)}));
        return false;
    }
    ::closedir(dir);
    return true;
}

// One inotify watch per folder walked: changes to the files in a folder are reported on the
// folder's watch, so a site of many pages needs no more watches than it has folders.
class FolderWatch {
public:
    // Changes to outputFile itself are not the pages' doing: where it lies among the pages (an
    // index page in the site's folder), writing it must not start another build.
    FolderWatch(const QString& folderText, const WalkOptions& walk, const QString& outputFile)
        : folderText(folderText), walk(walk), fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        const QFileInfo output(outputFile);
        outputFolder = QFileInfo(output.absolutePath()).canonicalFilePath();
        outputName = FileNameToBytes(output.fileName());
    }
    ~FolderWatch() {
        if (fd >= 0)
            ::close(fd);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    int handle() const { return fd; }

    // Watches every folder the walk reaches now; folders already watched keep their watch.
    void update() {
        constexpr uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                                  IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
        for (const QString& folder : WalkPageFiles(folderText, walk).folders) {
            const QString path = folder.isEmpty() ? folderText : PagePath(folderText, folder);
            const int wd = ::inotify_add_watch(fd, FileNameToBytes(path).constData(), mask);
            if (wd >= 0)
                watches.insert(wd, {folder.isEmpty(), QFileInfo(path).canonicalFilePath() == outputFolder});
        }
    }

    // Reads what happened; true when it may change the output.
    bool drain(bool* topGone) {
        alignas(inotify_event) char buffer[16 * 1024];
        bool relevant = false;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return relevant;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                relevant = matters(*event, topGone) || relevant;
            }
        }
    }

private:
    bool matters(const inotify_event& event, bool* topGone) {
        if (event.mask & IN_Q_OVERFLOW)
            return true;
        if (event.mask & IN_IGNORED) {
            if (watches.value(event.wd).top)
                *topGone = true;
            watches.remove(event.wd);
            return true;
        }
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF))
            return true;
        const QByteArrayView name(event.len ? event.name : "");
        if (name.isEmpty())
            return (event.mask & IN_ATTRIB) == 0; // the folder's own times do not show anywhere
        if (name.startsWith('.'))
            return false; // hidden files and folders are never listed
        if (name == outputName && watches.value(event.wd).holdsOutput)
            return false;
        if (LooksLikePage(name))
            return true;
        // A folder, or a link that may lead to one, coming or going changes what a walk finds.
        return walk.recursive && (event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO));
    }

    QString folderText;
    WalkOptions walk;
    int fd;
    struct Watched {
        bool top = false;         // the folder itself, not a sub-folder
        bool holdsOutput = false; // the output file is written here
    };
    QHash<int, Watched> watches;
    QString outputFolder;
    QByteArray outputName;
};

} // namespace

int WatchAndRewrite(const QString& folderText, const WalkOptions& walk, const QString& outputFile,
                    const std::function<std::optional<QString>()>& build) {
    if (!CatchStopSignals()) {
        Say(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot watch for signals: %1"),
                         {std::strerror(errno)}));
        return 1;
    }
    FolderWatch watch(folderText, walk, outputFile);
    if (watch.handle() < 0) {
        Say(MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot watch the folder: %1"),
                         {std::strerror(errno)}));
        return 1;
    }
    // Watching starts before the first build, so no change after it goes unseen.
    watch.update();
    const std::optional<QString> first = build();
    if (!first)
        return 1;
    QString error;
    if (!WriteTextFile(outputFile, *first, &error)) {
        Say(error.toUtf8());
        return 1;
    }

    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(kQuietMilliseconds);
    QSocketNotifier changes(watch.handle(), QSocketNotifier::Read);
    QSocketNotifier stop(signalPipe[0], QSocketNotifier::Read);
    bool topGone = false;

    QObject::connect(&stop, &QSocketNotifier::activated, &loop, [&] { loop.exit(0); });
    QObject::connect(&changes, &QSocketNotifier::activated, &loop, [&] {
        if (watch.drain(&topGone))
            quiet.start(); // each change starts the quiet interval again
    });
    QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
        if (topGone || !FolderReadable(folderText)) {
            if (topGone)
                Say(MessageBytes(QCoreApplication::translate("pagewick::cli", "folder \"%1\" is gone"),
                                 {FileNameToBytes(folderText)}));
            loop.exit(1);
            return;
        }
        watch.update();
        const std::optional<QString> text = build();
        if (!text || text->toUtf8() == ReadAll(outputFile))
            return;
        QString writeError;
        if (WriteTextFile(outputFile, *text, &writeError))
            Say(MessageBytes(QCoreApplication::translate("pagewick::cli", "wrote %1"),
                             {FileNameToBytes(outputFile)}));
        else
            Say(writeError.toUtf8());
    });
    return loop.exec();
}

} // namespace pagewick::cli
