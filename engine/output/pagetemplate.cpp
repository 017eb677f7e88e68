// Page templates: the user's HTML around the index. The markup is looked at only as far as the
// placeholders and the charset need: where its tags are, and which of their attribute values are
// quoted.

#include "engine/output/pagetemplate.h"

#include "engine/output/feeddate.h"
#include "engine/output/index.h"
#include "engine/output/spool_p.h"
#include "engine/reading/pagereader_p.h"
#include "engine/text/decode_p.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace pagewick {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kLargestTemplate = 16 * 1024 * 1024;

bool IsSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

struct Attribute {
    QString name;             // in lower case
    qsizetype valueFrom = -1; // the value, without its quotes; -1: the attribute has none
    qsizetype valueTo = -1;
    bool quoted = false;
};

struct Tag {
    qsizetype from = 0, to = 0; // from "<" to just past ">" (or the end of the text)
    QString name;               // in lower case; empty for a declaration (<!DOCTYPE>, <?xml?>)
    bool closing = false;
    QList<Attribute> attributes;

    const Attribute* attribute(QLatin1StringView wanted) const {
        for (const Attribute& a : attributes) {
            if (a.name == wanted)
                return &a;
        }
        return nullptr;
    }
};

// The tags of the markup, in order, as an HTML tokenizer finds them: comments are passed over,
// and the text of script, style, textarea and title elements holds no tags. As a browser's
// prescan for the encoding finds them (rawText false), that text is looked through too.
QList<Tag> ScanTags(QStringView text, bool rawText = true) {
    QList<Tag> tags;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype lt = text.indexOf(u'<', i);
        if (lt < 0 || lt + 1 >= n)
            break;
        const QChar next = text[lt + 1];
        if (text.sliced(lt).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(u"-->", lt + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        if (next == u'!' || next == u'?') {
            const qsizetype end = text.indexOf(u'>', lt);
            Tag tag;
            tag.from = lt;
            tag.to = end < 0 ? n : end + 1;
            tags.append(tag);
            i = tag.to;
            continue;
        }
        const bool closing = next == u'/';
        const qsizetype nameAt = lt + (closing ? 2 : 1);
        if (nameAt >= n || !IsAsciiLetter(text[nameAt])) {
            i = lt + 1;
            continue;
        }
        Tag tag;
        tag.from = lt;
        tag.closing = closing;
        qsizetype p = nameAt;
        while (p < n && !IsSpace(text[p]) && text[p] != u'/' && text[p] != u'>')
            ++p;
        tag.name = text.sliced(nameAt, p - nameAt).toString().toLower();
        // The attributes, up to the ">" that is not inside a quoted value.
        for (;;) {
            while (p < n && (IsSpace(text[p]) || text[p] == u'/'))
                ++p;
            if (p >= n || text[p] == u'>')
                break;
            Attribute attribute;
            const qsizetype nameFrom = p;
            ++p; // a first "=" belongs to the name
            while (p < n && !IsSpace(text[p]) && text[p] != u'/' && text[p] != u'>' && text[p] != u'=')
                ++p;
            attribute.name = text.sliced(nameFrom, p - nameFrom).toString().toLower();
            qsizetype q = p;
            while (q < n && IsSpace(text[q]))
                ++q;
            if (q < n && text[q] == u'=') {
                p = q + 1;
                while (p < n && IsSpace(text[p]))
                    ++p;
                if (p < n && (text[p] == u'"' || text[p] == u'\'')) {
                    const qsizetype close = text.indexOf(text[p], p + 1);
                    attribute.quoted = true;
                    attribute.valueFrom = p + 1;
                    attribute.valueTo = close < 0 ? n : close;
                    p = close < 0 ? n : close + 1;
                } else {
                    attribute.valueFrom = p;
                    while (p < n && !IsSpace(text[p]) && text[p] != u'>')
                        ++p;
                    attribute.valueTo = p;
                }
            }
            tag.attributes.append(attribute);
        }
        tag.to = p < n ? p + 1 : n;
        i = tag.to;
        tags.append(tag);
        // Elements whose text is not markup: the next tag is their end tag.
        if (rawText && !closing &&
            (tag.name == u"script" || tag.name == u"style" || tag.name == u"textarea" ||
             tag.name == u"title")) {
            const QString end = u"</"_s + tag.name;
            qsizetype at = i;
            while ((at = text.indexOf(end, at, Qt::CaseInsensitive)) >= 0) {
                const qsizetype after = at + end.size();
                if (after >= n || IsSpace(text[after]) || text[after] == u'>' || text[after] == u'/')
                    break;
                at = after;
            }
            i = at < 0 ? n : at;
        }
    }
    return tags;
}

// A replacement of the text from..to.
struct Edit {
    qsizetype from, to;
    QString with;
};

// The span of the value of "charset=" inside a content attribute's value, or nothing.
std::optional<std::pair<qsizetype, qsizetype>> CharsetInContent(QStringView text, const Attribute& content) {
    const QStringView value = text.sliced(content.valueFrom, content.valueTo - content.valueFrom);
    const qsizetype at = value.indexOf(u"charset", 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    qsizetype p = at + 7;
    while (p < value.size() && IsSpace(value[p]))
        ++p;
    if (p >= value.size() || value[p] != u'=')
        return std::nullopt;
    ++p;
    while (p < value.size() && IsSpace(value[p]))
        ++p;
    if (p < value.size() && (value[p] == u'"' || value[p] == u'\''))
        ++p;
    qsizetype end = p;
    while (end < value.size() && !IsSpace(value[end]) && value[end] != u';' && value[end] != u'"' &&
           value[end] != u'\'')
        ++end;
    if (end == p)
        return std::nullopt;
    return std::pair{content.valueFrom + p, content.valueFrom + end};
}

// Where a meta element names an encoding: its charset value, and the charset in the content of
// an http-equiv="content-type".
QList<std::pair<qsizetype, qsizetype>> MetaCharsets(QStringView text, const Tag& meta) {
    QList<std::pair<qsizetype, qsizetype>> spans;
    if (const Attribute* charset = meta.attribute("charset"_L1); charset && charset->valueFrom >= 0)
        spans.append({charset->valueFrom, charset->valueTo});
    const Attribute* httpEquiv = meta.attribute("http-equiv"_L1);
    const Attribute* content = meta.attribute("content"_L1);
    if (httpEquiv && content && httpEquiv->valueFrom >= 0 && content->valueFrom >= 0 &&
        text.sliced(httpEquiv->valueFrom, httpEquiv->valueTo - httpEquiv->valueFrom)
                .trimmed()
                .compare(u"content-type", Qt::CaseInsensitive) == 0) {
        if (const auto span = CharsetInContent(text, *content))
            spans.append(*span);
    }
    return spans;
}

// The template's text made to say that it is UTF-8, with the stylesheet link in its head.
QString DeclareUtf8(const QString& text, const QString& stylesheetUrl) {
    const QList<Tag> tags = ScanTags(text);
    QList<Edit> edits;
    // An XML declaration at the very start names an encoding of its own, read up to its "?>" as
    // the page reader reads it.
    if (text.startsWith(u"<?xml")) {
        const qsizetype end = text.indexOf(u"?>");
        const QStringView declaration = QStringView(text).first(std::max<qsizetype>(end, 0));
        qsizetype at = declaration.indexOf(u"encoding");
        if (at >= 0) {
            at += 8;
            while (at < declaration.size() && IsSpace(declaration[at]))
                ++at;
            if (at < declaration.size() && declaration[at] == u'=') {
                ++at;
                while (at < declaration.size() && IsSpace(declaration[at]))
                    ++at;
                const qsizetype close =
                    at < declaration.size() && (declaration[at] == u'"' || declaration[at] == u'\'')
                        ? declaration.indexOf(declaration[at], at + 1)
                        : -1;
                if (close > at)
                    edits.append({at + 1, close, u"UTF-8"_s});
            }
        }
    }
    // Where the head starts and ends, as the page's elements have it.
    qsizetype headStart = -1, htmlStart = -1, headEnd = -1, leadingDeclarations = 0;
    bool element = false, declared = false;
    for (const Tag& tag : tags) {
        if (tag.name.isEmpty() && !element)
            leadingDeclarations = tag.to;
        if (!tag.name.isEmpty())
            element = true;
        if (tag.closing && tag.name == u"head" && headEnd < 0)
            headEnd = tag.from;
        if (tag.closing)
            continue;
        if (tag.name == u"head" && headStart < 0)
            headStart = tag.to;
        if (tag.name == u"html" && htmlStart < 0)
            htmlStart = tag.to;
        declared = declared || (tag.name == u"meta" && !MetaCharsets(text, tag).isEmpty());
    }
    // A browser looks for the encoding before it knows what a script is: a meta element inside one
    // is rewritten too, and so is one that only the page's elements show.
    for (const QList<Tag>& view : {tags, ScanTags(text, false)}) {
        for (const Tag& tag : view) {
            if (!tag.closing && tag.name == u"meta") {
                for (const auto& [from, to] : MetaCharsets(text, tag))
                    edits.append({from, to, u"utf-8"_s});
            }
        }
    }
    const qsizetype headPoint = headStart >= 0 ? headStart : htmlStart >= 0 ? htmlStart : leadingDeclarations;
    if (!declared)
        edits.append({headPoint, headPoint, u"<meta charset=\"utf-8\">"_s});
    if (!stylesheetUrl.isEmpty()) {
        // The link is template text too: a "{{" in the address must stay text.
        const QString link = StylesheetLink(stylesheetUrl).replace(u"{{"_s, u"{{{{"_s);
        const qsizetype at = headEnd >= 0 ? headEnd : headPoint;
        edits.append({at, at, link});
    }
    // Put together in one pass, each edit where it was found; at one place the meta goes before
    // the link, as they were added.
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from < b.from; });
    // A meta element both views show is rewritten once.
    edits.erase(std::unique(edits.begin(), edits.end(),
                            [](const Edit& a, const Edit& b) {
                                return a.from == b.from && a.to == b.to && a.with == b.with;
                            }),
                edits.end());
    QString out;
    out.reserve(text.size() + 128);
    qsizetype at = 0;
    for (const Edit& edit : edits) {
        if (edit.from < at) {
            // Inside a span already replaced (markup broken enough for the spans to cross): an
            // insertion goes right after it, a second replacement is dropped.
            if (edit.from == edit.to)
                out += edit.with;
            continue;
        }
        out += QStringView(text).sliced(at, edit.from - at);
        out += edit.with;
        at = edit.to;
    }
    out += QStringView(text).sliced(at);
    // Markup broken enough can still make a browser find another encoding first: then the page
    // says UTF-8 before anything else.
    if (DetectEncoding(out.toUtf8()) != "UTF-8")
        out.prepend(u"<meta charset=\"utf-8\">"_s);
    return out;
}

QString EscapeAttribute(const QString& text, bool quoted) {
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;"_s;
            break;
        case u'<':
            out += u"&lt;"_s;
            break;
        case u'>':
            out += u"&gt;"_s;
            break;
        case u'"':
            out += u"&quot;"_s;
            break;
        case u'\'':
            out += u"&#39;"_s;
            break;
        default:
            // Outside quotes, white space, "=" and "`" would end or change the value.
            if (!quoted && (IsSpace(c) || c == u'=' || c == u'`'))
                out += u"&#"_s + QString::number(c.unicode()) + u';';
            else
                out += c;
        }
    }
    return out;
}

struct PlaceholderName {
    QLatin1StringView name;
    PageTemplate::Placeholder placeholder;
};

constexpr PlaceholderName kPlaceholders[] = {
    {"title"_L1, PageTemplate::Title},
    {"index"_L1, PageTemplate::Index},
    {"updated"_L1, PageTemplate::Updated},
    {"count"_L1, PageTemplate::Count},
};

} // namespace

QString StylesheetLink(const QString& url) {
    QString value = EscapeAttribute(url, true);
    // One line, whatever the address holds.
    value.replace(u'\r', u"&#13;"_s).replace(u'\n', u"&#10;"_s);
    return u"<link rel=\"stylesheet\" href=\""_s + value + u"\">"_s;
}

std::optional<PageTemplate> PageTemplate::Parse(QByteArrayView bytes, const QString& stylesheetUrl,
                                                QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<PageTemplate> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString text = DeclareUtf8(DecodePage(bytes), stylesheetUrl);
    const QList<Tag> tags = ScanTags(text);
    const auto lineAt = [&text](qsizetype at) { return QStringView(text).first(at).count(u'\n') + 1; };
    // Where a placeholder stands: in text, in a quoted attribute value, or elsewhere in a tag.
    const auto contextAt = [&tags](qsizetype at) {
        const auto tag = std::upper_bound(tags.cbegin(), tags.cend(), at,
                                          [](qsizetype p, const Tag& t) { return p < t.from; });
        if (tag == tags.cbegin() || at >= std::prev(tag)->to)
            return Context::Text;
        for (const Attribute& a : std::prev(tag)->attributes) {
            if (a.quoted && at >= a.valueFrom && at < a.valueTo)
                return Context::QuotedValue;
        }
        return Context::InTag;
    };

    PageTemplate result;
    QString literal;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(u"{{"); at >= 0; at = text.indexOf(u"{{", from)) {
        literal += QStringView(text).sliced(from, at - from);
        if (QStringView(text).sliced(at).startsWith(u"{{{{")) {
            literal += u"{{"_s;
            from = at + 4;
            continue;
        }
        const qsizetype close = text.indexOf(u"}}", at + 2);
        if (close < 0 || QStringView(text).sliced(at, close - at).contains(u'\n'))
            return fail(QCoreApplication::translate(
                            "pagewick::engine", "line %1: \"{{\" without its \"}}\" (\"{{{{\" writes \"{{\")")
                            .arg(lineAt(at)));
        const QString name = text.sliced(at + 2, close - at - 2).trimmed();
        const auto* known = std::find_if(std::begin(kPlaceholders), std::end(kPlaceholders),
                                         [&name](const PlaceholderName& p) { return name == p.name; });
        if (known == std::end(kPlaceholders))
            return fail(
                QCoreApplication::translate(
                    "pagewick::engine",
                    "line %1: unknown placeholder %2 (known: {{title}}, {{index}}, {{updated}}, {{count}})")
                    .arg(lineAt(at))
                    .arg(text.sliced(at, std::min<qsizetype>(close + 2 - at, 60))));
        const Context context = contextAt(at);
        if (known->placeholder == Index && context != Context::Text)
            return fail(QCoreApplication::translate(
                            "pagewick::engine",
                            "line %1: {{index}} stands inside a tag; it belongs in the page's text")
                            .arg(lineAt(at)));
        if (!literal.isEmpty())
            result.pieces.append({0, Context::Text, std::exchange(literal, QString())});
        result.pieces.append({known->placeholder, context, QString()});
        result.used |= known->placeholder;
        from = close + 2;
    }
    literal += QStringView(text).sliced(from);
    if (!literal.isEmpty())
        result.pieces.append({0, Context::Text, literal});
    if (!result.uses(Index))
        return fail(QCoreApplication::translate("pagewick::engine",
                                                "there is no {{index}}, the place of the index in the page"));
    return result;
}

QString PageTemplate::render(const QString& pageTitle, const QString& indexText,
                             const IndexSummary& summary) const {
    QString out;
    qsizetype size = 0;
    for (const Piece& piece : pieces)
        size += piece.placeholder == Index ? indexText.size() : piece.text.size() + 32;
    out.reserve(size);
    render(
        pageTitle, [&indexText](const Sink& sink) { sink(indexText); }, summary,
        [&out](const QString& piece) { out += piece; });
    return out;
}

void PageTemplate::render(const QString& pageTitle, const std::function<void(const Sink&)>& writeIndex,
                          const IndexSummary& summary, const Sink& sink) const {
    // The text around the index goes out in as few pieces as the index allows.
    QString text;
    for (const Piece& piece : pieces) {
        switch (piece.placeholder) {
        case 0:
            text += piece.text;
            break;
        case Title:
            text += piece.context == Context::Text
                        ? EscapePlainText(pageTitle)
                        : EscapeAttribute(pageTitle, piece.context == Context::QuotedValue);
            break;
        case Index:
            if (!text.isEmpty())
                sink(std::exchange(text, QString()));
            writeIndex(sink);
            break;
        case Updated:
            text += Rfc3339Date(summary.updated);
            break;
        case Count:
            text += QString::number(summary.count);
            break;
        }
    }
    if (!text.isEmpty())
        sink(text);
}

void StreamTemplatePage(const PageTemplate& pageTemplate, const QString& pageTitle,
                        const IndexRequest& request, const std::function<void(const QString&)>& sink) {
    detail::TextSpool index;
    IndexSummary summary;
    StreamIndexText(
        request, [&index](const QString& piece) { index.append(piece); }, &summary,
        pageTemplate.uses(PageTemplate::Updated));
    pageTemplate.render(
        pageTitle, [&index](const PageTemplate::Sink& indexSink) { index.replay(indexSink); }, summary, sink);
}

std::optional<PageTemplate> LoadPageTemplate(const QString& path, const QString& stylesheetUrl,
                                             QString* error) {
    const auto fail = [error, &path](const QString& why) -> std::optional<PageTemplate> {
        if (error)
            *error = QCoreApplication::translate("pagewick::engine", "cannot read the template \"%1\": %2")
                         .arg(path, why);
        return std::nullopt;
    };
    QString whyNot;
    const std::unique_ptr<detail::PageSource> source = detail::PageFolder::openPath(path, &whyNot);
    if (!source)
        return fail(whyNot);
    QByteArray bytes;
    constexpr qsizetype kChunk = 64 * 1024;
    for (;;) {
        if (bytes.size() > kLargestTemplate)
            return fail(QCoreApplication::translate("pagewick::engine", "it is larger than 16 MiB"));
        const qsizetype had = bytes.size();
        bytes.resize(had + kChunk);
        const qsizetype n = source->readAt(had, bytes.data() + had, kChunk);
        if (n < 0)
            return fail(QCoreApplication::translate("pagewick::engine", "a read failed"));
        bytes.resize(had + n);
        if (n == 0)
            break;
    }
    QString why;
    std::optional<PageTemplate> parsed = PageTemplate::Parse(bytes, stylesheetUrl, &why);
    if (!parsed && error)
        *error = QCoreApplication::translate("pagewick::engine", "the template \"%1\": %2").arg(path, why);
    return parsed;
}

} // namespace pagewick
