#pragma once

#include <QString>
#include <QStringList>

namespace pagewick {

// RSS 2.0 code for the listed pages, flattened through the entity table, and well-formed XML
// whatever the titles, names and answers hold.
QString BuildFeedText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl);

// An HTML fragment (a title, an answer) as XML character data: named references that XML does not
// predefine become their characters, a bare "&" becomes "&amp;", "<" and ">" are escaped, and
// characters XML 1.0 forbids are dropped.
QString MakeXmlSafe(const QString& htmlText);

} // namespace pagewick
