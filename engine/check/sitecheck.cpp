#include "engine/check/sitecheck.h"

#include "engine/order/nameorder.h"
#include "engine/text/entities.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUnreadableFolder = u"unreadable-folder"_s;
const QString kUnreadable = u"unreadable"_s;
const QString kNoTitle = u"no-title"_s;
const QString kEmptyTitle = u"empty-title"_s;
const QString kUnclosedTitle = u"unclosed-title"_s;
const QString kDuplicateTitle = u"duplicate-title"_s;
const QString kLongTitleKind = u"long-title"_s;
const QString kXmlForbidden = u"xml-forbidden"_s;
const QString kInvalidUtf8 = u"invalid-utf8"_s;
const QString kBomMismatch = u"bom-mismatch"_s;
const QString kEncodingMismatch = u"encoding-mismatch"_s;

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The characters of text that XML 1.0 cannot carry, as "U+0001" each, once each, in order.
QStringList XmlForbidden(const QString& text) {
    QStringList found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || !IsXmlChar(c.unicode())) {
            const QString code = u"U+%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            if (!found.contains(code))
                found.append(code);
        }
    }
    return found;
}

qsizetype CodePoints(const QString& text) {
    qsizetype n = 0;
    for (const QChar c : text)
        n += !c.isLowSurrogate();
    return n;
}

QString Quoted(const QString& text) {
    return u"\""_s + text + u"\""_s;
}

// A name as the text report writes it: one that holds a backslash, tab, carriage return or line
// feed has them escaped, so that it cannot break the report's lines or pass for another name.
QString ReportedName(const QString& name) {
    if (!name.contains(u'\\') && !name.contains(u'\t') && !name.contains(u'\n') && !name.contains(u'\r'))
        return name;
    QString out;
    out.reserve(name.size() + 8);
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'\\':
            out += u"\\\\";
            break;
        case u'\t':
            out += u"\\t";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

QStringList FindingKinds() {
    return {kUnreadableFolder, kUnreadable,   kNoTitle,     kEmptyTitle,  kUnclosedTitle,   kDuplicateTitle,
            kLongTitleKind,    kXmlForbidden, kInvalidUtf8, kBomMismatch, kEncodingMismatch};
}

QString TitleText(const QString& titleHtml) {
    if (!titleHtml.contains(u'&'))
        return titleHtml;
    QString out;
    out.reserve(titleHtml.size());
    const QStringView text(titleHtml);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semicolon = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
        if (semicolon < 0 || semicolon - i > 40) {
            out += text[i];
            continue;
        }
        const QStringView body = text.sliced(i + 1, semicolon - i - 1);
        QString replacement;
        if (body.startsWith(u'#') && body.size() > 1) {
            const bool hex = body[1] == u'x' || body[1] == u'X';
            bool ok = false;
            const uint value = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok) {
                const char32_t c = value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)
                                       ? char32_t(0xFFFD)
                                       : char32_t(value);
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (!body.isEmpty()) {
            replacement = LookUpHtmlNamedReference(body);
        }
        if (replacement.isNull()) {
            out += text[i];
            continue;
        }
        out += replacement;
        i = semicolon;
    }
    return out;
}

struct SiteCheck::Private {
    std::function<void(const Finding&)> sink;
    qsizetype found = 0;
    // A title is known by two hashes of its text taken with different seeds: 128 bits a page
    // rather than the title itself. Texts that differ share both only by chance, one in about
    // 10^38 a pair.
    using Key = std::pair<size_t, size_t>;
    struct Group {
        qsizetype count = 0;
        qsizetype first = 0; // where among the titled pages its first page is
        QString title;       // kept once a second page shares it
    };
    struct Titled {
        Key key;
        QString name; // shares the listed name's text
    };
    std::vector<Titled> titled;
    std::unordered_map<Key, Group, KeyHash> groups;

    void report(Finding&& finding) {
        ++found;
        sink(finding);
    }
};

size_t SiteCheck::KeyHash::operator()(const std::pair<size_t, size_t>& key) const {
    return key.first ^ (key.second * 0x9e3779b97f4a7c15ull);
}

SiteCheck::SiteCheck(std::function<void(const Finding&)> sink) : d(new Private) {
    d->sink = std::move(sink);
}

SiteCheck::~SiteCheck() = default;

qsizetype SiteCheck::findings() const {
    return d->found;
}

void SiteCheck::addSkipped(const QList<SkippedFolder>& skipped) {
    for (const SkippedFolder& folder : skipped)
        d->report({folder.name + u'/',
                   kUnreadableFolder,
                   u"folder cannot be read (%1); its pages are left out"_s.arg(folder.reason),
                   {},
                   {}});
}

void SiteCheck::add(const PageRecord& record) {
    static const PageFacts noFacts;
    const PageFacts& pageFacts = record.facts ? *record.facts : noFacts;
    const auto add = [&](const QString& kind, const QString& detail) {
        d->report({record.name, kind, detail, {}, {}});
    };
    if (!pageFacts.readError.isEmpty()) {
        add(kUnreadable, u"cannot be read (%1)"_s.arg(pageFacts.readError));
        return;
    }
    if (pageFacts.titleUnclosed) {
        add(kUnclosedTitle, u"the title is never closed; the index and feeds would show all the text after "
                            u"<title> to the end of the page"_s);
    } else if (!record.title) {
        if (pageFacts.titleElement)
            add(kEmptyTitle,
                u"the title is empty; the index and feeds would show the page's local path instead"_s);
        else
            add(kNoTitle, u"no title; the index and feeds would show the page's local path instead"_s);
    }
    if (record.title) {
        const QString text = TitleText(*record.title);
        const Private::Key key{qHash(text, size_t(0x5175)), qHash(text, size_t(0x2c6b1f))};
        Private::Group& group = d->groups[key];
        if (group.count++ == 0)
            group.first = qsizetype(d->titled.size());
        else if (group.count == 2)
            group.title = text;
        d->titled.push_back({key, record.name});
        const qsizetype length = CodePoints(text);
        if (length > kLongTitle)
            add(kLongTitleKind,
                u"the title is %1 characters long; search results cut titles at about %2"_s.arg(length).arg(
                    kLongTitle));
        const QStringList forbidden = XmlForbidden(*record.title);
        if (!forbidden.isEmpty())
            add(kXmlForbidden,
                u"the title holds characters that XML does not allow (%1); the feeds leave them out"_s.arg(
                    forbidden.join(u", "_s)));
    }
    if (pageFacts.invalidUtf8At >= 0)
        add(kInvalidUtf8, u"declared as UTF-8, but the byte at offset %1 is not valid UTF-8"_s.arg(
                              pageFacts.invalidUtf8At));
    if (!pageFacts.bomEncoding.isEmpty() && !pageFacts.declaredEncoding.isEmpty() &&
        pageFacts.bomEncoding != pageFacts.declaredEncoding)
        add(kBomMismatch,
            u"starts with a %1 byte-order mark but declares %2; browsers follow the mark"_s.arg(
                QString::fromLatin1(pageFacts.bomEncoding), QString::fromLatin1(pageFacts.declaredEncoding)));
    if (pageFacts.legacyButUtf8)
        add(kEncodingMismatch, u"declares %1, but its bytes are UTF-8; its text would show garbled"_s.arg(
                                   QString::fromLatin1(pageFacts.declaredEncoding)));
}

void SiteCheck::finish() {
    // The groups in the order of their first pages, each with its pages gathered in one pass.
    std::vector<std::pair<qsizetype, Private::Key>> shared;
    std::unordered_map<Private::Key, QStringList, KeyHash> members;
    for (const auto& [key, group] : d->groups) {
        if (group.count > 1) {
            shared.emplace_back(group.first, key);
            members[key].reserve(group.count);
        }
    }
    if (shared.empty())
        return;
    std::sort(shared.begin(), shared.end());
    for (const Private::Titled& page : d->titled) {
        if (const auto found = members.find(page.key); found != members.end())
            found->second.append(page.name);
    }
    for (const auto& [first, key] : shared) {
        const Private::Group& group = d->groups[key];
        QStringList pages = std::move(members[key]);
        Finding finding{pages.first(),
                        kDuplicateTitle,
                        u"%1 pages share the title %2"_s.arg(group.count).arg(Quoted(group.title)),
                        {},
                        group.title};
        finding.pages = std::move(pages);
        d->report(std::move(finding));
    }
}

QList<Finding> CheckSite(const QList<PageRecord>& records, const QList<SkippedFolder>& skipped) {
    QList<Finding> findings;
    SiteCheck check([&findings](const Finding& finding) { findings.append(finding); });
    check.addSkipped(skipped);
    for (const PageRecord& record : records)
        check.add(record);
    check.finish();
    return findings;
}

QList<Finding> CheckListedPages(const QString& folderText, const PageListing& listing) {
    QList<Finding> findings;
    SiteCheck check([&findings](const Finding& finding) { findings.append(finding); });
    check.addSkipped(listing.skipped);
    ForEachPage(folderText, listing.pages, WantTitle | WantFindings,
                [&check](PageRecord&& record) { check.add(record); });
    check.finish();
    return findings;
}

QString CheckFolderText(const QString& folderText, const WalkOptions& walk) {
    PageListing listing = WalkPageFiles(folderText, walk);
    SortPagePaths(listing.pages);
    return FindingsText(CheckListedPages(folderText, listing), listing.pages.size());
}

QString FindingText(const Finding& f) {
    if (f.kind != kDuplicateTitle || f.pages.isEmpty())
        return ReportedName(f.page) + u": "_s + f.detail + u'\n';
    QString out = f.detail + u":\n"_s;
    for (const QString& page : f.pages)
        out += u"  "_s + ReportedName(page) + u'\n';
    return out;
}

QString FindingsSummary(qsizetype findings, qsizetype pagesChecked) {
    const QString pages = pagesChecked == 1 ? u"1 page checked"_s : u"%1 pages checked"_s.arg(pagesChecked);
    if (findings == 0)
        return u"Nothing found; "_s + pages + u'\n';
    return (findings == 1 ? u"1 finding; "_s : u"%1 findings; "_s.arg(findings)) + pages + u'\n';
}

QString FindingsText(const QList<Finding>& findings, qsizetype pagesChecked) {
    QString out;
    for (const Finding& f : findings)
        out += FindingText(f);
    return out + FindingsSummary(findings.size(), pagesChecked);
}

QByteArray FindingsJsonStart() {
    return "[\n";
}

QByteArray FindingJson(const Finding& f, bool first) {
    QJsonObject object{{u"page"_s, f.page}, {u"kind"_s, f.kind}, {u"detail"_s, f.detail}};
    if (f.kind == kDuplicateTitle && !f.pages.isEmpty()) {
        object.insert(u"title"_s, f.title);
        object.insert(u"pages"_s, QJsonArray::fromStringList(f.pages));
    }
    // As QJsonDocument writes an object inside an array: every line indented once more.
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    QByteArray out = first ? QByteArray() : QByteArray(",\n");
    out.reserve(out.size() + text.size() + text.count('\n') * 4);
    qsizetype from = 0;
    for (qsizetype end = text.indexOf('\n'); end >= 0; end = text.indexOf('\n', from)) {
        if (from > 0)
            out += '\n';
        out += "    ";
        out += QByteArrayView(text).sliced(from, end - from);
        from = end + 1;
    }
    return out;
}

QByteArray FindingsJsonEnd(bool empty) {
    return empty ? QByteArray("]\n") : QByteArray("\n]\n");
}

QByteArray FindingsJson(const QList<Finding>& findings) {
    QByteArray out = FindingsJsonStart();
    for (qsizetype i = 0; i < findings.size(); ++i)
        out += FindingJson(findings[i], i == 0);
    return out + FindingsJsonEnd(findings.isEmpty());
}

} // namespace pagewick
