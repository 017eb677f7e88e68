#pragma once

// Things that are not regular files, made where a test wants them, and a way to see afterwards
// that they are still what they were. The device is a private copy of the null device made with
// mknod (root only), never the machine's own /dev/null.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QString>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace special {

enum class Kind {
    Folder,
    Fifo,
    NullDevice,
    Socket,
    LinkLoop,         // path -> path.loop -> path
    LinkToNullDevice, // path -> path.dev, a private null device
};

inline QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Makes a thing of the kind at path. On failure returns false with the reason in why; for the
// device that is usually "not root", which callers turn into a skip.
inline bool Make(Kind kind, const QString& path, QString* why) {
    const QByteArray name = QFile::encodeName(path);
    bool made = false;
    switch (kind) {
    case Kind::Folder:
        made = ::mkdir(name.constData(), 0755) == 0;
        break;
    case Kind::Fifo:
        made = ::mkfifo(name.constData(), 0644) == 0;
        break;
    case Kind::NullDevice:
        made = ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        break;
    case Kind::LinkToNullDevice:
        made = ::mknod((name + ".dev").constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
               ::symlink(QFile::encodeName(QFileInfo(path).fileName() + u".dev"_s).constData(),
                         name.constData()) == 0;
        break;
    case Kind::Socket: {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        if (size_t(name.size()) >= sizeof address.sun_path) {
            *why = u"the path is too long for a socket"_s;
            return false;
        }
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        made = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd); // the socket file stays
        break;
    }
    case Kind::LinkLoop: {
        const QByteArray other = name + ".loop";
        made = ::symlink(QFile::encodeName(QFileInfo(path).fileName() + u".loop"_s).constData(),
                         name.constData()) == 0 &&
               ::symlink(QFile::encodeName(QFileInfo(path).fileName()).constData(), other.constData()) == 0;
        break;
    }
    }
    if (!made)
        *why = u"cannot make %1: %2"_s.arg(path, SystemError());
    return made;
}

// Takes away what Make made.
inline bool Remove(Kind kind, const QString& path) {
    if (kind == Kind::Folder)
        return QDir(path).removeRecursively();
    if (kind == Kind::LinkLoop && ::unlink(QFile::encodeName(path + u".loop"_s).constData()) != 0)
        return false;
    if (kind == Kind::LinkToNullDevice && ::unlink(QFile::encodeName(path + u".dev"_s).constData()) != 0)
        return false;
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

// What is at path, links not followed: type, and the device number or link target, so that a
// test can see that nothing replaced it.
inline QString Describe(const QString& path) {
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return u"nothing (%1)"_s.arg(SystemError());
    const mode_t mode = status.st_mode;
    if (S_ISREG(mode))
        return u"regular file of %1 bytes"_s.arg(status.st_size);
    if (S_ISDIR(mode))
        return u"folder"_s;
    if (S_ISFIFO(mode))
        return u"FIFO"_s;
    if (S_ISSOCK(mode))
        return u"socket"_s;
    if (S_ISCHR(mode))
        return u"character device %1:%2"_s.arg(major(status.st_rdev)).arg(minor(status.st_rdev));
    if (S_ISLNK(mode))
        return u"link to %1"_s.arg(QFile::symLinkTarget(path));
    return u"other"_s;
}

} // namespace special

Q_DECLARE_METATYPE(special::Kind)
