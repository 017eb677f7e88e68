#pragma once

#include "engine/order/order.h"
#include "engine/output/pagedetails.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace pagewick {

// The HTML index: "<ul>" CR LF, one "<li><a href=...>title</a>" CR LF per page in the given
// order, "</ul>". Link targets are percent-encoded; a title's "<" and ">" are escaped (its
// references stay as written); a fallback path label is HTML-escaped.
QString BuildIndexText(const QString& folderText, const QStringList& pageNames);

// One index to build: the pages the selection takes, in its order, each entry with the details
// given after its link.
struct IndexRequest {
    QString folderText = {};    // the folder the pages are in
    QStringList pageNames = {}; // the pages as listed
    PageSelection selection = {};
    IndexDetails details = {};
    // Pages read while the folder was listed: taken from it rather than read again.
    PageReadAhead* readAhead = nullptr;
};

// The index of a request.
QString BuildIndexText(const IndexRequest& request);

// What an index build learns of its pages besides their lines (for a page template).
struct IndexSummary {
    qsizetype count = 0; // the pages the index lists
    QDateTime updated;   // the newest page date; invalid when no page has one, or when not asked for
};

// The same index handed to sink piece by piece (each piece whole lines), for writing a big index
// out without holding all of it: the pages are read a batch at a time. With summary, the pages are
// counted into it, and with dated their dates are read and the newest kept.
void StreamIndexText(const IndexRequest& request, const std::function<void(const QString&)>& sink,
                     IndexSummary* summary = nullptr, bool dated = false);

// What StreamIndexText reads of each page (with dated, for a summary's newest date).
PageWants IndexPageWants(const IndexRequest& request, bool dated = false);

// The saved page around an index, ending with a line break (CR LF): PageDocumentStart, the index,
// PageDocumentEnd. A stylesheet address adds a <link rel="stylesheet"> after the charset.
QString BuildPageDocument(const QString& pageTitle, const QString& indexText);
QString PageDocumentStart(const QString& pageTitle, const QString& stylesheetUrl = QString());
QString PageDocumentEnd();

// "&", "<" and ">" of plain text as HTML/XML references.
QString EscapePlainText(const QString& text);

} // namespace pagewick
