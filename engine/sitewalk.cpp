#include "engine/sitewalk.h"

#include "engine/filename.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/scan_p.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>
#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#endif

namespace pagewick {

namespace {

#ifdef Q_OS_UNIX

using detail::MatchesPagePattern;

// In English whatever the locale: the reasons end up in the site check's report, which reads the
// same in every language.
QString ErrorText(int error) {
    const char* description = strerrordesc_np(error);
    return description ? QString::fromLatin1(description) : QStringLiteral("error %1").arg(error);
}

// The relative path of an entry: scratch holds the folder's prefix, and the name is put after it
// there, so that a folder's pages cost no more allocations than the names themselves.
QString PagePathFromBytes(QByteArray& scratch, qsizetype prefixSize, QByteArrayView name) {
    if (prefixSize == 0)
        return FileNameFromBytes(name);
    scratch.truncate(prefixSize);
    scratch.append(name);
    return FileNameFromBytes(scratch);
}

QString RelativeName(const QByteArray& path) {
    return FileNameFromBytes(path);
}

// Walks a tree with one open folder per level, each opened relative to its parent. Folders are
// known by device and inode, so none is walked twice. Real sub-folders are walked first, folders
// behind links afterwards, so that a folder reachable both ways is named by its real path.
class Walker {
public:
    Walker(PageListing& out, int maxDepth) : out(out), maxDepth(maxDepth) {}

    void run(int rootFd) {
        struct stat st;
        if (::fstat(rootFd, &st) != 0)
            return;
        seen.insert({st.st_dev, st.st_ino});
        const int fd = ::dup(rootFd);
        if (fd < 0)
            return;
        walk(fd, QByteArray(), 0);
        // Links found while walking, in the order met; each may lead to more.
        for (size_t i = 0; i < links.size(); ++i) {
            const Link link = links[i];
            const int linked = ::openat(rootFd, link.path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (linked < 0) {
                skip(link.path, errno);
                continue;
            }
            if (firstVisit(linked))
                walk(linked, link.path, link.depth);
            else
                ::close(linked);
        }
    }

private:
    struct Link {
        QByteArray path;
        int depth;
    };

    bool deepEnough(int depth) const { return maxDepth >= 0 && depth >= maxDepth; }

    bool firstVisit(int fd) {
        struct stat st;
        return ::fstat(fd, &st) == 0 && seen.insert({st.st_dev, st.st_ino}).second;
    }

    void skip(const QByteArray& path, int error) {
        out.skipped.append({RelativeName(path), ErrorText(error)});
    }

    // Lists the folder open at fd (which it takes over) as path, then walks its sub-folders.
    void walk(int fd, const QByteArray& path, int depth) {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            skip(path, errno);
            ::close(fd);
            return;
        }
        out.folders.append(RelativeName(path));
        const QByteArray prefix = path.isEmpty() ? path : path + '/';
        QByteArray scratch = prefix;
        const bool descend = !deepEnough(depth);
        std::vector<QByteArray> folders;
        std::vector<QByteArray> linkedFolders;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir);
            if (!entry)
                break;
            const QByteArrayView name(entry->d_name);
            if (name.startsWith('.'))
                continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISLNK(st.st_mode)   ? DT_LNK
                       : S_ISDIR(st.st_mode) ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : 0;
            }
            if (type == DT_REG) {
                if (MatchesPagePattern(name))
                    out.pages.append(PagePathFromBytes(scratch, prefix.size(), name));
            } else if (type == DT_DIR) {
                if (descend)
                    folders.emplace_back(name.toByteArray());
            } else if (type == DT_LNK) {
                const bool page = MatchesPagePattern(name);
                if (!page && !descend)
                    continue;
                struct stat st;
                if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0)
                    continue; // a broken link is neither a page nor a folder
                if (S_ISREG(st.st_mode) && page)
                    out.pages.append(PagePathFromBytes(scratch, prefix.size(), name));
                else if (S_ISDIR(st.st_mode) && descend)
                    linkedFolders.emplace_back(name.toByteArray());
            }
        }
        if (errno != 0)
            skip(path, errno);
        // Sorted, so that which path names a folder reached twice does not depend on listing order.
        std::sort(folders.begin(), folders.end());
        std::sort(linkedFolders.begin(), linkedFolders.end());
        for (const QByteArray& name : linkedFolders)
            links.push_back({prefix + name, depth + 1});
        for (const QByteArray& name : folders) {
            const int child =
                ::openat(::dirfd(dir), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) {
                // Gone or replaced since it was listed: nothing to report.
                if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP)
                    skip(prefix + name, errno);
                continue;
            }
            if (firstVisit(child))
                walk(child, prefix + name, depth + 1);
            else
                ::close(child);
        }
        ::closedir(dir);
    }

    PageListing& out;
    const int maxDepth;
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<Link> links;
};

#else

void WalkWithQDir(const QString& root, const QString& path, int depth, const WalkOptions& options,
                  QSet<QString>& seen, PageListing& out) {
    out.folders.append(path);
    const QString prefix = path.isEmpty() ? path : path + u'/';
    QDir dir(root + u'/' + path);
    for (const QString& name : dir.entryList({QStringLiteral("*.htm*")}, QDir::Files))
        if (!name.startsWith(u'.'))
            out.pages.append(prefix + name);
    if (options.maxDepth >= 0 && depth >= options.maxDepth)
        return;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (name.startsWith(u'.'))
            continue;
        const QFileInfo info(dir.filePath(name));
        if (!info.isReadable()) {
            out.skipped.append({prefix + name, QStringLiteral("Permission denied")});
            continue;
        }
        if (!seen.contains(info.canonicalFilePath())) {
            seen.insert(info.canonicalFilePath());
            WalkWithQDir(root, prefix + name, depth + 1, options, seen, out);
        }
    }
}

#endif

} // namespace

PageListing WalkPageFiles(const QString& folderText, const WalkOptions& options) {
    PageListing listing;
    if (!options.recursive || options.maxDepth == 0) {
        listing.pages = ScanPageFiles(folderText);
        listing.folders.append(QString());
        return listing;
    }
#ifdef Q_OS_UNIX
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (folder.contains('\0'))
        return listing;
    const int rootFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return listing;
    Walker(listing, options.maxDepth).run(rootFd);
    ::close(rootFd);
#else
    QSet<QString> seen{QFileInfo(folderText).canonicalFilePath()};
    WalkWithQDir(folderText, QString(), 0, options, seen, listing);
#endif
    return listing;
}

namespace {

using NameSort = std::function<void(QStringList&)>;

// Puts in order the paths (given by index) that share a prefix of prefixLength characters, which
// ends with "/" or is empty. Each page and each sub-folder at this level is stood for by its path
// from the top (a folder's without the final "/"): with the prefix the same for all, the name
// order of those paths is the name order of the parts after it, and no page name is copied.
void SortLevel(const QStringList& paths, const QList<qsizetype>& items, qsizetype prefixLength,
               const NameSort& sortNames, QStringList& out) {
    QStringList keys;
    keys.reserve(items.size());
    // Sub-folder -> the paths below it. Paths mostly come folder by folder, so the folder of the
    // path before is tried first, without hashing.
    QHash<QStringView, qsizetype> folderIndex;
    std::vector<QList<qsizetype>> below;
    QStringView lastFolder;
    qsizetype last = -1;
    for (const qsizetype i : items) {
        const QString& path = paths[i];
        const qsizetype slash = path.indexOf(u'/', prefixLength);
        if (slash < 0) {
            keys.append(path);
            continue;
        }
        const QStringView folder = QStringView(path).first(slash);
        if (last < 0 || folder != lastFolder) {
            const auto found = folderIndex.constFind(folder);
            if (found == folderIndex.constEnd()) {
                last = qsizetype(below.size());
                folderIndex.insert(folder, last);
                below.emplace_back();
                keys.append(path.first(slash));
            } else {
                last = *found;
            }
            lastFolder = folder;
        }
        below[size_t(last)].append(i);
    }
    sortNames(keys);
    for (const QString& key : std::as_const(keys)) {
        const auto folder = folderIndex.find(QStringView(key));
        if (folder == folderIndex.end()) {
            out.append(key);
            continue;
        }
        const qsizetype at = *folder;
        folderIndex.erase(
            folder); // a page of the same name as the folder (not possible on disk) stays a page
        SortLevel(paths, below[size_t(at)], key.size() + 1, sortNames, out);
    }
}

} // namespace

void SortPagePaths(QStringList& paths, const std::function<void(QStringList&)>& sortNames) {
    const NameSort sortLevel = sortNames ? sortNames : NameSort(SortPageNames);
    if (std::none_of(paths.cbegin(), paths.cend(), [](const QString& p) { return p.contains(u'/'); })) {
        sortLevel(paths);
        return;
    }
    QList<qsizetype> all(paths.size());
    std::iota(all.begin(), all.end(), qsizetype(0));
    QStringList sorted;
    sorted.reserve(paths.size());
    SortLevel(paths, all, 0, sortLevel, sorted);
    paths = std::move(sorted);
}

bool PagePathLess(const QString& a, const QString& b,
                  const std::function<bool(const QString&, const QString&)>& nameLess) {
    if (!a.contains(u'/') && !b.contains(u'/'))
        return nameLess ? nameLess(a, b) : PageNameLess(a, b);
    qsizetype i = 0, j = 0;
    for (;;) {
        const qsizetype endA = a.indexOf(u'/', i), endB = b.indexOf(u'/', j);
        const QString partA = a.mid(i, endA < 0 ? -1 : endA - i);
        const QString partB = b.mid(j, endB < 0 ? -1 : endB - j);
        if (partA != partB)
            return nameLess ? nameLess(partA, partB) : PageNameLess(partA, partB);
        // The same part: the path that ends here (a page) comes before the one that goes on.
        if (endA < 0 || endB < 0)
            return endA < 0 && endB >= 0;
        i = endA + 1;
        j = endB + 1;
    }
}

} // namespace pagewick
