#pragma once

#include "engine/listing/sitewalk.h"
#include "engine/reading/pagereader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace pagewick {

// One thing that would be wrong to publish.
struct Finding {
    QString page;      // the page's listed name; a folder's relative path followed by "/"; for pages
                       // that share a title, the first of them
    QString kind;      // a fixed word for scripts: see FindingKinds()
    QString detail;    // what is wrong, in plain words
    QStringList pages; // pages that share a title: all of them, in the order checked
    QString title;     // pages that share a title: that title, as it reads
};

// The kinds of finding, in the order a page's findings are given.
QStringList FindingKinds();

// Longer titles are cut in search results.
inline constexpr int kLongTitle = 70;

// A site check as the pages come: each finding is handed to the sink as soon as it is known. The
// sub-folders the walk skipped come first, then each page's own findings, page by page, and last,
// once every page is in, each group of pages that share a title, reported once. Beyond the
// findings it keeps a few bytes a page, whatever the titles hold.
class SiteCheck {
public:
    explicit SiteCheck(std::function<void(const Finding&)> sink);
    ~SiteCheck();
    SiteCheck(const SiteCheck&) = delete;
    SiteCheck& operator=(const SiteCheck&) = delete;

    void addSkipped(const QList<SkippedFolder>& skipped);
    void add(const PageRecord& record); // read with WantFindings
    void finish();
    qsizetype findings() const;

private:
    struct KeyHash {
        size_t operator()(const std::pair<size_t, size_t>& key) const;
    };
    struct Private;
    std::unique_ptr<Private> d;
};

// The findings for pages read with WantFindings (in the order to report them) and for the
// sub-folders the walk had to skip, in SiteCheck's order.
QList<Finding> CheckSite(const QList<PageRecord>& records, const QList<SkippedFolder>& skipped = {});

// Reads the listed pages of a folder (listing.pages, in the order to report them) and gives the
// findings for them and for listing.skipped: what a site check shows, in the window or the CLI.
QList<Finding> CheckListedPages(const QString& folderText, const PageListing& listing);

// The findings as text: one line a finding, "NAME: what", then a line that sums them up. Pages
// that share a title are one finding: a line that says how many share which title, then one line
// for each, indented by two spaces. A name's backslashes, tabs, carriage returns and line feeds are
// written as "\\", "\t", "\r" and "\n", so every finding keeps to its lines.
QString FindingsText(const QList<Finding>& findings, qsizetype pagesChecked);
// The same, a finding at a time, and the closing line.
QString FindingText(const Finding& finding);
QString FindingsSummary(qsizetype findings, qsizetype pagesChecked);

// The whole check of a folder as text, for the window: its pages (and with walk.recursive those of
// its sub-folders) in name order, read once, and FindingsText of what was found.
QString CheckFolderText(const QString& folderText, const WalkOptions& walk);

// The findings as one JSON array of objects with the keys "page", "kind" and "detail"; pages that
// share a title add "title" and "pages" (an array of names).
QByteArray FindingsJson(const QList<Finding>& findings);
// The same, a piece at a time: the array's start, each finding (first says whether it is the
// first), and its end.
QByteArray FindingsJsonStart();
QByteArray FindingJson(const Finding& finding, bool first);
QByteArray FindingsJsonEnd(bool empty);

// A title's HTML as a reader sees the text: character references resolved.
QString TitleText(const QString& titleHtml);

} // namespace pagewick
