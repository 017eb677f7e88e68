#include "engine/listing/sitewalk.h"

#include "engine/files/filename.h"
#include "engine/files/folderfd_p.h"
#include "engine/files/paths.h"
#include "engine/listing/scan.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagewick {

namespace {

using detail::OpenFolderAt;

// In English whatever the locale: the reasons end up in the site check's report, which reads the
// same in every language.
QString ErrorText(int error) {
    const char* description = strerrordesc_np(error);
    return description ? QString::fromLatin1(description) : QStringLiteral("error %1").arg(error);
}

QString RelativeName(const QByteArray& path) {
    return FileNameFromBytes(path);
}

// Folders held open at once, the top one and the walk's base apart. Deeper than this, the
// shallowest open folder of the walk is closed, and opened again from its path when the walk
// comes back to it with sub-folders left.
constexpr int kMaxOpenFolders = 64;

// Walks a tree depth first with an explicit stack, each folder opened relative to its parent.
// Folders are known by device and inode, so none is walked twice. Real sub-folders are walked
// first, folders behind links afterwards, so that a folder reachable both ways is named by its
// real path.
class Walker {
public:
    Walker(PageListing& out, const WalkOptions& options) : out(out), options(options) {}

    void run(int rootFd) {
        struct stat st;
        if (::fstat(rootFd, &st) != 0)
            return;
        seen.insert({st.st_dev, st.st_ino});
        const int fd = ::dup(rootFd);
        if (fd < 0)
            return;
        walkFrom(fd, st, QByteArray(), 0);
        // Links found while walking, in the order met; each may lead to more.
        for (size_t i = 0; i < links.size() && !cancelled(); ++i) {
            const Link link = links[i];
            const int linked = OpenFolderAt(rootFd, link.path, O_RDONLY);
            if (linked < 0) {
                skip(link.path, errno);
                continue;
            }
            struct stat linkedStat;
            if (::fstat(linked, &linkedStat) == 0 &&
                seen.insert({linkedStat.st_dev, linkedStat.st_ino}).second)
                walkFrom(linked, linkedStat, link.path, link.depth);
            else
                ::close(linked);
        }
    }

private:
    struct Link {
        QByteArray path;
        int depth;
    };

    // A folder on the walk's stack.
    struct Frame {
        DIR* dir = nullptr; // while open: the listing's stream, whose descriptor opens sub-folders
        int fd = -1;        // while open again after being closed
        dev_t device = 0;
        ino_t inode = 0;
        qsizetype end = 0; // where its name ends in path
        int depth = 0;
        std::vector<QByteArray> folders; // its sub-folders, sorted; those from next on are still to walk
        size_t next = 0;

        int handle() const { return dir ? ::dirfd(dir) : fd; }
        bool isOpen() const { return dir || fd >= 0; }
        void close() {
            if (dir)
                ::closedir(dir);
            else if (fd >= 0)
                ::close(fd);
            dir = nullptr;
            fd = -1;
        }
    };

    bool cancelled() const { return options.cancel && options.cancel->load(std::memory_order_relaxed); }

    bool deepEnough(int depth) const { return options.maxDepth >= 0 && depth >= options.maxDepth; }

    void skip(const QByteArray& relative, int error) {
        out.skipped.append({RelativeName(relative), ErrorText(error)});
    }

    // Where the name of the frame at index i starts in path.
    qsizetype nameStart(size_t i) const {
        const qsizetype parentEnd = stack[i - 1].end;
        return parentEnd == 0 ? 0 : parentEnd + 1;
    }

    // Walks the tree below the folder open at fd (which it takes over), named path.
    void walkFrom(int fd, const struct stat& st, const QByteArray& base, int depth) {
        if (cancelled()) {
            ::close(fd);
            return;
        }
        path = base;
        if (!push(fd, st, depth))
            return;
        while (!stack.empty()) {
            if (cancelled()) {
                while (!stack.empty())
                    pop();
                return;
            }
            Frame& top = stack.back();
            if (top.next == top.folders.size()) {
                pop();
                continue;
            }
            const QByteArray name = std::move(top.folders[top.next++]);
            const int parent = reopen();
            if (parent < 0) {
                // Gone or replaced since it was listed: its sub-folders are no longer there.
                stack.back().next = stack.back().folders.size();
                continue;
            }
            int child = OpenOne(parent, name.constData(), O_RDONLY | O_NOFOLLOW);
            // Out of descriptors (a low limit, or many held elsewhere): hold fewer folders open.
            while (child < 0 && (errno == EMFILE || errno == ENFILE) && shed(stack.size() - 1))
                child = OpenOne(parent, name.constData(), O_RDONLY | O_NOFOLLOW);
            if (child < 0) {
                // Gone or replaced since it was listed: nothing to report.
                if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
                    skip(childPath(name), errno);
                continue;
            }
            struct stat childStat;
            if (::fstat(child, &childStat) != 0 ||
                !seen.insert({childStat.st_dev, childStat.st_ino}).second) {
                ::close(child);
                continue;
            }
            const int childDepth = stack.back().depth + 1;
            if (!path.isEmpty())
                path.append('/');
            path.append(name);
            push(child, childStat, childDepth);
        }
    }

    QByteArray childPath(const QByteArray& name) const { return path.isEmpty() ? name : path + '/' + name; }

    static int OpenOne(int at, const char* name, int flags) {
        int fd;
        do
            fd = ::openat(at, name, flags | O_DIRECTORY | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        return fd;
    }

    // Lists the folder open at fd (which it takes over), named path, and puts it on the stack
    // with its sub-folders to walk; false when it cannot be listed.
    bool push(int fd, const struct stat& st, int depth) {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            skip(path, errno);
            ::close(fd);
            truncateToTop();
            return false;
        }
        if (options.listFolders)
            out.folders.append(RelativeName(path));
        if (options.visitFolder)
            options.visitFolder(::dirfd(dir));
        Frame frame;
        frame.dir = dir;
        frame.device = st.st_dev;
        frame.inode = st.st_ino;
        frame.end = path.size();
        frame.depth = depth;
        list(frame);
        stack.push_back(std::move(frame));
        // Past the bound the shallowest open folder above the base goes; the base is where
        // reopening starts.
        if (++openCount > maxOpen)
            closeShallowest(stack.size() - 1);
        return true;
    }

    // Closes the shallowest open folder above the base and below the given index; false when there
    // is none.
    bool closeShallowest(size_t below) {
        while (firstOpen < below && !stack[firstOpen].isOpen())
            ++firstOpen;
        if (firstOpen >= below)
            return false;
        stack[firstOpen++].close();
        --openCount;
        return true;
    }

    // Out of descriptors (a low limit, or many held elsewhere): lets a folder go and holds no more
    // than are open now from then on. False when none can be let go.
    bool shed(size_t below) {
        if (!closeShallowest(below))
            return false;
        maxOpen = std::max(2, openCount);
        return true;
    }

    void pop() {
        Frame& top = stack.back();
        if (top.isOpen()) {
            top.close();
            --openCount;
        }
        stack.pop_back();
        firstOpen = std::min(firstOpen, std::max<size_t>(stack.size(), 1));
        truncateToTop();
    }

    void truncateToTop() { path.truncate(stack.empty() ? 0 : stack.back().end); }

    // The descriptor of the top folder, opened again from the nearest open folder below it when
    // it was closed: each folder on the way is opened by its name and must still be the folder
    // walked. The deepest of them stay open, as many as the bound leaves room for, for the walk's
    // way back. -1 when one is gone or replaced.
    int reopen() {
        const size_t top = stack.size() - 1;
        if (stack[top].isOpen())
            return stack[top].handle();
        size_t from = top;
        while (from > 0 && !stack[from].isOpen())
            --from;
        const size_t budget = size_t(std::max(1, maxOpen - openCount));
        const size_t keepFrom = std::max(from + 1, top + 1 > budget ? top + 1 - budget : size_t(0));
        firstOpen = std::max<size_t>(1, std::min(firstOpen, from == 0 ? keepFrom : from));
        const int start = stack[from].handle();
        int at = start;
        for (size_t i = from + 1; i <= top; ++i) {
            const qsizetype nameAt = nameStart(i);
            const QByteArray name = path.sliced(nameAt, stack[i].end - nameAt);
            int fd = OpenOne(at, name.constData(), O_RDONLY | O_NOFOLLOW);
            while (fd < 0 && (errno == EMFILE || errno == ENFILE) && shed(i - 1))
                fd = OpenOne(at, name.constData(), O_RDONLY | O_NOFOLLOW);
            struct stat st;
            const bool same = fd >= 0 && ::fstat(fd, &st) == 0 && st.st_dev == stack[i].device &&
                              st.st_ino == stack[i].inode;
            if (at != start && !stack[i - 1].isOpen())
                ::close(at);
            if (!same) {
                if (fd >= 0)
                    ::close(fd);
                return -1;
            }
            if (i >= keepFrom || i == top) {
                stack[i].fd = fd;
                ++openCount;
            }
            at = fd;
        }
        while (openCount > maxOpen && closeShallowest(top)) {
        }
        return stack[top].handle();
    }

    // Reads the folder's entries: its pages go to the listing, its sub-folders to the frame.
    void list(Frame& frame) {
        const qsizetype prefixSize = path.isEmpty() ? 0 : path.size() + 1;
        if (prefixSize)
            path.append('/');
        const bool descend = !deepEnough(frame.depth);
        std::vector<QByteArray> linkedFolders;
        const auto addPage = [&](QByteArrayView name) {
            path.truncate(prefixSize);
            path.append(name);
            out.pages.append(FileNameFromBytes(path));
            if (options.pageFound)
                options.pageFound(out.pages.constLast());
        };
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(frame.dir);
            if (!entry)
                break;
            const QByteArrayView name(entry->d_name);
            if (name.startsWith('.'))
                continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(::dirfd(frame.dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISLNK(st.st_mode)   ? DT_LNK
                       : S_ISDIR(st.st_mode) ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : 0;
            }
            if (type == DT_REG) {
                if (MatchesPagePattern(name))
                    addPage(name);
            } else if (type == DT_DIR) {
                if (descend)
                    frame.folders.emplace_back(name.toByteArray());
            } else if (type == DT_LNK) {
                const bool page = MatchesPagePattern(name);
                if (!page && !descend)
                    continue;
                struct stat st;
                if (::fstatat(::dirfd(frame.dir), entry->d_name, &st, 0) != 0)
                    continue; // a broken link is neither a page nor a folder
                if (S_ISREG(st.st_mode) && page)
                    addPage(name);
                else if (S_ISDIR(st.st_mode) && descend)
                    linkedFolders.emplace_back(name.toByteArray());
            }
        }
        const int error = errno;
        path.truncate(frame.end);
        if (error != 0)
            skip(path, error);
        // Sorted, so that which path names a folder reached twice does not depend on listing order.
        std::sort(frame.folders.begin(), frame.folders.end());
        std::sort(linkedFolders.begin(), linkedFolders.end());
        for (const QByteArray& name : linkedFolders)
            links.push_back({childPath(name), frame.depth + 1});
    }

    PageListing& out;
    const WalkOptions& options;
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<Link> links;
    std::vector<Frame> stack;
    QByteArray path; // the relative path of the top folder
    int openCount = 0;
    int maxOpen = kMaxOpenFolders;
    size_t firstOpen = 1; // below it, every folder but the base is closed
};

} // namespace

PageListing WalkPageFiles(const QString& folderText, const WalkOptions& options) {
    PageListing listing;
    if (!options.recursive || options.maxDepth == 0) {
        listing.pages = ScanPageFiles(folderText, options.pageFound);
        if (options.listFolders)
            listing.folders.append(QString());
        return listing;
    }
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (folder.contains('\0'))
        return listing;
    const int rootFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return listing;
    Walker(listing, options).run(rootFd);
    ::close(rootFd);
    return listing;
}

} // namespace pagewick
