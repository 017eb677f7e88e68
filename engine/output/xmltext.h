#pragma once

#include <QString>
#include <QStringView>

// Text as XML carries it, for the feeds and the sitemap.

namespace pagewick {

// An HTML fragment (a title, an answer) as XML character data: named references that XML does not
// predefine become their characters, a bare "&" becomes "&amp;", "<" and ">" are escaped, and
// characters XML 1.0 forbids are dropped.
QString MakeXmlSafe(const QString& htmlText);

// A page's title (HTML text, as the page has it) as XML character data in a feed: its character
// references read as a browser reads them in a title (ResolveCharacterReferences), then escaped as
// XmlText does.
QString TitleAsXmlText(const QString& htmlTitle);

// Plain text as XML character data: "&", "<" and ">" escaped, characters XML 1.0 forbids dropped.
QString XmlText(const QString& plainText);

// XmlText appended to out, for a text built in one piece.
void AppendXmlText(QString& out, QStringView text);

// Plain text as an XML attribute value in double quotes: XmlText with the double quote escaped too.
QString XmlAttribute(const QString& plainText);

} // namespace pagewick
