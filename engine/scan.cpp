#include "engine/scan.h"

#include "engine/filename.h"
#include "engine/paths.h"

#include <algorithm>
#include <string_view>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDirIterator>
#endif

namespace pagewick {

namespace {

#ifdef Q_OS_UNIX

// "*.htm*" as a wildcard: the name holds ".htm" somewhere, in any letter case.
bool MatchesPagePattern(QByteArrayView name) {
    const qsizetype n = name.size();
    for (qsizetype i = 0; i + 4 <= n; ++i) {
        if (name[i] == '.' && (name[i + 1] | 0x20) == 'h' && (name[i + 2] | 0x20) == 't' &&
            (name[i + 3] | 0x20) == 'm')
            return true;
    }
    return false;
}

// Reads the folder with readdir so that names are the exact bytes on disk, and looks at the file
// type the directory entry already carries; only links and file systems that do not fill in
// d_type cost a stat. A link is listed when it leads to a regular file.
QStringList ScanWithReaddir(const QString& folderText) {
    QStringList names;
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (folder.contains('\0'))
        return names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.startsWith('.') || !MatchesPagePattern(name))
            continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            regular = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (regular)
            names.append(FileNameFromBytes(name));
    }
    ::closedir(dir);
    return names;
}

#else

QStringList ScanWithQDirIterator(const QString& folderText) {
    QStringList names;
    QDirIterator it(EnsureTrailingSeparator(folderText), {QStringLiteral("*.htm*")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!name.startsWith(u'.'))
            names.append(name);
    }
    return names;
}

#endif

} // namespace

QStringList ScanPageFiles(const QString& folderText) {
#ifdef Q_OS_UNIX
    return ScanWithReaddir(folderText);
#else
    return ScanWithQDirIterator(folderText);
#endif
}

bool PageNameLess(const QString& a, const QString& b) {
    // Most names are ASCII: compare those letter-case-blind here, and leave the rest to Qt's
    // case folding from the first non-ASCII character on (some of them fold to ASCII letters).
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    for (; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80)
            break;
        x += x >= 'A' && x <= 'Z' ? 0x20 : 0;
        y += y >= 'A' && y <= 'Z' ? 0x20 : 0;
        if (x != y)
            return x < y;
    }
    const int c =
        i < n ? a.compare(b, Qt::CaseInsensitive) : int(a.size() > b.size()) - int(a.size() < b.size());
    return c != 0 ? c < 0 : a < b;
}

void SortPageNames(QStringList& names) {
    // For a folder of ASCII names, sort on lower-cased byte keys made once, rather than folding
    // letters again in every comparison; ties keep PageNameLess's order.
    const bool ascii = std::all_of(names.cbegin(), names.cend(), [](const QString& name) {
        return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    });
    if (!ascii) {
        std::sort(names.begin(), names.end(), PageNameLess);
        return;
    }
    struct Entry {
        qsizetype offset;
        qsizetype size;
        const QString* name;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(names.size()));
    qsizetype total = 0;
    for (const QString& name : std::as_const(names)) {
        entries.push_back({total, name.size(), &name});
        total += name.size();
    }
    QByteArray keys(total, Qt::Uninitialized);
    char* k = keys.data();
    for (const QString& name : std::as_const(names)) {
        for (const QChar c : name) {
            const char b = char(c.unicode());
            *k++ = b >= 'A' && b <= 'Z' ? char(b + 0x20) : b;
        }
    }
    const auto key = [&keys](const Entry& e) {
        return std::string_view(keys.constData() + e.offset, size_t(e.size));
    };
    std::sort(entries.begin(), entries.end(), [&key](const Entry& a, const Entry& b) {
        const int c = key(a).compare(key(b));
        return c != 0 ? c < 0 : *a.name < *b.name;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Entry& e : entries)
        sorted.append(*e.name);
    names = std::move(sorted);
}

QCollator PageCollator(bool numeric) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    return collator;
}

} // namespace pagewick
