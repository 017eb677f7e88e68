// Page files read through POSIX file descriptors: pages are opened relative to their folder,
// without blocking, and holes in sparse files are skipped rather than read.

#include "engine/files/filename.h"
#include "engine/files/folderfd_p.h"
#include "engine/files/paths.h"
#include "engine/reading/pagereader.h"
#include "engine/reading/pagereader_p.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagewick {

namespace detail {

namespace {

QDateTime FromTimespec(const timespec& t) {
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000, Qt::UTC);
}

// A page costs one open, one read and one close when its title is in its first few kilobytes: the
// size is learned from the read itself (a short read is the end of the page), and nothing is
// asked of the file beyond its bytes. Its type is asked (one fstat) only when a read hints that it
// may not be a regular file: a read that fails or finds nothing at the start (a FIFO, a folder), a
// block of zeros (a hole, or a device of zeros), or a page that goes on past a megabyte (a device
// that never ends). The date is asked only when wanted.
class FdSource : public PageSource {
public:
    explicit FdSource(int fd) : fd(fd) {}
    FdSource(int fd, const struct stat& known) : fd(fd), st(known), statDone(true), statOk(true) {}
    ~FdSource() override { ::close(fd); }

    qsizetype readAt(qint64 offset, char* into, qsizetype want) override {
        if (offset + want > kTrustedBytes && !regular())
            return -1;
        const qsizetype n = read(offset, into, want);
        if ((n < 0 || (n == 0 && offset == 0)) && !regular())
            return -1;
        zerosBefore = n >= kZeroBlock && EndsInZeros(into, n);
        return n;
    }

    qsizetype readDataFrom(qint64 offset, char* into, qsizetype want, qint64* dataAt) override {
        *dataAt = offset;
        // Holes are looked for only after a read that ended in zeros, and only in a file with
        // fewer blocks than its size needs.
        if (zerosBefore && regular() && sparse()) {
            const off_t data = ::lseek(fd, off_t(offset), SEEK_DATA);
            if (data < 0 && errno == ENXIO) {
                // No data from here on: the rest, up to the size, is one hole.
                *dataAt = std::max<qint64>(offset, qint64(st.st_size));
                return 0;
            }
            if (data > offset)
                *dataAt = data;
        }
        return readAt(*dataAt, into, want);
    }

    QDateTime lastModified() const override { return stat() ? FromTimespec(st.st_mtim) : QDateTime(); }
    qint64 byteSize() const override { return stat() ? qint64(st.st_size) : -1; }

    bool notRegular() override { return !regular(); }

private:
    // A page may go on this far before it is asked whether it is a file at all.
    static constexpr qint64 kTrustedBytes = 1024 * 1024;
    static constexpr qsizetype kZeroBlock = 512;

    static bool EndsInZeros(const char* bytes, qsizetype n) {
        if (bytes[n - 1] != 0)
            return false;
        for (qsizetype i = n - kZeroBlock; i < n; ++i) {
            if (bytes[i] != 0)
                return false;
        }
        return true;
    }

    qsizetype read(qint64 offset, char* into, qsizetype want) const {
        for (;;) {
            const ssize_t n = ::pread(fd, into, size_t(want), off_t(offset));
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }

    // The file's type and times, asked once, when first needed.
    bool stat() const {
        if (!statDone)
            statOk = ::fstat(fd, &st) == 0;
        statDone = true;
        return statOk;
    }
    bool regular() const { return stat() && S_ISREG(st.st_mode); }
    // Fewer blocks than the size needs: the file has holes worth looking for.
    bool sparse() const { return qint64(st.st_blocks) * 512 < qint64(st.st_size); }

    int fd;
    mutable struct stat st = {};
    mutable bool statDone = false;
    mutable bool statOk = false;
    bool zerosBefore = false;
};

// A folder is opened only to open pages relative to it.
constexpr int kFolderOpenFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

std::unique_ptr<PageSource> Failed(QString* whyNot, const QString& reason) {
    if (whyNot)
        *whyNot = reason;
    return nullptr;
}

// In English whatever the locale: the reasons end up in the site check's report, which reads the
// same in every language.
QString ErrorText(int error) {
    const char* description = strerrordesc_np(error);
    return description ? QString::fromLatin1(description) : QStringLiteral("error %1").arg(error);
}

// A listed page was a regular file when the folder was listed (its directory entry, or a stat of a
// link, said so): it is opened without asking again. With checkType (a page named on its own) the
// type is asked first, and only a regular file is read.
std::unique_ptr<PageSource> OpenAt(int folderFd, QByteArrayView path, QString* whyNot,
                                   bool checkType = false) {
    // The view ends where its bytes end (a whole QByteArray, or the end of one).
    if (path.isEmpty() || path.contains('\0'))
        return Failed(whyNot, ErrorText(ENOENT));
    // Non-blocking, so that opening a FIFO returns at once, and reading one (or a terminal) never
    // waits; the source reads only regular files.
    const int fd = ::openat(folderFd, path.data(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(whyNot, ErrorText(errno));
    if (!checkType)
        return std::make_unique<FdSource>(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failed(whyNot, NotRegularFile());
    }
    return std::make_unique<FdSource>(fd, st);
}

} // namespace

PageFolder::PageFolder(const QString& folderText) : folderText(folderText) {
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (!folder.contains('\0'))
        folderHandle = ::open(folder.constData(), kFolderOpenFlags);
}

PageFolder::~PageFolder() {
    if (subFolderHandle >= 0)
        ::close(subFolderHandle);
    if (folderHandle >= 0)
        ::close(folderHandle);
}

std::unique_ptr<PageSource> PageFolder::open(const QString& pageName, QString* whyNot) const {
    // An absolute name would leave the folder behind, where the joined path does not.
    if (folderHandle < 0 || pageName.startsWith(u'/'))
        return openPath(PagePath(folderText, pageName), whyNot);
    const QByteArray path = FileNameToBytes(pageName);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0 || path.contains('\0'))
        return OpenAt(folderHandle, path, whyNot);
    const QByteArrayView folder = QByteArrayView(path).first(slash);
    if (subFolderHandle < 0 || folder != subFolder) {
        if (subFolderHandle >= 0)
            ::close(subFolderHandle);
        subFolder = folder.toByteArray();
        // Part by part when the path is longer than the system takes in one call.
        subFolderHandle = OpenFolderAt(folderHandle, subFolder, kFolderOpenFlags);
    }
    if (subFolderHandle < 0)
        return OpenAt(folderHandle, path, whyNot);
    return OpenAt(subFolderHandle, QByteArrayView(path).sliced(slash + 1), whyNot);
}

std::unique_ptr<PageSource> PageFolder::openPath(const QString& path, QString* whyNot) {
    return OpenAt(AT_FDCWD, FileNameToBytes(path), whyNot, true);
}

} // namespace detail

PageTimes ReadPageTimes(const QString& path) {
    // The name goes to the system as its exact bytes: QFileInfo encodes it as UTF-8 and so misses
    // a file whose name is not.
    const QByteArray bytes = FileNameToBytes(path);
    if (bytes.contains('\0'))
        return {};
    struct statx st;
    if (::statx(AT_FDCWD, bytes.constData(), 0, STATX_BTIME | STATX_MTIME, &st) != 0)
        return {};
    const auto time = [](const statx_timestamp& t) {
        return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
    };
    return {st.stx_mask & STATX_BTIME ? time(st.stx_btime) : QDateTime(),
            st.stx_mask & STATX_MTIME ? time(st.stx_mtime) : QDateTime()};
}

} // namespace pagewick
