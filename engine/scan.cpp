#include "engine/scan.h"

#include "engine/filename.h"
#include "engine/paths.h"
#include "engine/scan_p.h"

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

// The names in the order their sorted entries give.
template <typename Entries> QStringList NamesInOrder(const Entries& entries) {
    QStringList sorted;
    sorted.reserve(qsizetype(entries.size()));
    for (const auto& e : entries)
        sorted.append(*e.name);
    return sorted;
}

#ifdef Q_OS_UNIX

using detail::MatchesPagePattern;

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

namespace {

// The user's language, or the language-neutral order where the locale names none (C, POSIX):
// English takes the root collation unchanged, so accented letters still sort with their letters.
QLocale CollationLocale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

} // namespace

QCollator PageCollator(bool numeric) {
    QCollator collator(CollationLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    return collator;
}

bool PageNameLess(const QString& a, const QString& b) {
    const int c = PageCollator().compare(a, b);
    return c != 0 ? c < 0 : a < b;
}

namespace {

// In the language-neutral order (which English uses unchanged), printable ASCII characters each
// carry one weight and case is a lesser difference than any other, so a name made of them sorts
// by its characters' ranks alone. The ranks are taken from the collator itself.
bool SortAsciiNames(QStringList& names, const QCollator& collator) {
    if (collator.locale().language() != QLocale::English)
        return false;
    for (const QString& name : std::as_const(names)) {
        for (const QChar c : name) {
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
                return false;
        }
    }
    // The ranks depend on the collation only: worked out once per thread for each language
    // (sub-folders sort many small lists, each of which would otherwise pay for them).
    struct Ranks {
        QString language;
        char rank[128] = {};
    };
    static thread_local Ranks ranks;
    const QString language = collator.locale().name();
    if (ranks.language != language) {
        QString printable;
        for (char16_t c = 0x20; c < 0x7F; ++c)
            printable += QChar(c);
        std::vector<QString> chars;
        for (const QChar c : std::as_const(printable))
            chars.push_back(QString(c));
        std::stable_sort(chars.begin(), chars.end(), [&collator](const QString& a, const QString& b) {
            return collator.compare(a, b) < 0;
        });
        std::fill(std::begin(ranks.rank), std::end(ranks.rank), char(0));
        char next = 1;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && collator.compare(chars[i - 1], chars[i]) != 0)
                ++next;
            ranks.rank[chars[i].front().unicode()] = next;
        }
        ranks.language = language;
    }
    const char* const rank = ranks.rank;
    // Each entry carries the first sixteen bytes of its key as two numbers that compare as the
    // bytes do (rank 0 belongs to no character, so a shorter key pads below any longer one): most
    // comparisons end there, without reading the keys.
    struct Entry {
        quint64 head[2];
        qsizetype offset;
        qsizetype size;
        const QString* name;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(names.size()));
    qsizetype total = 0;
    for (const QString& name : std::as_const(names))
        total += name.size();
    QByteArray keys(total, Qt::Uninitialized);
    char* k = keys.data();
    for (const QString& name : std::as_const(names)) {
        Entry e{{0, 0}, qsizetype(k - keys.constData()), name.size(), &name};
        qsizetype i = 0;
        for (const QChar c : name) {
            const uchar r = uchar(rank[c.unicode()]);
            *k++ = char(r);
            if (i < 16)
                e.head[i / 8] |= quint64(r) << (8 * (7 - i % 8));
            ++i;
        }
        entries.push_back(e);
    }
    const auto key = [&keys](const Entry& e) {
        return std::string_view(keys.constData() + e.offset, size_t(e.size));
    };
    std::sort(entries.begin(), entries.end(), [&key](const Entry& a, const Entry& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        const int c = key(a).compare(key(b));
        return c != 0 ? c < 0 : *a.name < *b.name;
    });
    names = NamesInOrder(entries);
    return true;
}

} // namespace

void SortPageNames(QStringList& names) {
    const QCollator collator = PageCollator();
    if (SortAsciiNames(names, collator))
        return;
    // One sort key per name, made once, rather than collating the names afresh in every
    // comparison; names the collation holds equal (equal but for case) keep code-point order.
    struct Entry {
        QCollatorSortKey key;
        const QString* name;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(names.size()));
    for (const QString& name : std::as_const(names))
        entries.push_back({collator.sortKey(name), &name});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.key.compare(b.key);
        return c != 0 ? c < 0 : *a.name < *b.name;
    });
    names = NamesInOrder(entries);
}

} // namespace pagewick
