#include "engine/order/nameorder.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

namespace pagewick {

namespace {

// The user's language, or the language-neutral order where the locale names none (C, POSIX):
// English takes the root collation unchanged, so accented letters still sort with their letters.
QLocale CollationLocale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

// Names equal in the collation (equal but for case) in code-point order.
bool CollatedLess(const QCollator& collator, const QString& a, const QString& b) {
    const int c = collator.compare(a, b);
    return c != 0 ? c < 0 : a < b;
}

// The names in the order their sorted entries give.
template <typename Entries> QStringList NamesInOrder(const Entries& entries) {
    QStringList sorted;
    sorted.reserve(qsizetype(entries.size()));
    for (const auto& e : entries)
        sorted.append(*e.name);
    return sorted;
}

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

// One sort key per name, made once, rather than collating the names afresh in every comparison;
// names the collation holds equal (equal but for case) keep code-point order.
void SortByKeys(QStringList& names, const QCollator& collator) {
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

bool IsAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The run of characters from i on that are all digits or all not digits.
QStringView Run(QStringView text, qsizetype i) {
    const bool digits = IsAsciiDigit(text[i]);
    qsizetype end = i + 1;
    while (end < text.size() && IsAsciiDigit(text[end]) == digits)
        ++end;
    return text.sliced(i, end - i);
}

// Two runs of digits by the numbers they write, however long: "007" and "7" are equal.
int CompareNumbers(QStringView a, QStringView b) {
    while (a.size() > 1 && a.front() == u'0')
        a = a.sliced(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.sliced(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// One level of a sort of paths: the paths (given by index) that share a prefix of prefixLength
// characters, which ends with "/" or is empty, put in order. Each page and each sub-folder at
// this level is stood for by its path from the top (a folder's without the final "/"): with the
// prefix the same for all, the name order of those paths is the name order of the parts after
// it, and no page name is copied. What it keeps after sorting is small (an index a path or
// sub-folder), so the levels of a deep tree cost little while they wait on the stack.
struct SortedLevel {
    struct Entry {
        QString page;        // a page: its path (shared with the paths, not copied)
        qsizetype folder;    // a sub-folder: its index in below; a page: -1
        qsizetype prefixEnd; // a sub-folder: the length of its path, without the "/"
    };
    std::vector<Entry> entries;
    std::vector<QList<qsizetype>> below;
    size_t next = 0;
};

SortedLevel SortLevel(const QStringList& paths, const QList<qsizetype>& items, qsizetype prefixLength,
                      const PageNameOrder& order) {
    SortedLevel level;
    QStringList keys;
    keys.reserve(items.size());
    // Sub-folder -> the paths below it. Paths mostly come folder by folder, so the folder of the
    // path before is tried first, without hashing.
    QHash<QStringView, qsizetype> folderIndex;
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
                last = qsizetype(level.below.size());
                folderIndex.insert(folder, last);
                level.below.emplace_back();
                keys.append(path.first(slash));
            } else {
                last = *found;
            }
            lastFolder = folder;
        }
        level.below[size_t(last)].append(i);
    }
    order.sortNames(keys);
    level.entries.reserve(size_t(keys.size()));
    for (const QString& key : std::as_const(keys)) {
        const auto folder = folderIndex.find(QStringView(key));
        if (folder == folderIndex.end()) {
            level.entries.push_back({key, -1, 0});
            continue;
        }
        // A page of the same name as the folder (not possible on disk) stays a page.
        level.entries.push_back({QString(), *folder, key.size()});
        folderIndex.erase(folder);
    }
    return level;
}

// Puts every level in order, depth first with an explicit stack, so any depth is sorted.
void SortLevels(const QStringList& paths, QList<qsizetype> all, const PageNameOrder& order,
                QStringList& out) {
    std::vector<SortedLevel> stack;
    stack.push_back(SortLevel(paths, all, 0, order));
    all.clear();
    while (!stack.empty()) {
        SortedLevel& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const SortedLevel::Entry entry = level.entries[level.next++];
        if (entry.folder < 0) {
            out.append(entry.page);
            continue;
        }
        const QList<qsizetype> items = std::move(level.below[size_t(entry.folder)]);
        SortedLevel inner = SortLevel(paths, items, entry.prefixEnd + 1, order);
        stack.push_back(std::move(inner));
    }
}

} // namespace

QCollator PageCollator(bool numeric) {
    QCollator collator(CollationLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    return collator;
}

PageNameOrder::PageNameOrder(bool natural)
    : natural(natural), plain(PageCollator()), numeric(natural ? PageCollator(true) : plain) {}

// Runs of digits compared as numbers, the text between them by the page collator. The digits are
// read here rather than left to the collator's numeric mode, which some locales (the C locale a
// cron job runs in) do not honour.
bool PageNameOrder::naturalLess(const QString& a, const QString& b) const {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView x = Run(a, i), y = Run(b, j);
        const bool numbers = IsAsciiDigit(x.front()) && IsAsciiDigit(y.front());
        const int c = numbers ? CompareNumbers(x, y) : numeric.compare(x, y);
        if (c != 0)
            return c < 0;
        i += x.size();
        j += y.size();
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size();
    return CollatedLess(plain, a, b);
}

bool PageNameOrder::nameLess(const QString& a, const QString& b) const {
    return natural ? naturalLess(a, b) : CollatedLess(plain, a, b);
}

bool PageNameOrder::pathLess(const QString& a, const QString& b) const {
    if (!a.contains(u'/') && !b.contains(u'/'))
        return nameLess(a, b);
    qsizetype i = 0, j = 0;
    for (;;) {
        const qsizetype endA = a.indexOf(u'/', i), endB = b.indexOf(u'/', j);
        const QString partA = a.mid(i, endA < 0 ? -1 : endA - i);
        const QString partB = b.mid(j, endB < 0 ? -1 : endB - j);
        if (partA != partB)
            return nameLess(partA, partB);
        // The same part: the path that ends here (a page) comes before the one that goes on.
        if (endA < 0 || endB < 0)
            return endA < 0 && endB >= 0;
        i = endA + 1;
        j = endB + 1;
    }
}

void PageNameOrder::sortNames(QStringList& names) const {
    if (natural) {
        std::stable_sort(names.begin(), names.end(),
                         [this](const QString& a, const QString& b) { return naturalLess(a, b); });
        return;
    }
    if (!SortAsciiNames(names, plain))
        SortByKeys(names, plain);
}

void PageNameOrder::sortPaths(QStringList& paths) const {
    if (std::none_of(paths.cbegin(), paths.cend(), [](const QString& p) { return p.contains(u'/'); })) {
        sortNames(paths);
        return;
    }
    QList<qsizetype> all(paths.size());
    std::iota(all.begin(), all.end(), qsizetype(0));
    QStringList sorted;
    sorted.reserve(paths.size());
    SortLevels(paths, std::move(all), *this, sorted);
    paths = std::move(sorted);
}

void SortPagePaths(QStringList& paths) {
    PageNameOrder().sortPaths(paths);
}

} // namespace pagewick
