#include "engine/sitecheck.h"

#include "engine/entities.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

QList<Finding> CheckSite(const QList<PageRecord>& records, const QList<SkippedFolder>& skipped) {
    QList<Finding> findings;
    for (const SkippedFolder& folder : skipped)
        findings.append({folder.name + u'/', kUnreadableFolder,
                         u"folder cannot be read (%1); its pages are left out"_s.arg(folder.reason)});

    // Titles as readers see them, and which pages share each.
    QList<QString> texts(records.size());
    QHash<QString, QList<qsizetype>> byTitle;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const bool readable = !records[i].facts || records[i].facts->readError.isEmpty();
        if (readable && records[i].title) {
            texts[i] = TitleText(*records[i].title);
            byTitle[texts[i]].append(i);
        }
    }

    for (qsizetype i = 0; i < records.size(); ++i) {
        const PageRecord& record = records[i];
        static const PageFacts noFacts;
        const PageFacts& pageFacts = record.facts ? *record.facts : noFacts;
        const auto add = [&](const QString& kind, const QString& detail) {
            findings.append({record.name, kind, detail});
        };
        if (!pageFacts.readError.isEmpty()) {
            add(kUnreadable, u"cannot be read (%1)"_s.arg(pageFacts.readError));
            continue;
        }
        if (pageFacts.titleUnclosed) {
            add(kUnclosedTitle,
                u"the title is never closed; the index and feeds would show all the text after "
                u"<title> to the end of the page"_s);
        } else if (!record.title) {
            if (pageFacts.titleElement)
                add(kEmptyTitle,
                    u"the title is empty; the index and feeds would show the page's local path instead"_s);
            else
                add(kNoTitle, u"no title; the index and feeds would show the page's local path instead"_s);
        }
        if (record.title) {
            const QList<qsizetype>& sharing = byTitle[texts[i]];
            if (sharing.size() > 1) {
                QStringList others;
                for (const qsizetype j : sharing)
                    if (j != i)
                        others.append(records[j].name);
                add(kDuplicateTitle,
                    u"the same title as %1: %2"_s.arg(others.join(u", "_s), Quoted(texts[i])));
            }
            const qsizetype length = CodePoints(texts[i]);
            if (length > kLongTitle)
                add(kLongTitleKind,
                    u"the title is %1 characters long; search results cut titles at about %2"_s.arg(length)
                        .arg(kLongTitle));
            const QStringList forbidden = XmlForbidden(*record.title);
            if (!forbidden.isEmpty())
                add(kXmlForbidden,
                    u"the title holds characters that XML does not allow (%1); the feeds leave them out"_s
                        .arg(forbidden.join(u", "_s)));
        }
        if (pageFacts.invalidUtf8At >= 0)
            add(kInvalidUtf8, u"declared as UTF-8, but the byte at offset %1 is not valid UTF-8"_s.arg(
                                  pageFacts.invalidUtf8At));
        if (!pageFacts.bomEncoding.isEmpty() && !pageFacts.declaredEncoding.isEmpty() &&
            pageFacts.bomEncoding != pageFacts.declaredEncoding)
            add(kBomMismatch,
                u"starts with a %1 byte-order mark but declares %2; browsers follow the mark"_s.arg(
                    QString::fromLatin1(pageFacts.bomEncoding),
                    QString::fromLatin1(pageFacts.declaredEncoding)));
        if (pageFacts.legacyButUtf8)
            add(kEncodingMismatch, u"declares %1, but its bytes are UTF-8; its text would show garbled"_s.arg(
                                       QString::fromLatin1(pageFacts.declaredEncoding)));
    }
    return findings;
}

QList<Finding> CheckListedPages(const QString& folderText, const PageListing& listing) {
    return CheckSite(ReadPages(folderText, listing.pages, WantTitle | WantFindings), listing.skipped);
}

QString CheckFolderText(const QString& folderText, const WalkOptions& walk) {
    PageListing listing = WalkPageFiles(folderText, walk);
    SortPagePaths(listing.pages);
    return FindingsText(CheckListedPages(folderText, listing), listing.pages.size());
}

QString FindingsText(const QList<Finding>& findings, qsizetype pagesChecked) {
    QString out;
    for (const Finding& f : findings)
        out += f.page + u": "_s + f.detail + u'\n';
    const QString pages = pagesChecked == 1 ? u"1 page checked"_s : u"%1 pages checked"_s.arg(pagesChecked);
    if (findings.isEmpty())
        out += u"Nothing found; "_s + pages + u'\n';
    else
        out += (findings.size() == 1 ? u"1 finding; "_s : u"%1 findings; "_s.arg(findings.size())) + pages +
               u'\n';
    return out;
}

QByteArray FindingsJson(const QList<Finding>& findings) {
    QJsonArray array;
    for (const Finding& f : findings)
        array.append(QJsonObject{{u"page"_s, f.page}, {u"kind"_s, f.kind}, {u"detail"_s, f.detail}});
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace pagewick
