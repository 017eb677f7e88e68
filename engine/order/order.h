#pragma once

#include "engine/reading/pagereader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace pagewick {

// The order pages are listed, indexed and fed in.
enum class PageOrder {
    Name,    // alphabetical without regard to letter case (PageNameOrder)
    Natural, // the same, with runs of digits read as numbers ("page2" before "page10")
    Date,    // newest page date first; equal dates, and pages without one at the end, by name
};

// Which pages an output takes and in what order. The default takes every page in name order.
struct PageSelection {
    PageOrder order = PageOrder::Name;
    QStringList excludes; // wildcards ("*", "?", "[...]"), any letter case: matching names are left out
    int limit = 0;        // keep the first so many pages of the order; 0 keeps all
};

// Whether an exclude pattern can be read as a wildcard (an unclosed "[" cannot).
bool IsValidExcludePattern(const QString& pattern);

// Whether a page name matches any of the patterns. A name with sub-folders is matched as a path:
// "*" and "?" do not cross a "/".
bool IsExcludedPageName(const QString& pageName, const QStringList& patterns);

// The names that no pattern excludes, in the same order.
QStringList FilterPageNames(const QStringList& pageNames, const QStringList& patterns);

// Puts read pages in the given order; Date uses each record's date.
void OrderPages(QList<PageRecord>& pages, PageOrder order);

// The reader facts an order needs on top of what the output wants.
PageWants PageWantsFor(const PageSelection& selection, PageWants wants);

// For the orders by name, which need no page read: the names kept, in order, cut to the limit.
// (A date order leaves them in name order, uncut.)
QStringList SelectPageNames(const QStringList& pageNames, const PageSelection& selection);

// The engine's road up to formatting, streamed: excluded names left out unread, the others read
// once (with what the output wants, on a few threads) and handed to sink in the selection's order.
// Name orders hold no record; the date order holds those it has to order (only the newest limit
// of them with a limit).
// With readAhead, the pages it read are taken from it rather than read again.
void ForEachSelectedPage(const QString& folderText, const QStringList& pageNames,
                         const PageSelection& selection, PageWants wants,
                         const std::function<void(PageRecord&&)>& sink, PageReadAhead* readAhead = nullptr);

// The same, gathered: excluded names left out unread, the others read once (with
// what the output wants), put in order and cut to the limit.
QList<PageRecord> SelectPages(const QString& folderText, const QStringList& pageNames,
                              const PageSelection& selection, PageWants wants = WantTitle);

} // namespace pagewick
