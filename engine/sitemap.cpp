#include "engine/sitemap.h"

#include "engine/feed.h"
#include "engine/paths.h"

#include <QCoreApplication>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

QString FormatSitemapText(const QList<PageRecord>& pages, const QString& siteUrl,
                          const SitemapOptions& options) {
    const QString base = EnsureTrailingSlash(EncodedWebAddress(siteUrl));
    QString out = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                  "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\r\n"_s;
    out.reserve(out.size() + pages.size() * (base.size() + 64));
    for (const PageRecord& page : pages) {
        out += u"<url><loc>"_s + XmlText(base + PercentEncodePagePath(page.name)) + u"</loc>"_s;
        if (options.lastmod) {
            const QString date = Rfc3339Date(page.date);
            if (!date.isEmpty())
                out += u"<lastmod>"_s + date + u"</lastmod>"_s;
        }
        out += u"</url>\r\n"_s;
    }
    out += u"</urlset>"_s;
    return out;
}

QString BuildSitemapText(const QString& folderText, const QStringList& pageNames, const QString& siteUrl,
                         const SitemapOptions& options) {
    if (options.lastmod || options.selection.order == PageOrder::Date)
        return FormatSitemapText(SelectPages(folderText, pageNames, options.selection, WantDate), siteUrl,
                                 options);
    // Without dates a sitemap needs nothing from the pages themselves: none is opened.
    QList<PageRecord> pages;
    for (const QString& name : SelectPageNames(pageNames, options.selection))
        pages.append(PageRecord{name, {}, {}, {}});
    return FormatSitemapText(pages, siteUrl, options);
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

QString SitemapSizeProblem(const QString& sitemapText) {
    qint64 bytes = 0;
    for (const QChar c : sitemapText)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    if (bytes <= kSitemapMaxBytes)
        return {};
    return QCoreApplication::translate("pagewick::engine",
                                       "it would be %1 bytes long, more than the %2 (50 MB) a sitemap may be")
        .arg(bytes)
        .arg(kSitemapMaxBytes);
}

} // namespace pagewick
