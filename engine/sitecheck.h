#pragma once

#include "engine/pagereader.h"
#include "engine/sitewalk.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace pagewick {

// One thing that would be wrong to publish.
struct Finding {
    QString page;   // the page's listed name; a folder's relative path followed by "/"
    QString kind;   // a fixed word for scripts: see FindingKinds()
    QString detail; // what is wrong, in plain words
};

// The kinds of finding, in the order a page's findings are given.
QStringList FindingKinds();

// Longer titles are cut in search results.
inline constexpr int kLongTitle = 70;

// The findings for pages read with WantFindings (in the order to report them) and for the
// sub-folders the walk had to skip: folders first, then page by page.
QList<Finding> CheckSite(const QList<PageRecord>& records, const QList<SkippedFolder>& skipped = {});

// Reads the listed pages of a folder (listing.pages, in the order to report them) and gives the
// findings for them and for listing.skipped: what a site check shows, in the window or the CLI.
QList<Finding> CheckListedPages(const QString& folderText, const PageListing& listing);

// The findings as text: one line a finding, "NAME: what", then a line that sums them up.
QString FindingsText(const QList<Finding>& findings, qsizetype pagesChecked);

// The whole check of a folder as text, for the window: its pages (and with walk.recursive those of
// its sub-folders) in name order, read once, and FindingsText of what was found.
QString CheckFolderText(const QString& folderText, const WalkOptions& walk);

// The findings as one JSON array of objects with the keys "page", "kind" and "detail".
QByteArray FindingsJson(const QList<Finding>& findings);

// A title's HTML as a reader sees the text: character references resolved.
QString TitleText(const QString& titleHtml);

} // namespace pagewick
