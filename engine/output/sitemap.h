#pragma once

#include "engine/order/order.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace pagewick {

struct FeedOptions;

// The limits of the sitemaps.org protocol: the most pages one sitemap may list, the longest URL
// (URLs must be shorter than 2,048 characters) and the largest file (50 MB).
constexpr qsizetype kSitemapMaxPages = 50000;
constexpr qsizetype kSitemapMaxUrlLength = 2047;
constexpr qsizetype kSitemapMaxBytes = 52428800;

struct SitemapOptions {
    PageSelection selection;
    bool lastmod = false; // each page's date as <lastmod>
};

// The sitemap that goes with the feeds: it lists every page the feeds may take (the same pages
// left out, none cut off by a limit), dated when the RSS code is.
SitemapOptions SitemapOptionsForFeeds(const FeedOptions& feed);

// One sitemap to build.
struct SitemapRequest {
    QString folderText = {};    // the folder the pages are in
    QStringList pageNames = {}; // the pages as listed: the options select and order them
    QString siteUrl = {};       // a web address (see IsWebAddress in feed.h) the pages' paths are put after
    SitemapOptions options = {};
    // Pages read while the folder was listed: taken from it rather than read again.
    PageReadAhead* readAhead = nullptr;
};

// A sitemaps.org url set: one <url> a page, its <loc> the site address followed by the page's
// percent-encoded name.
QString BuildSitemapText(const SitemapRequest& request);

// The same sitemap handed to sink piece by piece as the pages are read.
void StreamSitemapText(const SitemapRequest& request, const std::function<void(const QString&)>& sink);

// What StreamSitemapText reads of each page; nullopt when it opens none.
std::optional<PageWants> SitemapPageWants(const SitemapOptions& options);

// The same sitemap, made only when it keeps to the protocol's limits: empty when it was made, else
// what is wrong, as a sentence for a message (SitemapPagesProblem, then SitemapSizeProblem), and
// nothing was made. The Stream form hands it to sink only once its size is known (it waits in a
// spool, mostly on disk, meanwhile); the Build form puts it in *text.
QString StreamSitemapTextWithinLimits(const SitemapRequest& request,
                                      const std::function<void(const QString&)>& sink);
QString BuildSitemapTextWithinLimits(const SitemapRequest& request, QString* text);

// The formatter the builder ends in: from read pages, as given, to text, opening no file (the
// request's folder and page names are not looked at).
QString FormatSitemapText(const QList<PageRecord>& pages, const SitemapRequest& request);

// Empty when the site address suits a sitemap, else what is wrong, as a sentence for a message.
QString SitemapAddressProblem(const QString& siteUrl);

// Empty when a sitemap of these pages under siteUrl (a web address) keeps to the protocol's limits
// on the number of URLs and their length, else what is wrong, as a sentence for a message.
QString SitemapPagesProblem(const QStringList& pageNames, const QString& siteUrl);

// Empty when the sitemap's text, as UTF-8, keeps to the protocol's size limit, else what is wrong.
QString SitemapSizeProblem(const QString& sitemapText);

} // namespace pagewick
