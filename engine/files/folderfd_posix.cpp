#include "engine/files/folderfd_p.h"

#include <QByteArray>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace pagewick::detail {

namespace {

int OpenOne(int atFd, const char* name, int flags) {
    int fd;
    do
        fd = ::openat(atFd, name, flags | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

constexpr int kStepFlags = O_PATH;

} // namespace

int OpenFolderAt(int baseFd, QByteArrayView relative, int flags) {
    if (relative.contains('\0')) {
        errno = ENOENT;
        return -1;
    }
    if (relative.size() < PATH_MAX)
        return OpenOne(baseFd, relative.toByteArray().constData(), flags);
    // Each part is a name of its own: the system's limit on a whole path does not apply.
    int at = baseFd;
    qsizetype from = 0;
    QByteArray part;
    while (from < relative.size()) {
        qsizetype slash = relative.indexOf('/', from);
        if (slash < 0)
            slash = relative.size();
        part = relative.sliced(from, slash - from).toByteArray();
        from = slash + 1;
        // The last part, and nothing but empty parts after it, is opened as asked.
        qsizetype rest = slash;
        while (rest < relative.size() && relative[rest] == '/')
            ++rest;
        if (part.isEmpty()) {
            if (from == 1 && at == baseFd) {
                // An absolute path starts from the root.
                const int root = OpenOne(AT_FDCWD, "/", kStepFlags);
                if (root < 0)
                    return -1;
                at = root;
            }
            continue;
        }
        const bool last = rest >= relative.size();
        const int next = OpenOne(at, part.constData(), last ? flags : kStepFlags);
        const int saved = errno;
        if (at != baseFd)
            ::close(at);
        if (next < 0) {
            errno = saved;
            return -1;
        }
        at = next;
        if (last)
            return at;
    }
    // Nothing but separators: the folder reached so far itself.
    const int fd = OpenOne(at, ".", flags);
    const int saved = errno;
    if (at != baseFd)
        ::close(at);
    errno = saved;
    return fd;
}

} // namespace pagewick::detail
