// The Atom feed: one small formatter over read pages, and its builder.

#include "engine/feed.h"

#include "engine/paths.h"

#include <QTimeZone>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

QString FormatAtomText(const QString& folderText, const QList<PageRecord>& pages, const QString& feedTitle,
                       const QString& siteUrl, const FeedOptions& options) {
    const QString site = EncodedWebAddress(siteUrl);
    const QString self = XmlAttribute(EncodedWebAddress(options.feedUrl));
    const QString entryBase = EnsureTrailingSlash(site);
    // A feed must say when it last changed. Without a page date the output still stays the same
    // from one run to the next: the start of the Unix epoch, not the time of the run.
    QDateTime newest = NewestPageDate(pages);
    if (!newest.isValid())
        newest = QDateTime::fromSecsSinceEpoch(0, QTimeZone::utc());
    const QString title = MakeXmlSafe(feedTitle);

    QString out = u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                  "<feed xmlns=\"http://www.w3.org/2005/Atom\">\r\n"_s;
    out += u"<id>"_s + XmlText(EncodedWebAddress(options.feedUrl)) + u"</id>\r\n"_s;
    out += u"<title>"_s + title + u"</title>\r\n"_s;
    out += u"<updated>"_s + Rfc3339Date(newest) + u"</updated>\r\n"_s;
    // Atom asks for an author; the site's feed title names it.
    out += u"<author><name>"_s + title + u"</name></author>\r\n"_s;
    out += u"<link rel=\"self\" type=\"application/atom+xml\" href=\""_s + self + u"\"/>\r\n"_s;
    out += u"<link rel=\"alternate\" type=\"text/html\" href=\""_s + XmlAttribute(site) + u"\"/>\r\n"_s;
    for (const PageRecord& page : pages) {
        const QString link = entryBase + PercentEncodePagePath(page.name);
        const QDateTime date = PublishableDate(page.date);
        out += u"<entry>\r\n"_s;
        out += u"<id>"_s + XmlText(link) + u"</id>\r\n"_s;
        out += u"<link href=\""_s + XmlAttribute(link) + u"\"/>\r\n"_s;
        // A title is HTML as the page has it: its references are read once, here, as a browser
        // reads them. A page without a title is labelled with its path, which is plain text.
        out += u"<title>"_s +
               (page.title ? TitleAsXmlText(*page.title) : XmlText(PagePath(folderText, page.name))) +
               u"</title>\r\n"_s;
        out += u"<updated>"_s + Rfc3339Date(date.isValid() ? date : newest) + u"</updated>\r\n"_s;
        if (options.description == FeedDescription::Meta && page.description &&
            !page.description->trimmed().isEmpty())
            out += u"<summary>"_s + XmlText(*page.description) + u"</summary>\r\n"_s;
        out += u"</entry>\r\n"_s;
    }
    out += u"</feed>"_s;
    return out;
}

QString BuildAtomText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl, const FeedOptions& options) {
    return FormatAtomText(
        folderText,
        SelectPages(folderText, pageNames, options.selection, FeedPageWants(FeedFormat::Atom, options)),
        feedTitle, siteUrl, options);
}

} // namespace pagewick
