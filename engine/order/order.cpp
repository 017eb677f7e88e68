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
                         const std::function<void(PageRecord&&)>& sink) {
    wants = PageWantsFor(selection, wants);
    if (selection.order != PageOrder::Date) {
        // Name orders need no page read: order and cut the names, then read only the pages kept.
        ForEachPage(folderText, SelectPageNames(pageNames, selection), wants, sink);
        return;
    }
    // The date order knows a page's place only once every page is read: the pages wait, each in a
    // few bytes beside its texts (kept as UTF-8 in one block), rather than as records. With a
    // limit only the newest so many are kept: the others are dropped whenever twice that many
    // have gathered.
    const QStringList names = FilterPageNames(pageNames, selection.excludes);
    const qsizetype limit = selection.limit;
    struct Held {
        qsizetype index; // in names
        QDateTime date;
        qint64 titleAt = -1; // in texts; -1: none
        qint64 titleSize = 0;
        qint64 descriptionAt = -1;
        qint64 descriptionSize = 0;
        std::shared_ptr<const PageFacts> facts;
        qint64 size = -1;
    };
    std::vector<Held> pages;
    pages.reserve(size_t(limit > 0 ? std::min(names.size(), 2 * limit + 256) : names.size()));
    TextBlocks texts;
    const auto keep = [](TextBlocks& into, const std::optional<QString>& text, qint64& at, qint64& size) {
        if (!text)
            return;
        const QByteArray utf8 = text->toUtf8();
        at = into.add(utf8);
        size = utf8.size();
    };
    const auto newer = [&names](const Held& a, const Held& b) {
        const bool aDated = a.date.isValid(), bDated = b.date.isValid();
        if (aDated != bDated)
            return aDated;
        if (aDated && a.date != b.date)
            return a.date > b.date;
        return PagePathLess(names[a.index], names[b.index]);
    };
    const auto keepNewest = [&] {
        std::nth_element(pages.begin(), pages.begin() + limit, pages.end(), newer);
        pages.resize(size_t(limit));
        // The texts of the pages dropped go too.
        TextBlocks kept;
        for (Held& page : pages) {
            if (page.titleAt >= 0)
                page.titleAt = kept.add(texts.at(page.titleAt, page.titleSize));
            if (page.descriptionAt >= 0)
                page.descriptionAt = kept.add(texts.at(page.descriptionAt, page.descriptionSize));
        }
        texts = std::move(kept);
    };
    qsizetype index = 0;
    ForEachPage(folderText, names, wants, [&](PageRecord&& record) {
        Held page{index++, record.date, -1, 0, -1, 0, std::move(record.facts), record.size};
        keep(texts, record.title, page.titleAt, page.titleSize);
        keep(texts, record.description, page.descriptionAt, page.descriptionSize);
        pages.push_back(std::move(page));
        if (limit > 0 && qsizetype(pages.size()) >= 2 * limit + 256)
            keepNewest();
    });
    if (limit > 0 && qsizetype(pages.size()) > limit)
        keepNewest();
    std::sort(pages.begin(), pages.end(), newer);
    const auto text = [&texts](qint64 at, qint64 size) -> std::optional<QString> {
        if (at < 0)
            return std::nullopt;
        return QString::fromUtf8(texts.at(at, size));
    };
    for (Held& page : pages)
        sink(PageRecord{names[page.index], text(page.titleAt, page.titleSize), page.date,
                        text(page.descriptionAt, page.descriptionSize), std::move(page.facts), page.size});
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
