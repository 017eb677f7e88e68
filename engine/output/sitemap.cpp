#include "engine/output/sitemap.h"

#include "engine/files/paths.h"
#include "engine/output/feed.h"
#include "engine/output/feeddate.h"
#include "engine/output/spool_p.h"
#include "engine/output/webaddress.h"
#include "engine/output/xmltext.h"

#include <QCoreApplication>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

QString SitemapStart() {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\r\n"_s;
}

void AppendSitemapUrl(QString& out, const QString& base, const QString& name, const QDateTime& date,
                      const SitemapOptions& options) {
    out += u"<url><loc>"_s + XmlText(base + PercentEncodePagePath(name)) + u"</loc>"_s;
    if (options.lastmod) {
        const QString text = Rfc3339Date(date);
        if (!text.isEmpty())
            out += u"<lastmod>"_s + text + u"</lastmod>"_s;
    }
    out += u"</url>\r\n"_s;
}

} // namespace

SitemapOptions SitemapOptionsForFeeds(const FeedOptions& feed) {
    SitemapOptions options;
    options.selection.excludes = feed.selection.excludes;
    options.lastmod = feed.dates;
    return options;
}

QString FormatSitemapText(const QList<PageRecord>& pages, const SitemapRequest& request) {
    const QString& siteUrl = request.siteUrl;
    const SitemapOptions& options = request.options;
    const QString base = EnsureTrailingSlash(EncodedWebAddress(siteUrl));
    QString out = SitemapStart();
    out.reserve(out.size() + pages.size() * (base.size() + 64));
    for (const PageRecord& page : pages)
        AppendSitemapUrl(out, base, page.name, page.date, options);
    out += u"</urlset>"_s;
    return out;
}

std::optional<PageWants> SitemapPageWants(const SitemapOptions& options) {
    if (!options.lastmod && options.selection.order != PageOrder::Date)
        return std::nullopt;
    return PageWantsFor(options.selection, WantDate);
}

void StreamSitemapText(const SitemapRequest& request, const std::function<void(const QString&)>& sink) {
    const QString& folderText = request.folderText;
    const QStringList& pageNames = request.pageNames;
    const SitemapOptions& options = request.options; // a lambda below takes it: no structured binding
    constexpr qsizetype kBatch = 1024;
    const QString base = EnsureTrailingSlash(EncodedWebAddress(request.siteUrl));
    QString piece = SitemapStart();
    qsizetype count = 0;
    const auto add = [&](const QString& name, const QDateTime& date) {
        AppendSitemapUrl(piece, base, name, date, options);
        if (++count % kBatch == 0) {
            sink(piece);
            piece.clear();
        }
    };
    if (const std::optional<PageWants> wants = SitemapPageWants(options)) {
        ForEachSelectedPage(
            folderText, pageNames, options.selection, *wants,
            [&](PageRecord&& page) { add(page.name, page.date); }, request.readAhead);
    } else {
        // Without dates a sitemap needs nothing from the pages themselves: none is opened.
        for (const QString& name : SelectPageNames(pageNames, options.selection))
            add(name, QDateTime());
    }
    piece += u"</urlset>"_s;
    sink(piece);
}

QString BuildSitemapText(const SitemapRequest& request) {
    QString out;
    StreamSitemapText(request, [&out](const QString& piece) { out += piece; });
    return out;
}

QString SitemapAddressProblem(const QString& siteUrl) {
    return SiteAddressProblem(siteUrl);
}

QString SitemapPagesProblem(const QStringList& pageNames, const QString& siteUrl) {
    if (pageNames.size() > kSitemapMaxPages)
        return QCoreApplication::translate("pagewick::engine",
                                           "it would list %1 pages, more than the %2 a sitemap may hold")
            .arg(pageNames.size())
            .arg(kSitemapMaxPages);
    const QString base = EnsureTrailingSlash(EncodedWebAddress(siteUrl));
    for (const QString& name : pageNames) {
        // A character takes at most nine when percent-encoded: only a long name is measured.
        if (base.size() + 9 * name.size() <= kSitemapMaxUrlLength)
            continue;
        const qsizetype length = base.size() + PercentEncodePagePath(name).size();
        if (length > kSitemapMaxUrlLength)
            return QCoreApplication::translate(
                       "pagewick::engine", "the address of %1 would be %2 characters long, and a sitemap's "
                                           "addresses must be shorter than %3")
                .arg(name.size() > 120 ? name.first(100) + u"..."_s : name, QString::number(length),
                     QString::number(kSitemapMaxUrlLength + 1));
    }
    return {};
}

namespace {

qint64 Utf8Length(const QString& text) {
    qint64 bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return bytes;
}

QString SizeProblem(qint64 bytes) {
    if (bytes <= kSitemapMaxBytes)
        return {};
    return QCoreApplication::translate("pagewick::engine",
                                       "it would be %1 bytes long, more than the %2 (50 MB) a sitemap may be")
        .arg(bytes)
        .arg(kSitemapMaxBytes);
}

} // namespace

QString SitemapSizeProblem(const QString& sitemapText) {
    return SizeProblem(Utf8Length(sitemapText));
}

namespace {

// The pages a sitemap of the request would list, as far as they can be known without reading
// one: a date order with a limit keeps every page it chooses from, so the check is the stricter.
QString RequestPagesProblem(const SitemapRequest& request) {
    return SitemapPagesProblem(SelectPageNames(request.pageNames, request.options.selection),
                               request.siteUrl);
}

} // namespace

QString BuildSitemapTextWithinLimits(const SitemapRequest& request, QString* text) {
    if (QString problem = RequestPagesProblem(request); !problem.isEmpty())
        return problem;
    QString built = BuildSitemapText(request);
    if (QString problem = SitemapSizeProblem(built); !problem.isEmpty())
        return problem;
    *text = std::move(built);
    return {};
}

QString StreamSitemapTextWithinLimits(const SitemapRequest& request,
                                      const std::function<void(const QString&)>& sink) {
    if (QString problem = RequestPagesProblem(request); !problem.isEmpty())
        return problem;
    detail::TextSpool spool;
    qint64 bytes = 0;
    StreamSitemapText(request, [&](const QString& piece) {
        bytes += Utf8Length(piece);
        spool.append(piece);
    });
    if (QString problem = SizeProblem(bytes); !problem.isEmpty())
        return problem;
    spool.replay(sink);
    return {};
}

} // namespace pagewick
