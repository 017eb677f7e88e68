#pragma once

#include "engine/order/order.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace pagewick {

// Where an item's description comes from.
enum class FeedDescription {
    Title, // the page's title, as the plain feed has it
    Meta,  // the page's <meta name="description">, else its title
};

// The feed's options, as the command line and the window's options dialog set them. The defaults
// build exactly the plain feed.
struct FeedOptions {
    PageSelection selection;
    bool guid = false;  // RSS: each item's link again as its <guid isPermaLink="true">
    QString rssUrl;     // RSS: the feed's own address, as <atom:link rel="self">; empty: none
    QString atomUrl;    // Atom: the feed's own address, its id and self link (which an Atom feed needs)
    bool dates = false; // RSS: each item's <pubDate> and the channel's <lastBuildDate>
    FeedDescription description = FeedDescription::Title;
};

enum class FeedFormat { Rss, Atom };

// One feed to build, its parts named so that the title and the address cannot trade places.
struct FeedRequest {
    QString folderText = {};    // the folder the pages are in
    QStringList pageNames = {}; // the pages as listed: the options select and order them
    QString feedTitle = {};     // HTML text, as a page's title is
    QString siteUrl = {};       // the address the pages' paths are put after
    FeedOptions options = {};   // the defaults build the plain feed
    // Pages read while the folder was listed: taken from it rather than read again.
    PageReadAhead* readAhead = nullptr;
};

// RSS 2.0 code for the pages the options select, in their order, flattened through the entity
// table, and well-formed XML whatever the titles, names and answers hold.
QString BuildFeedText(const FeedRequest& request);

// The same RSS code handed to sink piece by piece as the pages are read (each piece whole items),
// so that a big feed is never held whole.
void StreamFeedText(const FeedRequest& request, const std::function<void(const QString&)>& sink);

// The formatter the builders end in: from read pages, as given, to text, opening no file (the
// request's page names are not looked at). The folder only makes the path that labels a page
// without a title.
QString FormatFeedText(const QList<PageRecord>& pages, const FeedRequest& request);

// The facts the reader must find in each page for a feed with these options.
PageWants FeedPageWants(FeedFormat format, const FeedOptions& options);

// Empty when the addresses suit the feed, else what is wrong, as a sentence for a message. Once a
// feed publishes an address (RSS with a guid or a feed address, Atom) the site and feed addresses
// must be absolute http or https addresses; otherwise the site address is free text.
QString FeedAddressProblem(FeedFormat format, const QString& siteUrl, const FeedOptions& options);

namespace detail {

// How a feed is made from the pages: its start (which may name the newest page date), one item a
// selected page in the selection's order, and its end.
struct FeedParts {
    bool needsNewest = false;
    std::function<QString(const QDateTime&)> start; // given the newest publishable date, or none
    std::function<QString(const PageRecord&)> item;
    QString end;
    // Items may hold newestMark where the newest date goes, written as newestText gives it.
    QString newestMark;
    std::function<QString(const QDateTime&)> newestText;
};

// The feed of the request's pages (its options select and order them) handed to sink piece by
// piece. With needsNewest the start comes once every page is read, and the items wait for it
// outside memory.
void StreamFeed(const FeedRequest& request, PageWants wants, const FeedParts& parts,
                const std::function<void(const QString&)>& sink);

} // namespace detail

} // namespace pagewick
