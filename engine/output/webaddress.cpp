#include "engine/output/webaddress.h"

#include <QCoreApplication>
#include <QUrl>

namespace pagewick {

bool IsWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty() &&
           !text.contains(u' ');
}

QString SiteAddressProblem(const QString& siteUrl) {
    if (!IsWebAddress(siteUrl))
        return QCoreApplication::translate("pagewick::engine",
                                           "the site address \"%1\" is not an absolute http or https address")
            .arg(siteUrl);
    const QUrl url(siteUrl, QUrl::StrictMode);
    if (url.hasQuery())
        return QCoreApplication::translate(
                   "pagewick::engine",
                   "the site address \"%1\" has a query (\"?\"), and page addresses cannot be put after one")
            .arg(siteUrl);
    if (url.hasFragment())
        return QCoreApplication::translate("pagewick::engine",
                                           "the site address \"%1\" has a fragment (\"#\"), and page "
                                           "addresses cannot be put after one")
            .arg(siteUrl);
    return {};
}

QString EncodedWebAddress(const QString& webAddress) {
    return QString::fromLatin1(QUrl(webAddress, QUrl::StrictMode).toEncoded());
}

} // namespace pagewick
