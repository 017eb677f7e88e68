#include "engine/files/writefile.h"

#include "engine/files/filename.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagewick {

namespace {

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What stands at a path, its symbolic links followed. Found with stat alone: opening a FIFO to
// look at it would block until someone opens its other end.
struct Target {
    enum Kind {
        Missing, // nothing there yet (a link to nowhere counts: the file it names is created)
        Regular,
        Stream, // a FIFO or a character device
        Other,  // a folder, a block device, a socket, a loop of links
        Unknown // stat failed otherwise; QSaveFile reports the reason
    } kind = Unknown;
    QString what; // for Stream and Other, for a message: "a folder", ...
    struct stat status = {};
};

Target Probe(const QByteArray& name) {
    Target target;
    if (::stat(name.constData(), &target.status) != 0) {
        if (errno == ENOENT)
            target.kind = Target::Missing;
        else if (errno == ELOOP) {
            target.kind = Target::Other;
            target.what = QCoreApplication::translate("pagewick::engine", "a loop of symbolic links");
        }
        return target;
    }
    const mode_t mode = target.status.st_mode;
    target.kind = S_ISREG(mode)                     ? Target::Regular
                  : S_ISFIFO(mode) || S_ISCHR(mode) ? Target::Stream
                                                    : Target::Other;
    target.what = FileKindName(mode);
    return target;
}

QString NotRegular(const Target& target) {
    return QCoreApplication::translate("pagewick::engine",
                                       "it is not a regular file but %1, and was left as it is.")
        .arg(target.what);
}

// Writes all of bytes, or fails with the device's error. The file is unbuffered and every short
// write is followed up, so a full disk or a file-size limit shows as a failed write: QSaveFile's
// own flush at commit ignores such a failure and would rename the short file over the target.
bool WriteAll(QSaveFile& file, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A FIFO or character device is written to in place, as "> path" in a shell would: opened
// without creating or truncating anything. Opening a FIFO waits for its reader, as there.
QString WriteIntoStream(const QByteArray& name, const QByteArray& bytes) {
    int fd;
    do
        fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return SystemError(errno);
    // The target may have been swapped since it was looked at; never write into a regular file
    // in place, which could leave it half-written.
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !(S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))) {
        ::close(fd);
        return QCoreApplication::translate("pagewick::engine",
                                           "it changed while it was being opened; nothing was written.");
    }
    QString failure;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failure = SystemError(written < 0 ? errno : EIO);
            break;
        }
        done += written;
    }
    if (::close(fd) != 0 && failure.isEmpty() && errno != EINTR)
        failure = SystemError(errno);
    return failure;
}

// QSaveFile gives the new file the old one's permission bits only. Root also gives it the old
// owner and group; anyone else keeps the group when they belong to it. A change of owner clears
// the set-user-ID and set-group-ID bits, so the mode is set again afterwards; those bits are kept
// only when the owner and group are the old ones, never on a file that now belongs to us.
void KeepOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither may be given: the new file is ours, in our group.
    }
    struct stat now = {};
    if (::fstat(fd, &now) != 0)
        return;
    const bool sameOwner = now.st_uid == old.st_uid && now.st_gid == old.st_gid;
    if (::fchmod(fd, old.st_mode & (sameOwner ? 07777 : 0777)) != 0) {
        // The permission bits QSaveFile gave it stay.
    }
}

// Puts the written file in the target's place, unless something other than a file has taken
// that place while it was written; the reason when it is not put there.
QString CommitFile(QSaveFile& file, const QByteArray& name, const Target& target) {
    if (target.kind == Target::Regular)
        KeepOwnerAndMode(int(file.handle()), target.status);
    const Target now = Probe(name);
    if (now.kind == Target::Stream || now.kind == Target::Other)
        return NotRegular(now);
    return file.commit() ? QString() : file.errorString();
}

QString ReplaceFile(const QString& path, const QByteArray& name, const Target& target,
                    const QByteArray& bytes) {
    // QSaveFile writes to a temporary file beside the target and renames it over the target only
    // when everything is written; on any failure the temporary file goes and the target stays.
    // A link is followed to the file it names, which is the one replaced.
    QSaveFile file(path);
    QString failure;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failure = file.errorString();
    else if (!WriteAll(file, bytes))
        failure = file.errorString();
    else
        failure = CommitFile(file, name, target);
    if (!failure.isEmpty() && file.isOpen())
        file.cancelWriting();
    return failure;
}

// What goes wrong in writing a file, named.
QString CouldNotWrite(const QString& path, const QString& failure) {
    return QCoreApplication::translate("pagewick::engine", "Could not write %1: %2")
        .arg(QDir::toNativeSeparators(path), failure);
}

} // namespace

bool WriteTextFile(const QString& path, const QString& text, QString* error, SpecialTarget special) {
    const QByteArray name = FileNameToBytes(path);
    const Target target = Probe(name);
    const QByteArray bytes = text.toUtf8();
    QString failure;
    if (target.kind == Target::Stream && special == SpecialTarget::WriteInto)
        failure = WriteIntoStream(name, bytes);
    else if (target.kind == Target::Stream || target.kind == Target::Other)
        failure = NotRegular(target);
    else
        failure = ReplaceFile(path, name, target, bytes);
    if (failure.isEmpty())
        return true;
    if (error)
        *error = CouldNotWrite(path, failure);
    return false;
}

bool WriteTextFileAsMade(const QString& path, const TextMaker& make, QString* error, SpecialTarget special) {
    const QByteArray name = FileNameToBytes(path);
    const Target target = Probe(name);
    if (target.kind == Target::Stream || target.kind == Target::Other) {
        // Never replaced: written into whole, or refused, once the text is made.
        QString text;
        return make([&text](const QString& piece) { text += piece; }) &&
               WriteTextFile(path, text, error, special);
    }
    // As ReplaceFile, with the text encoded and written a few tens of kilobytes at a time. The
    // text is made to its end even when a write fails, so that what stops it from being made is
    // said first, as when it is made whole.
    constexpr qsizetype kPiece = 64 * 1024;
    QSaveFile file(path);
    QString failure;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failure = file.errorString();
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    QByteArray pending;
    const auto writePending = [&] {
        if (failure.isEmpty() && !WriteAll(file, pending))
            failure = file.errorString();
        pending.clear();
    };
    const bool made = make([&](const QString& piece) {
        if (!failure.isEmpty())
            return;
        pending += toUtf8(piece);
        if (pending.size() >= kPiece)
            writePending();
    });
    if (made) {
        writePending();
        if (failure.isEmpty())
            failure = CommitFile(file, name, target);
    }
    if ((!made || !failure.isEmpty()) && file.isOpen())
        file.cancelWriting();
    if (!made)
        return false;
    if (failure.isEmpty())
        return true;
    if (error)
        *error = CouldNotWrite(path, failure);
    return false;
}

int OpenDescriptorOf(const QString& path) {
    const QByteArray name = FileNameToBytes(path);
    struct stat target;
    if (name.isEmpty() || name.contains('\0') || ::stat(name.constData(), &target) != 0 ||
        S_ISDIR(target.st_mode))
        return -1;
    const auto matches = [&target](int fd) {
        struct stat st;
        if (::fstat(fd, &st) != 0 || st.st_dev != target.st_dev || st.st_ino != target.st_ino)
            return false;
        const int flags = ::fcntl(fd, F_GETFL);
        return flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
    };
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (matches(fd))
            return fd;
    }
    int found = -1;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        const int own = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            bool number = false;
            const int fd = QByteArrayView(entry->d_name).toInt(&number);
            if (number && fd != own && fd != STDOUT_FILENO && fd != STDERR_FILENO &&
                (found < 0 || fd < found) && matches(fd))
                found = fd;
        }
        ::closedir(dir);
        return found;
    }
    // Without /proc, every number up to a sane bound is tried.
    struct rlimit limit = {};
    const rlim_t bound =
        ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? std::min<rlim_t>(limit.rlim_cur, 65536) : 1024;
    for (int fd = 0; rlim_t(fd) < bound; ++fd) {
        if (fd != STDOUT_FILENO && fd != STDERR_FILENO && matches(fd))
            return fd;
    }
    return -1;
}

bool WriteIntoDescriptor(int fd, const QString& text, QString* error) {
    // Encoded piece by piece, so a big text is not held twice.
    constexpr qsizetype kPiece = 64 * 1024;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (qsizetype at = 0; at < text.size(); at += kPiece) {
        const QByteArray bytes = toUtf8(QStringView(text).mid(at, kPiece));
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (error)
                    *error = SystemError(written < 0 ? errno : EIO);
                return false;
            }
            done += written;
        }
    }
    return true;
}

QString FileKindName(unsigned mode) {
    if (S_ISDIR(mode))
        return QCoreApplication::translate("pagewick::engine", "a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("pagewick::engine", "a named pipe (FIFO)");
    if (S_ISCHR(mode))
        return QCoreApplication::translate("pagewick::engine", "a character device");
    if (S_ISBLK(mode))
        return QCoreApplication::translate("pagewick::engine", "a block device");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("pagewick::engine", "a socket");
    return QCoreApplication::translate("pagewick::engine", "a special file");
}

} // namespace pagewick
