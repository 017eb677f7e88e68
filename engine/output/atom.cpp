// The Atom feed: one small formatter over read pages, and its builder.

#include "engine/output/atom.h"

#include "engine/files/paths.h"
#include "engine/output/feeddate.h"
#include "engine/output/webaddress.h"
#include "engine/output/xmltext.h"

#include <QStringBuilder>
#include <QTimeZone>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

// A feed must say when it last changed. Without a page date the output still stays the same
// from one run to the next: the start of the Unix epoch, not the time of the run.
QDateTime FeedUpdated(const QDateTime& newest) {
    return newest.isValid() ? newest : QDateTime::fromSecsSinceEpoch(0, QTimeZone::utc());
}

// The Atom feed in three parts: its start, one entry a page, its end.
class AtomParts {
public:
    explicit AtomParts(const FeedRequest& request)
        : folderText(request.folderText), options(request.options), site(EncodedWebAddress(request.siteUrl)),
          self(XmlAttribute(EncodedWebAddress(options.atomUrl))), entryBase(EnsureTrailingSlash(site)),
          title(MakeXmlSafe(request.feedTitle)) {}

    QString start(const QDateTime& newest) const {
        QString out = u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                      "<feed xmlns=\"http://www.w3.org/2005/Atom\">\r\n"_s;
        out += u"<id>"_s + XmlText(EncodedWebAddress(options.atomUrl)) + u"</id>\r\n"_s;
        out += u"<title>"_s + title + u"</title>\r\n"_s;
        out += u"<updated>"_s + Rfc3339Date(FeedUpdated(newest)) + u"</updated>\r\n"_s;
        // Atom asks for an author; the site's feed title names it.
        out += u"<author><name>"_s + title + u"</name></author>\r\n"_s;
        out += u"<link rel=\"self\" type=\"application/atom+xml\" href=\""_s + self + u"\"/>\r\n"_s;
        out += u"<link rel=\"alternate\" type=\"text/html\" href=\""_s + XmlAttribute(site) + u"\"/>\r\n"_s;
        return out;
    }

    // An entry without a date of its own takes the feed's, given as updated.
    QString entry(const PageRecord& page, const QString& updated) const {
        const QString link = XmlText(entryBase + PercentEncodePagePath(page.name));
        // A title is HTML as the page has it: its references are read once, here, as a browser
        // reads them. A page without a title is labelled with its path, which is plain text.
        const QString title =
            page.title ? TitleAsXmlText(*page.title) : XmlText(PagePath(folderText, page.name));
        const QString date = Rfc3339Date(page.date);
        const bool summary = options.description == FeedDescription::Meta && page.description &&
                             !page.description->trimmed().isEmpty();
        const QString linkAttribute = link.contains(u'"') ? QString(link).replace(u'"', u"&quot;"_s) : link;
        const QString summaryText = summary ? XmlText(*page.description) : QString();
        const QStringView when = date.isEmpty() ? QStringView(updated) : QStringView(date);
        // Written into one text made big enough at the start, each part once.
        QString out;
        out.reserve(120 + link.size() + linkAttribute.size() + title.size() + when.size() +
                    summaryText.size());
        out += u"<entry>\r\n<id>" % link % u"</id>\r\n<link href=\"" % linkAttribute % u"\"/>\r\n<title>" %
               title % u"</title>\r\n<updated>" % when % u"</updated>\r\n";
        if (summary)
            out += u"<summary>" % summaryText % u"</summary>\r\n";
        out += u"</entry>\r\n";
        return out;
    }

    static QString end() { return u"</feed>"_s; }

private:
    const QString& folderText;
    const FeedOptions& options;
    const QString site;
    const QString self;
    const QString entryBase;
    const QString title;
};

} // namespace

QString FormatAtomText(const QList<PageRecord>& pages, const FeedRequest& request) {
    const AtomParts atom(request);
    const QDateTime newest = NewestPageDate(pages);
    const QString updated = Rfc3339Date(FeedUpdated(newest));
    QString out = atom.start(newest);
    for (const PageRecord& page : pages)
        out += atom.entry(page, updated);
    return out + atom.end();
}

void StreamAtomText(const FeedRequest& request, const std::function<void(const QString&)>& sink) {
    const AtomParts atom(request);
    detail::FeedParts parts;
    parts.needsNewest = true;
    parts.start = [&atom](const QDateTime& newest) { return atom.start(newest); };
    // U+0001 cannot stand in XML text, so it cannot come from a page: it marks where the feed's
    // date goes in an entry that has none of its own.
    parts.newestMark = u"\u0001updated\u0001"_s;
    parts.newestText = [](const QDateTime& newest) { return Rfc3339Date(FeedUpdated(newest)); };
    parts.item = [&](const PageRecord& page) { return atom.entry(page, parts.newestMark); };
    parts.end = AtomParts::end();
    detail::StreamFeed(request, FeedPageWants(FeedFormat::Atom, request.options), parts, sink);
}

QString BuildAtomText(const FeedRequest& request) {
    QString out;
    StreamAtomText(request, [&out](const QString& piece) { out += piece; });
    return out;
}

} // namespace pagewick
