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
    return IsWebAddress(siteUrl)
               ? QString()
               : QCoreApplication::translate(
                     "pagewick::engine", "the site address \"%1\" is not an absolute http or https address")
                     .arg(siteUrl);
}

} // namespace pagewick
