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

// Appends text as XML character data: without the characters XML cannot carry (controls other
// than tab, LF and CR, lone surrogates, U+FFFE and U+FFFF), and with "&", "<" and ">" escaped.
// Runs of characters that need neither go in whole.
void AppendXmlText(QString& out, QStringView text) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype from = 0; // start of the run not yet appended
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if ((u > u'>' && u < 0xD800) || (u >= 0x20 && u < u'>' && u != u'&' && u != u'<'))
            continue;
        if (u == u'\t' || u == u'\n' || u == u'\r' || (u >= 0xE000 && u <= 0xFFFD))
            continue;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            ++i;
            continue;
        }
        out.append(QStringView(p + from, i - from));
        from = i + 1;
        if (u == u'&')
            out += u"&amp;";
        else if (u == u'<')
            out += u"&lt;";
        else if (u == u'>')
            out += u"&gt;";
    }
    out.append(QStringView(p + from, n - from));
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

constexpr char kDayNames[][4] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr char kMonthNames[][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A publishable date (see PublishableDate) as the fields of a UTC calendar, worked out from the
// seconds since the epoch in one go: feeds write a date for every page.
struct UtcFields {
    int year, month, day, weekday; // weekday: 1 for Monday to 7 for Sunday
    int hour, minute, second;
};

std::optional<UtcFields> PublishableFields(const QDateTime& date) {
    if (!date.isValid())
        return std::nullopt;
    const qint64 ms = date.toMSecsSinceEpoch();
    const qint64 seconds = ms / 1000 - (ms % 1000 < 0);
    const qint64 days = seconds / 86400 - (seconds % 86400 < 0);
    const int ofDay = int(seconds - days * 86400);
    // Days to the proleptic Gregorian calendar, in eras of 400 years from 1 March of year 0.
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    UtcFields f{};
    f.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    f.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const qint64 year = yearOfEra + era * 400 + (f.month <= 2);
    if (year < 1900 || year > 9999)
        return std::nullopt;
    f.year = int(year);
    f.weekday = int(((days % 7) + 7 + 3) % 7) + 1; // 1 January 1970 was a Thursday
    f.hour = ofDay / 3600;
    f.minute = ofDay / 60 % 60;
    f.second = ofDay % 60;
    return f;
}

// Western digits whatever the locale, zero-padded to the width.
char* PutDigits(char* at, int value, int width) {
    for (int k = width - 1; k >= 0; --k, value /= 10)
        at[k] = char('0' + value % 10);
    return at + width;
}

char* PutText(char* at, const char* text) {
    while (*text)
        *at++ = *text++;
    return at;
}

char* PutTimeOfDay(char* at, const UtcFields& f) {
    at = PutDigits(at, f.hour, 2);
    *at++ = ':';
    at = PutDigits(at, f.minute, 2);
    *at++ = ':';
    return PutDigits(at, f.second, 2);
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
    const qint64 ms = date.toMSecsSinceEpoch();
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(ms - (ms % 1000 + 1000) % 1000, Qt::UTC);
    return utc.date().year() >= 1900 && utc.date().year() <= 9999 ? utc : QDateTime();
}

QString Rfc822Date(const QDateTime& date) {
    const std::optional<UtcFields> f = PublishableFields(date);
    if (!f)
        return {};
    char text[32];
    char* at = PutText(text, kDayNames[f->weekday - 1]);
    at = PutText(at, ", ");
    at = PutDigits(at, f->day, 2);
    *at++ = ' ';
    at = PutText(at, kMonthNames[f->month - 1]);
    *at++ = ' ';
    at = PutDigits(at, f->year, 4);
    *at++ = ' ';
    at = PutTimeOfDay(at, *f);
    at = PutText(at, " +0000");
    return QString::fromLatin1(text, at - text);
}

QString Rfc3339Date(const QDateTime& date) {
    const std::optional<UtcFields> f = PublishableFields(date);
    if (!f)
        return {};
    char text[24];
    char* at = PutDigits(text, f->year, 4);
    *at++ = '-';
    at = PutDigits(at, f->month, 2);
    *at++ = '-';
    at = PutDigits(at, f->day, 2);
    *at++ = 'T';
    at = PutTimeOfDay(at, *f);
    *at++ = 'Z';
    return QString::fromLatin1(text, at - text);
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

unsigned FeedPageWants(FeedFormat format, const FeedOptions& options) {
    unsigned wants = WantTitle;
    if (format == FeedFormat::Atom || options.dates)
        wants |= WantDate;
    if (options.description == FeedDescription::Meta)
        wants |= WantDescription;
    return PageWantsFor(options.selection, wants);
}

QString FeedAddressProblem(FeedFormat format, const QString& siteUrl, const FeedOptions& options) {
    if (format == FeedFormat::Atom && options.feedUrl.isEmpty())
        return QCoreApplication::translate("pagewick::engine", "an Atom feed needs the feed's own address");
    const bool published = format == FeedFormat::Atom || options.guid || !options.feedUrl.isEmpty();
    if (!published)
        return {};
    if (QString problem = SiteAddressProblem(siteUrl); !problem.isEmpty())
        return problem;
    if (!options.feedUrl.isEmpty() && !IsWebAddress(options.feedUrl))
        return QCoreApplication::translate("pagewick::engine",
                                           "the feed address \"%1\" is not an absolute http or https address")
            .arg(options.feedUrl);
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
    RssParts(const QString& folderText, const QString& feedTitle, const QString& siteUrl,
             const FeedOptions& options)
        : folderText(folderText), options(options), title(FeedValue(feedTitle)), link(FeedValue(siteUrl)),
          itemLinkBase(EnsureTrailingSlash(link)) {}

    // The newest date is asked for only with dates.
    bool needsNewest() const { return options.dates; }

    QString start(const QDateTime& newest) const {
        QString out = u"<?xml version=\"1.0\"?><rss version=\"2.0\""_s;
        if (!options.feedUrl.isEmpty())
            out += u" xmlns:atom=\"http://www.w3.org/2005/Atom\""_s;
        out += u"><channel>\r\n"_s;
        out += u"<title>"_s + title + u"</title><link>"_s + link + u"</link><description>"_s + title +
               u"</description>"_s;
        if (!options.feedUrl.isEmpty())
            out += u"<atom:link href=\""_s + XmlAttribute(EncodedWebAddress(options.feedUrl)) +
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
        const QString encodedPath = PercentEncodePagePath(page.name);
        // Written into one text made big enough at the start.
        QString out;
        out.reserve(180 + 2 * t.size() + (meta ? meta->size() + meta->size() / 8 : 0) +
                    2 * (itemLinkBase.size() + encodedPath.size()));
        const auto link = [&] {
            out += itemLinkBase;
            out += encodedPath;
        };
        out += u"<item>\r\n<title>";
        out += t;
        out += u"</title>\r\n<description>";
        // A meta description is text already, references and all read.
        if (meta)
            AppendXmlText(out, *meta);
        else
            out += t;
        out += u"</description>\r\n<link>";
        link();
        out += u"</link>\r\n";
        if (options.guid) {
            out += u"<guid isPermaLink=\"true\">";
            link();
            out += u"</guid>\r\n";
        }
        if (options.dates) {
            const QString date = Rfc822Date(page.date);
            if (!date.isEmpty()) {
                out += u"<pubDate>";
                out += date;
                out += u"</pubDate>\r\n";
            }
        }
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

QString FormatFeedText(const QString& folderText, const QList<PageRecord>& pages, const QString& feedTitle,
                       const QString& siteUrl, const FeedOptions& options) {
    const RssParts parts(folderText, feedTitle, siteUrl, options);
    QString out = parts.start(parts.needsNewest() ? NewestPageDate(pages) : QDateTime());
    for (const PageRecord& page : pages)
        out += parts.item(page);
    return out + parts.end();
}

QString BuildFeedText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl) {
    QString out;
    StreamFeedText(folderText, pageNames, feedTitle, siteUrl, FeedOptions(),
                   [&out](const QString& piece) { out += piece; });
    return out;
}

QString BuildFeedText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl, const FeedOptions& options) {
    QString out;
    StreamFeedText(folderText, pageNames, feedTitle, siteUrl, options,
                   [&out](const QString& piece) { out += piece; });
    return out;
}

void StreamFeedText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                    const QString& siteUrl, const FeedOptions& options,
                    const std::function<void(const QString&)>& sink) {
    const RssParts rss(folderText, feedTitle, siteUrl, options);
    detail::FeedParts parts;
    parts.needsNewest = rss.needsNewest();
    parts.start = [&rss](const QDateTime& newest) { return rss.start(newest); };
    parts.item = [&rss](const PageRecord& page) { return rss.item(page); };
    parts.end = rss.end();
    detail::StreamFeed(folderText, pageNames, options.selection, FeedPageWants(FeedFormat::Rss, options),
                       parts, sink);
}

namespace detail {

void StreamFeed(const QString& folderText, const QStringList& pageNames, const PageSelection& selection,
                unsigned wants, const FeedParts& parts, const std::function<void(const QString&)>& sink) {
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
