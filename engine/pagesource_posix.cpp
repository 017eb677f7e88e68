// Page files read through POSIX file descriptors: pages are opened relative to their folder,
// without blocking, and holes in sparse files are skipped rather than read.

#include "engine/filename.h"
#include "engine/folderfd_p.h"
#include "engine/pagereader.h"
#include "engine/pagereader_p.h"
#include "engine/paths.h"

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

class FdSource : public PageSource {
public:
    FdSource(int fd, const struct stat& st)
        : fd(fd), size(st.st_size), modified(st.st_mtim),
          // Fewer blocks than the size needs: the file has holes worth looking for.
          sparse(qint64(st.st_blocks) * 512 < qint64(st.st_size)) {}
    ~FdSource() override { ::close(fd); }

    qsizetype readAt(qint64 offset, char* into, qsizetype want) override {
        for (;;) {
            const ssize_t n = ::pread(fd, into, size_t(want), off_t(offset));
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }

    qsizetype readDataFrom(qint64 offset, char* into, qsizetype want, qint64* dataAt) override {
        *dataAt = offset;
        if (!sparse)
            return readAt(offset, into, want);
        const off_t data = ::lseek(fd, off_t(offset), SEEK_DATA);
        if (data < 0) {
            // No data from here on: the rest, up to the size, is one hole.
            if (errno != ENXIO)
                return readAt(offset, into, want);
            *dataAt = std::max<qint64>(offset, size);
            return 0;
        }
        *dataAt = data;
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole > data)
            want = qsizetype(std::min<qint64>(want, qint64(hole - data)));
        return readAt(data, into, want);
    }

    QDateTime lastModified() const override { return FromTimespec(modified); }
    qint64 byteSize() const override { return size; }

private:
    int fd;
    qint64 size;
    timespec modified;
    bool sparse;
};

// A folder is opened only to open pages relative to it.
#ifdef O_PATH
constexpr int kFolderOpenFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

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

std::unique_ptr<PageSource> OpenAt(int folderFd, QByteArrayView path, QString* whyNot) {
    // The view ends where its bytes end (a whole QByteArray, or the end of one).
    if (path.isEmpty() || path.contains('\0'))
        return Failed(whyNot, ErrorText(ENOENT));
    // Non-blocking, so that opening a FIFO returns at once; only regular files are read.
    const int fd = ::openat(folderFd, path.data(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(whyNot, ErrorText(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failed(whyNot, QStringLiteral("not a regular file"));
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
    return OpenAt(AT_FDCWD, FileNameToBytes(path), whyNot);
}

} // namespace detail

PageTimes ReadPageTimes(const QString& path) {
    // The name goes to the system as its exact bytes: QFileInfo encodes it as UTF-8 and so misses
    // a file whose name is not.
    const QByteArray bytes = FileNameToBytes(path);
    if (bytes.contains('\0'))
        return {};
#ifdef STATX_BTIME
    struct statx st;
    if (::statx(AT_FDCWD, bytes.constData(), 0, STATX_BTIME | STATX_MTIME, &st) != 0)
        return {};
    const auto time = [](const statx_timestamp& t) {
        return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
    };
    return {st.stx_mask & STATX_BTIME ? time(st.stx_btime) : QDateTime(),
            st.stx_mask & STATX_MTIME ? time(st.stx_mtime) : QDateTime()};
#else
    struct stat st;
    if (::stat(bytes.constData(), &st) != 0)
        return {};
    return {QDateTime(), detail::FromTimespec(st.st_mtim).toLocalTime()};
#endif
}

} // namespace pagewick
