#include "engine/feed.h"

#include "engine/entities.h"
#include "engine/pagereader.h"
#include "engine/paths.h"
#include "engine/spool_p.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// Appends text without the characters XML cannot carry: controls other than tab, LF and CR,
// lone surrogates, U+FFFE and U+FFFF.
void AppendXmlChars(QString& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate() && IsXmlChar(c.unicode())) {
            out += c;
        }
    }
}

// Appends text as XML character data: what AppendXmlChars keeps, with "&", "<" and ">" escaped.
void AppendXmlText(QString& out, QStringView text) {
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u != u'&' && u != u'<' && u != u'>')
            continue;
        AppendXmlChars(out, text.sliced(from, i - from));
        out += u == u'&' ? u"&amp;" : u == u'<' ? u"&lt;" : u"&gt;";
        from = i + 1;
    }
    AppendXmlChars(out, text.sliced(from));
}

bool IsDigit(QChar c, bool hex) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
}

// Length of the character reference that text starts with ("&name;", "&#65;", "&#x41;"), or 0
// when its "&" begins none. Whether the name is known is not looked at here.
qsizetype ReferenceLength(QStringView text) {
    qsizetype i = 1;
    qsizetype bodyFrom = 1;
    if (i < text.size() && text[i] == u'#') {
        const bool hex = ++i < text.size() && (text[i] == u'x' || text[i] == u'X');
        i += hex;
        bodyFrom = i;
        while (i < text.size() && IsDigit(text[i], hex))
            ++i;
    } else {
        while (i < text.size() && IsAsciiAlnum(text[i]))
            ++i;
    }
    return i > bodyFrom && i < text.size() && text[i] == u';' ? i + 1 : 0;
}

bool IsXmlPredefined(QStringView name) {
    return name == u"amp" || name == u"lt" || name == u"gt" || name == u"quot" || name == u"apos";
}

// The XML form of a complete reference "&...;": references XML predefines as they stand, other
// known names as the characters they stand for, numeric references to characters XML allows with
// the hexadecimal "x" made small as XML requires. nullopt for an unknown name or a character XML
// forbids, whose "&" is then literal.
std::optional<QString> XmlReference(QStringView ref) {
    const QStringView body = ref.sliced(1, ref.size() - 2);
    if (body.startsWith(u'#')) {
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        const QStringView digits = body.sliced(hex ? 2 : 1);
        char32_t value = 0;
        for (const QChar c : digits) {
            // Past the last code point the value is out of range whatever follows; stop growing
            // it before it can wrap round into range.
            if (value > 0x10FFFF)
                break;
            const char16_t u = c.unicode();
            const char32_t digit = u <= u'9' ? u - u'0' : (u | 0x20) - u'a' + 10;
            value = value * (hex ? 16 : 10) + digit;
        }
        if (!IsXmlChar(value))
            return std::nullopt;
        QString xmlRef = hex ? u"&#x"_s : u"&#"_s;
        xmlRef += digits;
        xmlRef += u';';
        return xmlRef;
    }
    if (IsXmlPredefined(body))
        return ref.toString();
    const QString value = LookUpHtmlNamedReference(body);
    if (value.isNull())
        return std::nullopt;
    QString out;
    AppendXmlText(out, value); // "&LT;" names a "<", which still needs escaping
    return out;
}

QString FeedValue(const QString& htmlText) {
    return MakeXmlSafe(FlattenEntities(htmlText));
}

// The description a page's meta element gives, when it gives one with some text in it.
const QString* MetaDescription(const PageRecord& page) {
    return page.description && !page.description->trimmed().isEmpty() ? &*page.description : nullptr;
}

constexpr const char16_t* kDayNames[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
constexpr const char16_t* kMonthNames[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                           u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

// Western digits whatever the locale, zero-padded to the width.
QString Digits(int value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

QString TimeOfDay(QTime time) {
    return Digits(time.hour(), 2) + u':' + Digits(time.minute(), 2) + u':' + Digits(time.second(), 2);
}

} // namespace

QString XmlText(const QString& plainText) {
    QString out;
    AppendXmlText(out, plainText);
    return out;
}

QString XmlAttribute(const QString& plainText) {
    return XmlText(plainText).replace(u'"', u"&quot;"_s);
}

QDateTime PublishableDate(const QDateTime& date) {
    if (!date.isValid())
        return {};
    QDateTime utc = date.toUTC();
    utc.setTime(QTime(utc.time().hour(), utc.time().minute(), utc.time().second()));
    return utc.date().year() >= 1900 && utc.date().year() <= 9999 ? utc : QDateTime();
}

QString Rfc822Date(const QDateTime& date) {
    const QDateTime utc = PublishableDate(date);
    if (!utc.isValid())
        return {};
    const QDate day = utc.date();
    return QString::fromUtf16(kDayNames[day.dayOfWeek() - 1]) + u", "_s + Digits(day.day(), 2) + u' ' +
           QString::fromUtf16(kMonthNames[day.month() - 1]) + u' ' + Digits(day.year(), 4) + u' ' +
           TimeOfDay(utc.time()) + u" +0000"_s;
}

QString Rfc3339Date(const QDateTime& date) {
    const QDateTime utc = PublishableDate(date);
    if (!utc.isValid())
        return {};
    const QDate day = utc.date();
    return Digits(day.year(), 4) + u'-' + Digits(day.month(), 2) + u'-' + Digits(day.day(), 2) + u'T' +
           TimeOfDay(utc.time()) + u'Z';
}

QDateTime NewestPageDate(const QList<PageRecord>& pages) {
    QDateTime newest;
    for (const PageRecord& page : pages) {
        const QDateTime date = PublishableDate(page.date);
        if (date.isValid() && (!newest.isValid() || date > newest))
            newest = date;
    }
    return newest;
}

bool IsWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty() &&
           !text.contains(u' ');
}

QString SiteAddressProblem(const QString& siteUrl) {
    if (!IsWebAddress(siteUrl))
        return QCoreApplication::translate("pagewick::engine",
                                           "the site address \"%1\" is not an absolute http or https address")
            .arg(siteUrl);
    const QUrl url(siteUrl, QUrl::StrictMode);
    if (url.hasQuery())
        return QCoreApplication::translate(
                   "pagewick::engine",
                   "the site address \"%1\" has a query (\"?\"), and page addresses cannot be put after one")
            .arg(siteUrl);
    if (url.hasFragment())
        return QCoreApplication::translate("pagewick::engine",
                                           "the site address \"%1\" has a fragment (\"#\"), and page "
                                           "addresses cannot be put after one")
            .arg(siteUrl);
    return {};
}

QString EncodedWebAddress(const QString& webAddress) {
    return QString::fromLatin1(QUrl(webAddress, QUrl::StrictMode).toEncoded());
}

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

QString TitleAsXmlText(const QString& htmlTitle) {
    return XmlText(ResolveCharacterReferences(htmlTitle));
}

QString MakeXmlSafe(const QString& htmlText) {
    const QStringView text(htmlText);
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype from = 0; // start of the text not yet copied
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', from)) {
        AppendXmlText(out, text.sliced(from, amp - from));
        const QStringView rest = text.sliced(amp);
        const qsizetype length = ReferenceLength(rest);
        const std::optional<QString> ref = length ? XmlReference(rest.first(length)) : std::nullopt;
        if (ref) {
            out += *ref;
            from = amp + length;
        } else {
            out += u"&amp;";
            from = amp + 1;
        }
    }
    AppendXmlText(out, text.sliced(from));
    return out;
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
        const QString itemLink = itemLinkBase + PercentEncodePagePath(page.name);
        QString out = u"<item>\r\n<title>"_s + t + u"</title>\r\n"_s;
        // A meta description is text already, references and all read.
        out += u"<description>"_s + (meta ? XmlText(*meta) : t) + u"</description>\r\n"_s;
        out += u"<link>"_s + itemLink + u"</link>\r\n"_s;
        if (options.guid)
            out += u"<guid isPermaLink=\"true\">"_s + itemLink + u"</guid>\r\n"_s;
        if (options.dates) {
            const QString date = Rfc822Date(page.date);
            if (!date.isEmpty())
                out += u"<pubDate>"_s + date + u"</pubDate>\r\n"_s;
        }
        out += u"</item>"_s;
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
        ForEachSelectedPage(folderText, pageNames, selection, wants,
                            [&](PageRecord&& page) { sink(parts.item(page)); });
        sink(parts.end);
        return;
    }
    // The start names the newest date, known once every page is read: the items wait in a spool
    // (on disk beyond a little memory) rather than as records or as one growing text.
    TextSpool items;
    QDateTime newest;
    ForEachSelectedPage(folderText, pageNames, selection, wants, [&](PageRecord&& page) {
        const QDateTime date = PublishableDate(page.date);
        if (date.isValid() && (!newest.isValid() || date > newest))
            newest = date;
        items.append(parts.item(page));
    });
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
