#include "engine/feed.h"

#include "engine/entities.h"
#include "engine/paths.h"
#include "engine/title.h"

namespace pagewick {

QString MakeXmlSafe(const QString& htmlText) { return htmlText; }

QString BuildFeedText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl) {
    QString out = QStringLiteral("<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n");
    out += QStringLiteral("<title>") + feedTitle + QStringLiteral("</title><link>") + siteUrl +
           QStringLiteral("</link><description>") + feedTitle + QStringLiteral("</description>\r\n");
    for (const QString& name : pageNames) {
        const QString t = ExtractTitle(PagePath(folderText, name));
        out += QStringLiteral("<item>\r\n<title>") + t + QStringLiteral("</title>\r\n");
        out += QStringLiteral("<description>") + t + QStringLiteral("</description>\r\n");
        out += QStringLiteral("<link>") + EnsureTrailingSlash(siteUrl) + name + QStringLiteral("</link>\r\n");
        out += QStringLiteral("</item>");
    }
    out += QStringLiteral("</channel></rss>");
    return FlattenEntities(out);
}

} // namespace pagewick
