#include "engine/output/feed.h"

#include "engine/files/paths.h"
#include "engine/output/feeddate.h"
#include "engine/output/spool_p.h"
#include "engine/output/webaddress.h"
#include "engine/output/xmltext.h"
#include "engine/reading/pagereader.h"
#include "engine/text/entities.h"

#include <QCoreApplication>
#include <QStringBuilder>
#include <QUrl>

#include <algorithm>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

QString FeedValue(const QString& htmlText) {
    return MakeXmlSafe(FlattenEntities(htmlText));
}

// The description a page's meta element gives, when it gives one with some text in it.
const QString* MetaDescription(const PageRecord& page) {
    return page.description && !page.description->trimmed().isEmpty() ? &*page.description : nullptr;
}

} // namespace

PageWants FeedPageWants(FeedFormat format, const FeedOptions& options) {
    PageWants wants = WantTitle;
    if (format == FeedFormat::Atom || options.dates)
        wants |= WantDate;
    if (options.description == FeedDescription::Meta)
        wants |= WantDescription;
    return PageWantsFor(options.selection, wants);
}

QString FeedAddressProblem(FeedFormat format, const QString& siteUrl, const FeedOptions& options) {
    const QString& feedUrl = format == FeedFormat::Atom ? options.atomUrl : options.rssUrl;
    if (format == FeedFormat::Atom && feedUrl.isEmpty())
        return QCoreApplication::translate("pagewick::engine", "an Atom feed needs the feed's own address");
    const bool published = format == FeedFormat::Atom || options.guid || !feedUrl.isEmpty();
    if (!published)
        return {};
    if (QString problem = SiteAddressProblem(siteUrl); !problem.isEmpty())
        return problem;
    if (!feedUrl.isEmpty() && !IsWebAddress(feedUrl))
        return QCoreApplication::translate("pagewick::engine",
                                           "the feed address \"%1\" is not an absolute http or https address")
            .arg(feedUrl);
    return {};
}

namespace {

// The RSS code in three parts: the channel's start, one item a page, the end. Each part is
// flattened on its own; no reference can span two, as each starts and ends with a tag or a line
// break.
class RssParts {
public:
    explicit RssParts(const FeedRequest& request)
        : folderText(request.folderText), options(request.options), title(FeedValue(request.feedTitle)),
          link(FeedValue(request.siteUrl)), itemLinkBase(EnsureTrailingSlash(link)) {}

    // The newest date is asked for only with dates.
    bool needsNewest() const { return options.dates; }

    QString start(const QDateTime& newest) const {
        QString out = u"<?xml version=\"1.0\"?><rss version=\"2.0\""_s;
        if (!options.rssUrl.isEmpty())
            out += u" xmlns:atom=\"http://www.w3.org/2005/Atom\""_s;
        out += u"><channel>\r\n"_s;
        out += u"<title>"_s + title + u"</title><link>"_s + link + u"</link><description>"_s + title +
               u"</description>"_s;
        if (!options.rssUrl.isEmpty())
            out += u"<atom:link href=\""_s + XmlAttribute(EncodedWebAddress(options.rssUrl)) +
                   u"\" rel=\"self\" type=\"application/rss+xml\"/>"_s;
        if (options.dates && newest.isValid())
            out += u"<lastBuildDate>"_s + Rfc822Date(newest) + u"</lastBuildDate>"_s;
        out += u"\r\n"_s;
        return FlattenEntities(out);
    }

    QString item(const PageRecord& page) const {
        // A page without a title is labelled with its path, which is plain text and not HTML.
        // The flattening table replaces the references it names as they are written; the rest
        // are read as a browser reads them.
        const QString t = page.title ? TitleAsXmlText(FlattenEntities(*page.title))
                                     : XmlText(PagePath(folderText, page.name));
        const QString* meta = options.description == FeedDescription::Meta ? MetaDescription(page) : nullptr;
        // A meta description is text already, references and all read.
        const QString description = meta ? XmlText(*meta) : t;
        const QString encodedPath = PercentEncodePagePath(page.name);
        const QString date = options.dates ? Rfc822Date(page.date) : QString();
        // Written into one text made big enough at the start, each part once.
        QString out;
        out.reserve(160 + t.size() + description.size() + 2 * (itemLinkBase.size() + encodedPath.size()) +
                    date.size());
        out += u"<item>\r\n<title>" % t % u"</title>\r\n<description>" % description %
               u"</description>\r\n<link>" % itemLinkBase % encodedPath % u"</link>\r\n";
        if (options.guid)
            out += u"<guid isPermaLink=\"true\">" % itemLinkBase % encodedPath % u"</guid>\r\n";
        if (!date.isEmpty())
            out += u"<pubDate>" % date % u"</pubDate>\r\n";
        out += u"</item>";
        // The values are flattened already; this pass covers the text as a whole, as the format has it.
        return FlattenEntities(out);
    }

    QString end() const { return u"</channel></rss>"_s; }

private:
    const QString& folderText;
    const FeedOptions& options;
    const QString title;
    const QString link;
    const QString itemLinkBase;
};

} // namespace

QString FormatFeedText(const QList<PageRecord>& pages, const FeedRequest& request) {
    const RssParts parts(request);
    QString out = parts.start(parts.needsNewest() ? NewestPageDate(pages) : QDateTime());
    for (const PageRecord& page : pages)
        out += parts.item(page);
    return out + parts.end();
}

QString BuildFeedText(const FeedRequest& request) {
    QString out;
    StreamFeedText(request, [&out](const QString& piece) { out += piece; });
    return out;
}

void StreamFeedText(const FeedRequest& request, const std::function<void(const QString&)>& sink) {
    const RssParts rss(request);
    detail::FeedParts parts;
    parts.needsNewest = rss.needsNewest();
    parts.start = [&rss](const QDateTime& newest) { return rss.start(newest); };
    parts.item = [&rss](const PageRecord& page) { return rss.item(page); };
    parts.end = rss.end();
    detail::StreamFeed(request, FeedPageWants(FeedFormat::Rss, request.options), parts, sink);
}

namespace detail {

void StreamFeed(const FeedRequest& request, PageWants wants, const FeedParts& parts,
                const std::function<void(const QString&)>& sink) {
    const QString& folderText = request.folderText;
    const QStringList& pageNames = request.pageNames;
    const PageSelection& selection = request.options.selection;
    if (!parts.needsNewest) {
        sink(parts.start(QDateTime()));
        ForEachSelectedPage(
            folderText, pageNames, selection, wants, [&](PageRecord&& page) { sink(parts.item(page)); },
            request.readAhead);
        sink(parts.end);
        return;
    }
    // The start names the newest date, known once every page is read: the items wait in a spool
    // (on disk beyond a little memory) rather than as records or as one growing text.
    TextSpool items;
    QDateTime newest;
    ForEachSelectedPage(
        folderText, pageNames, selection, wants,
        [&](PageRecord&& page) {
            const QDateTime date = PublishableDate(page.date);
            if (date.isValid() && (!newest.isValid() || date > newest))
                newest = date;
            items.append(parts.item(page));
        },
        request.readAhead);
    sink(parts.start(newest));
    if (parts.newestMark.isEmpty()) {
        items.replay(sink);
    } else {
        const QString newestText = parts.newestText(newest);
        items.replay([&](const QString& piece) {
            sink(piece.contains(parts.newestMark) ? QString(piece).replace(parts.newestMark, newestText)
                                                  : piece);
        });
    }
    sink(parts.end);
}

} // namespace detail

} // namespace pagewick
