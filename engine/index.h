#pragma once

#include "engine/order.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace pagewick {

// The HTML index: "<ul>" CR LF, one "<li><a href=...>title</a>" CR LF per page in the given
// order, "</ul>". Link targets are percent-encoded; a title's "<" and ">" are escaped (its
// references stay as written); a fallback path label is HTML-escaped.
QString BuildIndexText(const QString& folderText, const QStringList& pageNames);

// The same for the pages the selection takes, in its order.
QString BuildIndexText(const QString& folderText, const QStringList& pageNames,
                       const PageSelection& selection);

// The same index handed to sink piece by piece (each piece whole lines), for writing a big index
// out without holding all of it: the pages are read a batch at a time.
void StreamIndexText(const QString& folderText, const QStringList& pageNames, const PageSelection& selection,
                     const std::function<void(const QString&)>& sink);

// The formatter the builders end in: from read pages to the index, opening no file. The folder
// only makes the path that labels a page without a title.
QString FormatIndexText(const QString& folderText, const QList<PageRecord>& pages);

// The saved page around an index, ending with a line break (CR LF): PageDocumentStart, the index,
// PageDocumentEnd.
QString BuildPageDocument(const QString& pageTitle, const QString& indexText);
QString PageDocumentStart(const QString& pageTitle);
QString PageDocumentEnd();

// "&", "<" and ">" of plain text as HTML/XML references.
QString EscapePlainText(const QString& text);

} // namespace pagewick
