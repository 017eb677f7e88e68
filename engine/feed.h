#pragma once

#include "engine/order.h"

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
};

// RSS 2.0 code for the pages the options select, in their order, flattened through the entity
// table, and well-formed XML whatever the titles, names and answers hold.
QString BuildFeedText(const FeedRequest& request);

// The same RSS code handed to sink piece by piece as the pages are read (each piece whole items),
// so that a big feed is never held whole.
void StreamFeedText(const FeedRequest& request, const std::function<void(const QString&)>& sink);

// An Atom feed of the pages the options select, in their order; its id and self link are
// options.atomUrl, which FeedAddressProblem requires, as it requires a web address for the site.
QString BuildAtomText(const FeedRequest& request);

// The same Atom feed handed to sink piece by piece.
void StreamAtomText(const FeedRequest& request, const std::function<void(const QString&)>& sink);

// The formatters the builders end in: from read pages, as given, to text, opening no file (the
// request's page names are not looked at). The folder only makes the path that labels a page
// without a title.
QString FormatFeedText(const QList<PageRecord>& pages, const FeedRequest& request);
QString FormatAtomText(const QList<PageRecord>& pages, const FeedRequest& request);

// The facts the reader must find in each page for a feed with these options.
PageWants FeedPageWants(FeedFormat format, const FeedOptions& options);

// Empty when the addresses suit the feed, else what is wrong, as a sentence for a message. Once a
// feed publishes an address (RSS with a guid or a feed address, Atom) the site and feed addresses
// must be absolute http or https addresses; otherwise the site address is free text.
QString FeedAddressProblem(FeedFormat format, const QString& siteUrl, const FeedOptions& options);

// An absolute http or https address with a host, as a strict reading of it accepts it.
bool IsWebAddress(const QString& text);

// Empty when the site address is a web address that page paths can be put after, else what is
// wrong, as a sentence for a message. Besides being a web address it has neither a query nor a
// fragment ("?q=1", "#top"): a path put after those lands in them, and every link would name the
// home page. Every output that publishes addresses (feeds, sitemap), in the window and the command
// line, holds the site address to this.
QString SiteAddressProblem(const QString& siteUrl);

// A checked web address in its fully encoded form (a host in ACE form, the rest percent-encoded).
QString EncodedWebAddress(const QString& webAddress);

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

// Plain text as an XML attribute value in double quotes: XmlText with the double quote escaped too.
QString XmlAttribute(const QString& plainText);

// The date as the date formats of feeds write it, in UTC: "Tue, 08 Dec 2026 11:04:51 +0000"
// (English names whatever the locale) and "2026-12-08T11:04:51Z". Fractions of a second are cut.
QString Rfc822Date(const QDateTime& date);
QString Rfc3339Date(const QDateTime& date);

// The date, in UTC and to the second, when every format above can write it (a year from 1900,
// where RFC 822 dates start, to 9999), else an invalid date. The page reader holds every page date
// to it, so a date no output can write is unknown alike in every output and in the date order.
QDateTime PublishableDate(const QDateTime& date);

// The newest publishable date of the pages; invalid when none has one.
QDateTime NewestPageDate(const QList<PageRecord>& pages);

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
