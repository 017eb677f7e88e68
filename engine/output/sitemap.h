#pragma once

#include "engine/order/order.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pagewick {

// The limits of the sitemaps.org protocol: the most pages one sitemap may list, the longest URL
// (URLs must be shorter than 2,048 characters) and the largest file (50 MB).
constexpr qsizetype kSitemapMaxPages = 50000;
constexpr qsizetype kSitemapMaxUrlLength = 2047;
constexpr qsizetype kSitemapMaxBytes = 52428800;

struct SitemapOptions {
    PageSelection selection;
    bool lastmod = false; // each page's date as <lastmod>
};

// A sitemaps.org url set: one <url> a page, its <loc> the site address followed by the page's
// percent-encoded name. The site address must be a web address (see IsWebAddress in feed.h).
QString BuildSitemapText(const QString& folderText, const QStringList& pageNames, const QString& siteUrl,
                         const SitemapOptions& options = {});

// The same sitemap handed to sink piece by piece as the pages are read.
void StreamSitemapText(const QString& folderText, const QStringList& pageNames, const QString& siteUrl,
                       const SitemapOptions& options, const std::function<void(const QString&)>& sink);

// The same sitemap handed to sink only once it is known to keep to the protocol's size limit (it
// waits in a spool, mostly on disk, meanwhile): empty when it was handed on, else what is wrong, as
// SitemapSizeProblem says it, and sink got nothing.
QString StreamSitemapTextWithinLimit(const QString& folderText, const QStringList& pageNames,
                                     const QString& siteUrl, const SitemapOptions& options,
                                     const std::function<void(const QString&)>& sink);

// The formatter the builder ends in: from read pages to text, opening no file.
QString FormatSitemapText(const QList<PageRecord>& pages, const QString& siteUrl,
                          const SitemapOptions& options);

// Empty when the site address suits a sitemap, else what is wrong, as a sentence for a message.
QString SitemapAddressProblem(const QString& siteUrl);

// Empty when a sitemap of these pages under siteUrl (a web address) keeps to the protocol's limits
// on the number of URLs and their length, else what is wrong, as a sentence for a message.
QString SitemapPagesProblem(const QStringList& pageNames, const QString& siteUrl);

// Empty when the sitemap's text, as UTF-8, keeps to the protocol's size limit, else what is wrong.
QString SitemapSizeProblem(const QString& sitemapText);

} // namespace pagewick
