#pragma once

#include <QString>
#include <QStringList>

namespace pagewick {

// The HTML index: "<ul>" CR LF, one "<li><a href=...>title</a>" CR LF per page in the given
// order, "</ul>". Link targets are percent-encoded; a fallback path label is HTML-escaped.
QString BuildIndexText(const QString& folderText, const QStringList& pageNames);

// The saved page around an index, ending with a line break (CR LF).
QString BuildPageDocument(const QString& pageTitle, const QString& indexText);

// "&", "<" and ">" of plain text as HTML/XML references.
QString EscapePlainText(const QString& text);

} // namespace pagewick
