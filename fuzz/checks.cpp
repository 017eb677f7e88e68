#include "fuzz/checks.h"

#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/output/feed.h"
#include "engine/output/pagetemplate.h"
#include "engine/output/xmltext.h"
#include "engine/reading/title.h"
#include "engine/reading/title_p.h"
#include "engine/text/decode.h"
#include "engine/text/decode_p.h"
#include "engine/text/entities.h"
#include "tests/support/xmloracle.h"

#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pagewick::fuzz {

namespace {

QString Printable(const QString& text) {
    QString out;
    for (const QChar c : text.left(80))
        out += c.unicode() < 0x20 || c.isSurrogate()
                   ? QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QChar(u'0'))
                   : c;
    return out;
}

// A title is what a browser shows: not empty, trimmed, one space between words, no NUL.
QString TitleProblem(const char* where, const std::optional<QString>& title) {
    if (!title)
        return {};
    const QString& t = *title;
    QString problem;
    if (t.isEmpty())
        problem = QStringLiteral("an empty title");
    else if (t.front() == u' ' || t.back() == u' ')
        problem = QStringLiteral("an untrimmed title");
    for (qsizetype i = 0; i < t.size() && problem.isEmpty(); ++i) {
        const char16_t c = t[i].unicode();
        if (c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == 0)
            problem = QStringLiteral("a tab, line break or NUL in the title");
        else if (c == u' ' && t[i - 1] == u' ')
            problem = QStringLiteral("two spaces in a row in the title");
    }
    return problem.isEmpty() ? problem : QLatin1String(where) + QStringLiteral(" gave ") + problem;
}

// Encodings in which every byte below 0x80 is that ASCII character, whatever stands around it, so
// that finding the tags in the bytes and in the decoded text must agree.
bool IsAsciiSafe(QByteArrayView encoding) {
    return encoding == "UTF-8" || encoding == "IBM866" || encoding.startsWith("ISO-8859-") ||
           encoding.startsWith("KOI8-") || encoding == "macintosh" || encoding.startsWith("windows-") ||
           encoding == "x-mac-cyrillic";
}

// The bytes as a page file: an anonymous in-memory file, reached by a path.
class MemoryPage {
public:
    explicit MemoryPage(QByteArrayView bytes) : fd(::memfd_create("page", MFD_CLOEXEC)) {
        for (qsizetype done = 0; fd >= 0 && done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n <= 0) {
                ::close(fd);
                fd = -1;
                break;
            }
            done += n;
        }
    }
    ~MemoryPage() {
        if (fd >= 0)
            ::close(fd);
    }
    MemoryPage(const MemoryPage&) = delete;
    MemoryPage& operator=(const MemoryPage&) = delete;
    bool isValid() const { return fd >= 0; }
    QString path() const { return QStringLiteral("/proc/self/fd/%1").arg(fd); }

private:
    int fd;
};

using xmloracle::XmlCarried;
using xmloracle::XmlLineBreaks;

// The character data of an XML fragment, or the parser's complaint.
std::optional<QString> XmlText(const QString& fragment, QString* error) {
    QXmlStreamReader xml(QStringLiteral("<r>") + fragment + QStringLiteral("</r>"));
    QString text;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::Characters)
            text += xml.text();
    }
    if (!xml.hasError())
        return text;
    *error = xml.errorString();
    return std::nullopt;
}

} // namespace

QString CheckPageTitle(QByteArrayView bytes) {
    if (DetectEncoding(bytes).isEmpty())
        return QStringLiteral("no encoding detected");
    const std::optional<QString> whole = FindTitle(DecodePage(bytes));
    if (QString p = TitleProblem("FindTitle", whole); !p.isEmpty())
        return p;

    const MemoryPage page(bytes);
    if (!page.isValid())
        return {}; // out of memory for the page: nothing to check
    const std::optional<QString> streamed = ReadPageTitle(page.path());
    if (QString p = TitleProblem("ReadPageTitle", streamed); !p.isEmpty())
        return p;
    if (ExtractTitle(page.path()) != streamed.value_or(page.path()))
        return QStringLiteral("ExtractTitle differs from ReadPageTitle");

    // The file reader looks at the bytes and decodes only the title; on a page that fits in its
    // first read, in an encoding where markup is plain ASCII, that must agree with decoding first.
    qsizetype bomLength = 0;
    const QByteArray declared =
        DeclaredEncoding(bytes.first(std::min<qsizetype>(bytes.size(), 1024)), &bomLength);
    if (bytes.size() < 4096 && (declared.isEmpty() || IsAsciiSafe(declared)) &&
        IsAsciiSafe(DetectEncoding(bytes)) && streamed != whole) {
        const QString a = streamed.value_or(QStringLiteral("(none)"));
        const QString b = whole.value_or(QStringLiteral("(none)"));
        qsizetype from = 0;
        while (from < a.size() && from < b.size() && a[from] == b[from])
            ++from;
        from = std::max<qsizetype>(0, from - 20);
        return QStringLiteral("ReadPageTitle gave \"...%1\", FindTitle of the decoded page \"...%2\"")
            .arg(Printable(a.mid(from)), Printable(b.mid(from)));
    }

    // Where UTF-8 breaks, as a check finds it: the bytes before are valid, and Qt's decoder gives
    // a replacement character for what comes there.
    qsizetype cutAt = 0;
    const qsizetype breakAt = Utf8BreakIn(bytes, &cutAt);
    if (breakAt < 0 && (!bytes.first(cutAt).isValidUtf8() || cutAt < bytes.size() - 3))
        return QStringLiteral("Utf8BreakIn found no break in bytes that are not UTF-8");
    if (breakAt >= 0 && (!bytes.first(breakAt).isValidUtf8() ||
                         !QString::fromUtf8(bytes.sliced(breakAt)).startsWith(QChar::ReplacementCharacter)))
        return QStringLiteral("Utf8BreakIn put the break at %1, where UTF-8 does not break").arg(breakAt);
    return {};
}

QString CheckFlatten(QByteArrayView bytes) {
    // The first byte picks how the rest becomes text: as UTF-8, or as raw UTF-16 code units
    // (which may hold lone surrogates).
    QString text;
    if (!bytes.isEmpty() && (bytes[0] & 1))
        text = QString(reinterpret_cast<const QChar*>(bytes.data() + 1), (bytes.size() - 1) / 2);
    else
        text = QString::fromUtf8(bytes.sliced(std::min<qsizetype>(bytes.size(), 1)));

    QString expected = text;
    for (const EntityRow& row : EntityFlatteningTable())
        expected.replace(QStringView(row.reference).toString(), QStringView(row.replacement).toString());
    const QString flattened = FlattenEntities(text);
    if (flattened != expected)
        return QStringLiteral("FlattenEntities gave \"%1\", the table row by row \"%2\"")
            .arg(Printable(flattened), Printable(expected));

    QString error;
    const std::optional<QString> parsed = XmlText(MakeXmlSafe(text), &error);
    if (!parsed)
        return QStringLiteral("MakeXmlSafe gave text that is not XML: ") + error;
    // Text without markup or references comes through as it is, less what XML cannot carry.
    if (!text.contains(u'&') && !text.contains(u'<') && !text.contains(u'>') &&
        *parsed != XmlLineBreaks(XmlCarried(text)))
        return QStringLiteral("MakeXmlSafe changed plain text \"%1\" to \"%2\"")
            .arg(Printable(text), Printable(*parsed));
    return {};
}

QString CheckFeed(QByteArrayView bytes) {
    // The folder, made once; its name needs escaping too.
    static QTemporaryDir scratch;
    static const QString folder = [] {
        const QString path = scratch.filePath(QStringLiteral("feed & <fuzz> \u00e9"));
        QDir().mkpath(path);
        return path;
    }();

    // Three length bytes, then the feed title, the site address, the page name, and the rest is
    // the page's title. Text comes as file names do: undecodable bytes as lone surrogates.
    const auto take = [&bytes](qsizetype at) { return at < bytes.size() ? qsizetype(uchar(bytes[at])) : 0; };
    qsizetype at = std::min<qsizetype>(bytes.size(), 3);
    const auto part = [&bytes, &at](qsizetype length) {
        const QByteArrayView p = bytes.sliced(at, std::min(length, bytes.size() - at));
        at += p.size();
        return p;
    };
    const qsizetype titleLength = take(0), urlLength = take(1), nameLength = take(2);
    const QString feedTitle = FileNameFromBytes(part(titleLength));
    const QString siteUrl = FileNameFromBytes(part(urlLength));
    QByteArray rawName = "p" + part(nameLength).toByteArray() + ".htm";
    rawName.replace('/', '_').replace('\0', '_');
    const QByteArray pageTitle = part(bytes.size()).toByteArray();

    const QByteArray pagePath = FileNameToBytes(folder) + '/' + rawName;
    const int fd = ::open(pagePath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return {}; // a name the file system refuses (too long): nothing to check
    const QByteArray content = "<html><head><title>" + pageTitle + "</title></head><body></body></html>";
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    const QString name = FileNameFromBytes(rawName);
    const QString feed =
        written ? BuildFeedText(
                      {.folderText = folder, .pageNames = {name}, .feedTitle = feedTitle, .siteUrl = siteUrl})
                : QString();
    ::unlink(pagePath.constData());
    if (!written)
        return {};

    QXmlStreamReader xml(feed);
    int items = 0;
    QString link;
    QString title;
    QString description;
    QString inside;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            inside = xml.name().toString();
            items += inside == QStringLiteral("item");
        } else if (token == QXmlStreamReader::EndElement) {
            inside.clear();
        } else if (token == QXmlStreamReader::Characters && items == 1) {
            if (inside == QStringLiteral("link"))
                link += xml.text();
            else if (inside == QStringLiteral("title"))
                title += xml.text();
            else if (inside == QStringLiteral("description"))
                description += xml.text();
        }
    }
    if (xml.hasError())
        return QStringLiteral("the feed is not XML: %1 at %2:%3")
            .arg(xml.errorString())
            .arg(xml.lineNumber())
            .arg(xml.columnNumber());
    if (items != 1)
        return QStringLiteral("%1 items for one page").arg(items);
    if (title != description)
        return QStringLiteral("the item's title and description differ");
    const QString encoded = link.mid(link.lastIndexOf(u'/') + 1);
    if (QByteArray::fromPercentEncoding(encoded.toLatin1()) != rawName)
        return QStringLiteral("the item links %1, not the page").arg(Printable(link));
    return {};
}

QString CheckPageTemplate(QByteArrayView bytes) {
    QString error;
    const std::optional<PageTemplate> parsed =
        PageTemplate::Parse(bytes, QStringLiteral("s.css?a=\"{{b}}\"&c=<d>"), &error);
    if (!parsed)
        return error.isEmpty() ? QStringLiteral("a template refused without a reason") : QString();
    const QString title = QStringLiteral("<t\"i'tle&");
    const QString index = QStringLiteral("<ul>\r\n<li><a href=\"a.htm\">{{A}}</a>\r\n</ul>");
    const QString page = parsed->render(title, index, {});
    if (!page.contains(index))
        return QStringLiteral("the page does not hold the index");
    if (page.contains(title))
        return QStringLiteral("the title went into the page unescaped");
    if (!page.contains(
            QStringLiteral("<link rel=\"stylesheet\" href=\"s.css?a=&quot;{{b}}&quot;&amp;c=&lt;d&gt;\">")))
        return QStringLiteral("the stylesheet link is missing, or its address not escaped");
    const QByteArray encoding = DetectEncoding(page.toUtf8());
    if (encoding != "UTF-8")
        return QStringLiteral("the page reads as %1, not UTF-8").arg(QLatin1String(encoding));
    return {};
}

} // namespace pagewick::fuzz
