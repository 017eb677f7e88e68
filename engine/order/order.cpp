#include "engine/order/order.h"

#include "engine/order/nameorder.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace pagewick {

namespace {

QRegularExpression ExcludeExpression(const QString& pattern) {
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                              QRegularExpression::CaseInsensitiveOption);
}

QList<QRegularExpression> ExcludeExpressions(const QStringList& patterns) {
    QList<QRegularExpression> expressions;
    expressions.reserve(patterns.size());
    for (const QString& pattern : patterns)
        expressions << ExcludeExpression(pattern);
    return expressions;
}

bool MatchesOne(const QList<QRegularExpression>& expressions, const QString& name) {
    return std::any_of(expressions.cbegin(), expressions.cend(),
                       [&](const QRegularExpression& e) { return e.isValid() && e.match(name).hasMatch(); });
}

// A page is matched by its path, and by the path of each folder it lies in: "drafts" and
// "drafts/*" both leave out everything below drafts/, however deep.
bool Matches(const QList<QRegularExpression>& expressions, const QString& name) {
    if (MatchesOne(expressions, name))
        return true;
    for (qsizetype slash = name.indexOf(u'/'); slash >= 0; slash = name.indexOf(u'/', slash + 1)) {
        if (MatchesOne(expressions, name.first(slash)))
            return true;
    }
    return false;
}

} // namespace

bool IsValidExcludePattern(const QString& pattern) {
    return !pattern.isEmpty() && ExcludeExpression(pattern).isValid();
}

bool IsExcludedPageName(const QString& pageName, const QStringList& patterns) {
    return Matches(ExcludeExpressions(patterns), pageName);
}

QStringList FilterPageNames(const QStringList& pageNames, const QStringList& patterns) {
    if (patterns.isEmpty())
        return pageNames;
    const QList<QRegularExpression> expressions = ExcludeExpressions(patterns);
    QStringList kept;
    kept.reserve(pageNames.size());
    for (const QString& name : pageNames)
        if (!Matches(expressions, name))
            kept << name;
    return kept;
}

namespace {

// The date order: newest first; equal dates, and pages without a date at the end, by name.
bool NewerPage(const PageNameOrder& names, const PageRecord& a, const PageRecord& b) {
    const bool aDated = a.date.isValid(), bDated = b.date.isValid();
    if (aDated != bDated)
        return aDated;
    if (aDated && a.date != b.date)
        return a.date > b.date;
    return names.pathLess(a.name, b.name);
}

// Texts kept side by side in blocks of about a megabyte: a growing block of all of them would, as
// it grows, take up to three times their size.
class TextBlocks {
public:
    // Where the text now is, for at().
    qint64 add(QByteArrayView text) {
        if (blocks.empty() || blocks.back().size() + text.size() > blocks.back().capacity()) {
            blocks.emplace_back();
            blocks.back().reserve(std::max<qsizetype>(kBlock, text.size()));
        }
        const qint64 at = qint64(blocks.size() - 1) << 32 | blocks.back().size();
        blocks.back().append(text);
        return at;
    }
    QByteArrayView at(qint64 at, qint64 size) const {
        return QByteArrayView(blocks[size_t(at >> 32)]).sliced(at & 0xffffffff, size);
    }

private:
    static constexpr qsizetype kBlock = 1024 * 1024;
    std::vector<QByteArray> blocks;
};

// The pages of a date order while the pages are read: each waits in a few bytes beside its texts
// (kept as UTF-8 in blocks), rather than as a record. With a limit only the newest so many are
// kept: the others are dropped whenever twice that many have gathered.
class DateOrderedPages {
public:
    // names: the pages in the order they are read; wantsExtra: keep their facts and sizes too.
    DateOrderedPages(const QStringList& names, qsizetype limit, bool wantsExtra)
        : names(names), limit(limit), wantsExtra(wantsExtra) {
        pages.reserve(size_t(limit > 0 ? std::min(names.size(), 2 * limit + 256) : names.size()));
    }

    // Takes the next page read.
    void hold(PageRecord&& record) {
        Held page{record.date, -1, index++};
        utf8.clear();
        if (record.title) {
            utf8 += record.title->toUtf8();
            page.titleSize = qint32(utf8.size());
        }
        if (record.description) {
            const qsizetype before = utf8.size();
            utf8 += record.description->toUtf8();
            page.descriptionSize = qint32(utf8.size() - before);
        }
        if (!utf8.isEmpty())
            page.textAt = texts.add(utf8);
        if (wantsExtra) {
            page.extra = qint32(extras.size());
            extras.push_back({std::move(record.facts), record.size});
        }
        pages.push_back(std::move(page));
        if (limit > 0 && qsizetype(pages.size()) >= 2 * limit + 256)
            keepNewest();
    }

    // Once every page is held: hands them on, newest first, as records again.
    void handOn(const std::function<void(PageRecord&&)>& sink) {
        if (limit > 0 && qsizetype(pages.size()) > limit)
            keepNewest();
        std::sort(pages.begin(), pages.end(), [this](const Held& a, const Held& b) { return newer(a, b); });
        for (Held& page : pages) {
            std::optional<QString> title, description;
            if (page.titleSize >= 0)
                title = QString::fromUtf8(texts.at(page.textAt, page.titleSize));
            if (page.descriptionSize >= 0)
                description = QString::fromUtf8(
                    texts.at(page.textAt + std::max(page.titleSize, 0), page.descriptionSize));
            Extra extra{nullptr, -1};
            if (page.extra >= 0)
                extra = std::move(extras[size_t(page.extra)]);
            sink(PageRecord{names[page.index], std::move(title), page.date, std::move(description),
                            std::move(extra.facts), extra.size});
        }
    }

private:
    // A page waiting: 32 bytes, its title and description (as UTF-8, one after the other) in the
    // blocks of texts, and what few outputs want besides (facts, size) only where they want it.
    struct Held {
        QDateTime date;
        qint64 textAt = -1;    // in texts
        qint32 index;          // in names
        qint32 titleSize = -1; // -1: none
        qint32 descriptionSize = -1;
        qint32 extra = -1; // in extras
    };
    struct Extra {
        std::shared_ptr<const PageFacts> facts;
        qint64 size;
    };

    bool newer(const Held& a, const Held& b) const {
        const bool aDated = a.date.isValid(), bDated = b.date.isValid();
        if (aDated != bDated)
            return aDated;
        if (aDated && a.date != b.date)
            return a.date > b.date;
        return nameOrder.pathLess(names[a.index], names[b.index]);
    }

    static qint64 textSize(const Held& page) {
        return qint64(std::max(page.titleSize, 0)) + std::max(page.descriptionSize, 0);
    }

    void keepNewest() {
        std::nth_element(pages.begin(), pages.begin() + limit, pages.end(),
                         [this](const Held& a, const Held& b) { return newer(a, b); });
        pages.resize(size_t(limit));
        // The texts and extras of the pages dropped go too.
        TextBlocks kept;
        std::vector<Extra> keptExtras;
        for (Held& page : pages) {
            if (page.textAt >= 0)
                page.textAt = kept.add(texts.at(page.textAt, textSize(page)));
            if (page.extra >= 0) {
                keptExtras.push_back(std::move(extras[size_t(page.extra)]));
                page.extra = qint32(keptExtras.size() - 1);
            }
        }
        texts = std::move(kept);
        extras = std::move(keptExtras);
    }

    const QStringList& names;
    const qsizetype limit;
    const bool wantsExtra;
    const PageNameOrder nameOrder; // the name order, for pages of the same date
    std::vector<Held> pages;
    std::vector<Extra> extras;
    TextBlocks texts;
    qint32 index = 0;
    QByteArray utf8; // a page's texts, on their way into texts
};

} // namespace

void OrderPages(QList<PageRecord>& pages, PageOrder order) {
    const PageNameOrder names(order == PageOrder::Natural);
    if (order == PageOrder::Date) {
        std::stable_sort(pages.begin(), pages.end(), [&names](const PageRecord& a, const PageRecord& b) {
            return NewerPage(names, a, b);
        });
        return;
    }
    std::stable_sort(pages.begin(), pages.end(), [&names](const PageRecord& a, const PageRecord& b) {
        return names.pathLess(a.name, b.name);
    });
}

PageWants PageWantsFor(const PageSelection& selection, PageWants wants) {
    return selection.order == PageOrder::Date ? wants | WantDate : wants;
}

void ForEachSelectedPage(const QString& folderText, const QStringList& pageNames,
                         const PageSelection& selection, PageWants wants,
                         const std::function<void(PageRecord&&)>& sink, PageReadAhead* readAhead) {
    wants = PageWantsFor(selection, wants);
    if (selection.order != PageOrder::Date) {
        // Name orders need no page read: order and cut the names, then read only the pages kept.
        ForEachPage(folderText, SelectPageNames(pageNames, selection), wants, sink, readAhead);
        return;
    }
    // The date order knows a page's place only once every page is read.
    const QStringList names = FilterPageNames(pageNames, selection.excludes);
    DateOrderedPages pages(names, selection.limit, wants & (WantFindings | WantSize));
    ForEachPage(
        folderText, names, wants, [&pages](PageRecord&& record) { pages.hold(std::move(record)); },
        readAhead);
    pages.handOn(sink);
}

QList<PageRecord> SelectPages(const QString& folderText, const QStringList& pageNames,
                              const PageSelection& selection, PageWants wants) {
    QList<PageRecord> pages;
    ForEachSelectedPage(folderText, pageNames, selection, wants,
                        [&pages](PageRecord&& page) { pages.append(std::move(page)); });
    return pages;
}

QStringList SelectPageNames(const QStringList& pageNames, const PageSelection& selection) {
    QStringList names = FilterPageNames(pageNames, selection.excludes);
    if (selection.order == PageOrder::Date) {
        SortPagePaths(names);
        return names;
    }
    PageNameOrder(selection.order == PageOrder::Natural).sortPaths(names);
    if (selection.limit > 0 && names.size() > selection.limit)
        names.resize(selection.limit);
    return names;
}

} // namespace pagewick
