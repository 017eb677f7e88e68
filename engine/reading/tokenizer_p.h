#pragma once

// Private to the engine: the tag tokenizer the page reader and the title search share.
//
// It reads markup as a browser's HTML tokenizer does, with its states for comments, raw text,
// script data (escaped and double-escaped), CDATA sections and attributes, and follows as much of
// the browser's tree building as decides which element is the page's title: the first HTML title
// element of the document, so not one inside <svg> or <math> (until an HTML tag breaks out of
// them), not one in a template's content, and none after a frameset has replaced the body. It is
// fed a page in pieces of any size and keeps no bytes of them, only its state, the open elements,
// the title text (up to a limit) and the few meta attributes asked for.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include "engine/text/decode.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pagewick::detail {

// Title text kept; the rest of a longer title is dropped.
inline constexpr qsizetype kKeptTitleBytes = 1024 * 1024;
// Meta attribute values kept (a description); longer ones are cut here.
inline constexpr qsizetype kKeptMetaUnits = 64 * 1024;

inline bool IsAsciiWhitespace(char16_t c) {
    // Tab, line feed, form feed, carriage return and space, as one test of a bit mask.
    constexpr quint64 kMask = 1ULL << '\t' | 1ULL << '\n' | 1ULL << '\f' | 1ULL << '\r' | 1ULL << ' ';
    return c <= ' ' && (kMask >> c & 1);
}
inline bool IsAsciiLetter(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline char16_t AsciiLower(char16_t c) {
    return c >= 'A' && c <= 'Z' ? char16_t(c + 0x20) : c;
}

// Whether bytes are the same ASCII text in every encoding a page can be read in as bytes. ESC, SO
// and SI are not: ISO-2022-JP switches sets with them (SO and SI are errors there).
inline bool ReadsAsAsciiEverywhere(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (uchar(c) >= 0x80 || c == 0x1B || c == 0x0E || c == 0x0F)
            return false;
    }
    return true;
}

// Page text seen as a run of code units, so that the tokenizer works alike on the bytes of
// ASCII-compatible encodings (where markup bytes are always ASCII), on raw UTF-16 and on text.
// Each kind offers size(), the unit at i, find(c, from) (the first c at or after from, or size())
// append(out, from, count) (the raw bytes of count units) and appendText(out, from, count) (count
// units as characters, a byte as the Latin-1 character of its value).
struct ByteUnits {
    QByteArrayView bytes;
    static constexpr qsizetype width = 1;
    qsizetype size() const { return bytes.size(); }
    char16_t operator[](qsizetype i) const { return uchar(bytes[i]); }
    qsizetype find(char c, qsizetype from) const {
        if (from >= bytes.size())
            return bytes.size();
        const void* at = std::memchr(bytes.data() + from, c, size_t(bytes.size() - from));
        return at ? static_cast<const char*>(at) - bytes.data() : bytes.size();
    }
    void append(QByteArray& out, qsizetype from, qsizetype count) const {
        out.append(bytes.data() + from, count);
    }
    void appendText(QString& out, qsizetype from, qsizetype count) const {
        out.append(QLatin1StringView(bytes.data() + from, count));
    }
};

struct Utf16Units {
    QByteArrayView bytes;
    bool bigEndian;
    static constexpr qsizetype width = 2;
    qsizetype size() const { return bytes.size() / 2; }
    char16_t operator[](qsizetype i) const {
        const uchar a = uchar(bytes[2 * i]), b = uchar(bytes[2 * i + 1]);
        return bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    qsizetype find(char c, qsizetype from) const {
        const qsizetype n = size();
        while (from < n && (*this)[from] != char16_t(c))
            ++from;
        return from;
    }
    void append(QByteArray& out, qsizetype from, qsizetype count) const {
        out.append(bytes.data() + 2 * from, 2 * count);
    }
    void appendText(QString& out, qsizetype from, qsizetype count) const {
        out.reserve(out.size() + count);
        for (qsizetype k = from; k < from + count; ++k)
            out += QChar((*this)[k]);
    }
};

// Text in memory; the raw bytes are its UTF-16 code units in the machine's order.
struct TextUnits {
    QStringView text;
    static constexpr qsizetype width = 2;
    qsizetype size() const { return text.size(); }
    char16_t operator[](qsizetype i) const { return text[i].unicode(); }
    qsizetype find(char c, qsizetype from) const {
        const qsizetype at = from < text.size() ? text.indexOf(QLatin1Char(c), from) : -1;
        return at < 0 ? text.size() : at;
    }
    void append(QByteArray& out, qsizetype from, qsizetype count) const {
        out.append(reinterpret_cast<const char*>(text.utf16() + from), 2 * count);
    }
    void appendText(QString& out, qsizetype from, qsizetype count) const {
        out.append(text.sliced(from, count));
    }
};

// A run of zero units: what a hole in a file holds.
struct ZeroUnits {
    qsizetype count;
    qsizetype width;
    qsizetype size() const { return count; }
    char16_t operator[](qsizetype) const { return 0; }
    qsizetype find(char c, qsizetype from) const { return c == 0 ? std::min(from, count) : count; }
    void append(QByteArray& out, qsizetype, qsizetype n) const { out.append(n * width, '\0'); }
    void appendText(QString& out, qsizetype, qsizetype n) const { out.append(QString(n, QChar(0))); }
};

// The name of a tag or attribute, lower case. Names that matter are short: of a longer one only the
// start and a hash of the whole are kept, enough to tell an element's end tag from another's.
struct ShortName {
    static constexpr int kRoom = 16;
    char chars[kRoom] = {};
    int length = 0;
    quint32 hash = 2166136261u;
    void clear() {
        length = 0;
        hash = 2166136261u;
    }
    void add(char16_t c) {
        const char16_t lower = AsciiLower(c);
        if (length < kRoom)
            chars[length] = lower < 0x80 ? char(lower) : '\x01';
        ++length;
        hash = (hash ^ lower) * 16777619u;
    }
    void set(const char* n) {
        clear();
        for (; *n; ++n)
            add(char16_t(*n));
    }
    bool operator==(const ShortName& o) const {
        return length == o.length && hash == o.hash &&
               std::memcmp(chars, o.chars, size_t(std::min(length, kRoom))) == 0;
    }
    template <int N> bool is(const char (&name)[N]) const {
        return N - 1 == length && std::memcmp(chars, name, size_t(N - 1)) == 0;
    }
    bool in(std::initializer_list<std::string_view> names) const {
        if (length > kRoom)
            return false;
        // The length and the first letter rule out nearly every name without a call to compare.
        return std::any_of(names.begin(), names.end(), [this](std::string_view name) {
            return qsizetype(name.size()) == length && name[0] == chars[0] &&
                   std::memcmp(name.data(), chars, name.size()) == 0;
        });
    }
};

// What the page's elements make of the markup that follows them: which elements are open, from
// <svg> and <math> (whose tags are not HTML) and <template> (whose content is not in the
// document) down, as a browser's tree builder keeps them. Elements outside those are kept too, so
// that an end tag closes what it closes in a browser; past kMaxDepth elements are not kept.
struct OpenElement {
    enum Space : unsigned char { Html, Svg, MathMl };
    ShortName name;
    Space space = Html;
    bool htmlAnnotation = false; // MathML annotation-xml whose encoding says it holds HTML

    // Tags within these are read as HTML tags again.
    bool isHtmlIntegrationPoint() const {
        return (space == Svg && name.in({"foreignobject", "desc", "title"})) ||
               (space == MathMl && htmlAnnotation);
    }
    bool isMathTextIntegrationPoint() const {
        return space == MathMl && name.in({"mi", "mo", "mn", "ms", "mtext"});
    }
    // An end tag looks no further down than these for its element.
    bool isScopeBoundary() const {
        if (space == Html)
            return name.in(
                {"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template"});
        return isHtmlIntegrationPoint() || isMathTextIntegrationPoint() ||
               (space == MathMl && name.is("annotation-xml"));
    }
};

class Tokenizer {
public:
    // The meta attributes that matter, each as first given in its tag (names lower case); in
    // foreign content, the attributes that decide what a font or annotation-xml tag does.
    struct Meta {
        enum Name { Charset, HttpEquiv, Content, NameAttr, Property, Encoding, FontLook, Count };
        QString value[Count];
        bool present[Count] = {};

        // For the next tag: its values start again where it gives them, in the room these took.
        void forget() { std::fill(std::begin(present), std::end(present), false); }
        // Whether the value of k, without the whitespace around it, is name in any letter case.
        bool is(Name k, std::string_view name) const {
            const QStringView v = QStringView(value[k]).trimmed();
            if (std::any_of(v.begin(), v.end(), [](QChar c) { return c.unicode() >= 0x80; }))
                return v.toString().toLower() == QLatin1StringView(name); // as Qt lowers letters beyond ASCII
            if (v.size() != qsizetype(name.size()))
                return false;
            for (qsizetype i = 0; i < v.size(); ++i) {
                if (AsciiLower(v[i].unicode()) != char16_t(name[size_t(i)]))
                    return false;
            }
            return true;
        }
    };

    // collectCharset: note the first meta charset declaration of the head (before the title, or
    // after it while the head lasts). collectHead: keep the head's meta description and date, and
    // go on to the end of the head. charsetForAsciiTitle: look for a declaration after the title
    // even when the title's bytes are plain ASCII, which no encoding changes.
    Tokenizer(bool collectCharset, bool collectHead, bool charsetForAsciiTitle = false)
        : wantCharset(collectCharset), wantHead(collectHead), charsetEvenForAscii(charsetForAsciiTitle) {}

    // Whether nothing more is wanted from the page.
    bool finished() const {
        if (done)
            return true;
        if (!titleClosed || (wantHead && !headEnded) || charsetPending())
            return false;
        // A frameset still to come would take a title in the body out of the document.
        return !(titleInBody && framesetPossible());
    }

    bool hasTitle() const { return titleClosed; }
    // Whether the closed title's bytes read as the same ASCII text in every encoding a page can
    // be read in as bytes (ReadsAsAsciiEverywhere): no encoding changes such a title.
    bool titleReadsAsAscii() const { return titleAscii; }
    // Whether the page's title element was met, closed or not.
    bool metTitle() const { return titleSeen; }
    // Whether the title ran to the end of the page without its end tag.
    bool titleUnclosed() const { return titleOpenAtEnd; }
    // Whether no meta element still to come can declare the encoding: one was found, or the head
    // (as far as declarations count) is over.
    bool charsetSettled() const { return !wantCharset || charsetFound || !charsetHead; }
    // Whether a stretch without a title's start tag may go unread: nothing in it is wanted then,
    // the title's text and the head's meta elements aside. A skipped stretch is tokenized after
    // all when a title's start tag follows it, so the elements it opens still count.
    bool maySkip() const {
        if (collectingTitle || titleClosed || (wantHead && !headEnded) || charsetPending())
            return false;
        switch (state) {
        case TagOpen:
        case EndTagOpen:
        case TagName:
            return false; // a name still being read may be "title"
        case BeforeAttrName:
        case AttrName:
        case AfterAttrName:
        case BeforeAttrValue:
        case AttrValueQuoted:
        case AttrValueUnquoted:
        case AfterAttrValueQuoted:
        case SelfClosing:
            return isEndTag || kind != Kind::Title; // the title's own start tag is under way
        default:
            return true;
        }
    }
    // The raw units of the title, at most kKeptTitleBytes of them (a whole number of units).
    QByteArray titleBytes() const {
        return title.left(std::min<qint64>(title.size(), titleUnits * unitWidth));
    }
    // Whether the title's end tag follows its kept units straight away: it was closed by that tag
    // and kept whole.
    bool titleEndsAtTag() const {
        return titleClosed && !titleOpenAtEnd && titleUnits * unitWidth <= title.size();
    }
    // The encoding a meta element of the head declared, or empty.
    const QByteArray& lateCharset() const { return charset; }
    const QString* description() const { return descriptionFound ? &descriptionValue : nullptr; }
    const QString* date() const { return dateFound ? &dateValue : nullptr; }

    template <typename Units> void feed(const Units& u);

    // The page ended: a title still open takes the text up to here, as in a browser.
    void end() {
        if (!collectingTitle || done)
            return;
        collectingTitle = false;
        titleClosed = true;
        titleOpenAtEnd = true;
        titleClosedAscii();
    }

    // A run of n zero units (a hole in the file): a few go through the tokenizer, which is then in
    // the state any number of them would leave it in; a title takes them all, up to its limit.
    void zeros(qint64 n, qsizetype width) {
        const qsizetype some = qsizetype(std::min<qint64>(n, 16));
        feed(ZeroUnits{some, width});
        if (n > some && state == Text && collectingTitle && !finished()) {
            const qint64 rest = n - some;
            const qint64 room = std::max<qint64>(0, (kKeptTitleBytes - title.size()) / width);
            title.append(qsizetype(std::min(rest, room)) * width, '\0');
            titleUnits += rest;
        }
    }

private:
    enum State : unsigned char {
        Data,
        TagOpen,
        EndTagOpen,
        TagName,
        BeforeAttrName,
        AttrName,
        AfterAttrName,
        BeforeAttrValue,
        AttrValueQuoted,
        AttrValueUnquoted,
        AfterAttrValueQuoted,
        SelfClosing,
        MarkupDeclOpen,
        MarkupDeclDash,
        CdataOpen, // "<![" in foreign content, matching "CDATA["
        CdataSection,
        CdataBracket,
        CdataEnd,
        CommentStart,
        CommentStartDash,
        Comment,
        CommentEndDash,
        CommentEnd,
        CommentEndBang,
        BogusComment,
        Text, // RCDATA or RAWTEXT (a title's text among them), until the end tag named endName
        ScriptData,
        ScriptEscaped,
        ScriptEscapedDash,
        ScriptEscapedDashDash,
        ScriptDoubleEscaped,
        ScriptDoubleEscapedDash,
        ScriptDoubleEscapedDashDash,
        ScriptLessThan,              // after "<" in script data
        ScriptEscapeStart,           // "<!" in script data
        ScriptEscapeStartDash,       // "<!-" in script data
        ScriptEscapedLessThan,       // after "<" in escaped script data
        ScriptDoubleEscapeStart,     // "<" and letters in escaped script data, matching "script"
        ScriptDoubleEscapedLessThan, // after "<" in double-escaped script data
        ScriptDoubleEscapeEnd,       // "</" and letters in double-escaped script data
        TextLessThan,                // after "<" in Text
        TextEndName,                 // after "</" in Text, ScriptData or ScriptEscaped: matching endName
    };

    // Where a browser's tree builder stands, as far as the title needs: before or in the head, or
    // past it (the body, tables and the rest).
    enum class Mode : unsigned char { Initial, InHead, AfterHead, InBody };

    static constexpr int kMaxDepth = 512;

    template <typename Units> void appendTitle(const Units& u, qsizetype from, qsizetype to) {
        if (to <= from)
            return;
        const qsizetype room = std::max<qsizetype>(0, (kKeptTitleBytes - title.size()) / u.width);
        u.append(title, from, std::min(to - from, room));
        titleUnits += to - from;
    }

    void startTag() {
        tagName.clear();
        isEndTag = false;
        selfClosing = false;
        collectingMeta = false;
    }
    void startAttribute() {
        attrName.clear();
        attrSlot = -1;
    }
    // The attribute name is complete: pick where its value goes, if anywhere.
    void attributeNamed() {
        attrSlot = -1;
        if (!collectingMeta)
            return;
        int k = -1;
        if (kind == Kind::Meta)
            k = attrName.is("charset")      ? Meta::Charset
                : attrName.is("http-equiv") ? Meta::HttpEquiv
                : attrName.is("content")    ? Meta::Content
                : attrName.is("name")       ? Meta::NameAttr
                : attrName.is("property")   ? Meta::Property
                                            : -1;
        else if (attrName.is("encoding"))
            k = Meta::Encoding;
        else if (attrName.is("color") || attrName.is("face") || attrName.is("size"))
            k = Meta::FontLook;
        if (k >= 0 && !meta.present[k]) {
            meta.present[k] = true;
            meta.value[k].truncate(0); // its room is kept for the next tag's value
            attrSlot = k;
        }
    }
    // Units from up to to are part of the attribute's value.
    template <typename Units> void attributeValue(const Units& u, qsizetype from, qsizetype to) {
        if (attrSlot < 0)
            return;
        QString& value = meta.value[attrSlot];
        const qsizetype room = kKeptMetaUnits - value.size();
        if (room > 0 && to > from)
            u.appendText(value, from, std::min(to - from, room));
    }

    // What a tag's name makes of it, settled once the name is complete.
    enum class Kind : unsigned char {
        Other,
        Title,
        Meta,
        Body,
        Head,
        Html,
        HeadVoid,    // base, basefont, bgsound, link
        RawTextHead, // style, noframes, noscript: raw text that stays in the head
        RawText,     // textarea, xmp, iframe, noembed
        Script,
        Plaintext,
        Template,
        Svg,
        Math,
        Frameset,
        Font,          // a breakout from foreign content when it has a color, face or size
        AnnotationXml, // holds HTML when its encoding says so
        RawTextEnd,    // the end tag that closed raw text
    };

    static Kind Classify(const ShortName& n) {
        switch (n.length > 0 ? n.chars[0] : 0) {
        case 'a':
            return n.is("annotation-xml") ? Kind::AnnotationXml : Kind::Other;
        case 'b':
            return n.is("body")                                          ? Kind::Body
                   : n.is("base") || n.is("basefont") || n.is("bgsound") ? Kind::HeadVoid
                                                                         : Kind::Other;
        case 'f':
            return n.is("frameset") ? Kind::Frameset : n.is("font") ? Kind::Font : Kind::Other;
        case 'h':
            return n.is("head") ? Kind::Head : n.is("html") ? Kind::Html : Kind::Other;
        case 'i':
            return n.is("iframe") ? Kind::RawText : Kind::Other;
        case 'l':
            return n.is("link") ? Kind::HeadVoid : Kind::Other;
        case 'm':
            return n.is("meta") ? Kind::Meta : n.is("math") ? Kind::Math : Kind::Other;
        case 'n':
            return n.is("noframes") || n.is("noscript") ? Kind::RawTextHead
                   : n.is("noembed")                    ? Kind::RawText
                                                        : Kind::Other;
        case 'p':
            return n.is("plaintext") ? Kind::Plaintext : Kind::Other;
        case 's':
            return n.is("script")  ? Kind::Script
                   : n.is("style") ? Kind::RawTextHead
                   : n.is("svg")   ? Kind::Svg
                                   : Kind::Other;
        case 't':
            return n.is("title")      ? Kind::Title
                   : n.is("textarea") ? Kind::RawText
                   : n.is("template") ? Kind::Template
                                      : Kind::Other;
        case 'x':
            return n.is("xmp") ? Kind::RawText : Kind::Other;
        default:
            return Kind::Other;
        }
    }

    // The tag's name is complete: settle what it is and which of its attributes to keep.
    void tagNamed() {
        kind = Classify(tagName);
        collectingMeta = false;
        if (isEndTag)
            return;
        if (kind == Kind::Meta)
            collectingMeta = (wantCharset && !charsetFound && charsetHead) || (wantHead && !headEnded);
        else if (kind == Kind::Font || kind == Kind::AnnotationXml)
            collectingMeta = inForeignContent();
        if (collectingMeta)
            meta.forget();
    }

    bool inForeignContent() const { return !open.empty() && open.back().space != OpenElement::Html; }

    // Whether a start tag is read by the rules of foreign content rather than as HTML.
    bool foreignStartTag() const {
        if (!inForeignContent())
            return false;
        const OpenElement& current = open.back();
        if (current.isMathTextIntegrationPoint() && !tagName.is("mglyph") && !tagName.is("malignmark"))
            return false;
        if (current.space == OpenElement::MathMl && current.name.is("annotation-xml") && kind == Kind::Svg)
            return false;
        return !current.isHtmlIntegrationPoint();
    }

    // HTML tags that end foreign content wherever they stand in it.
    bool breaksOut() const {
        if (kind == Kind::Font)
            return meta.present[Meta::FontLook];
        return kind == Kind::Body || kind == Kind::Head || kind == Kind::Meta ||
               tagName.in({"b",    "big",     "blockquote", "br",   "center", "code",   "dd",
                           "div",  "dl",      "dt",         "em",   "embed",  "h1",     "h2",
                           "h3",   "h4",      "h5",         "h6",   "hr",     "i",      "img",
                           "li",   "listing", "menu",       "nobr", "ol",     "p",      "pre",
                           "ruby", "s",       "small",      "span", "strong", "strike", "sub",
                           "sup",  "table",   "tt",         "u",    "ul",     "var"});
    }

    void push(OpenElement::Space space) {
        // Past the bound only what changes how tags read is kept: <svg>, <math> and <template>.
        const bool changesReading = kind == Kind::Svg || kind == Kind::Math || kind == Kind::Template;
        if (open.size() >= (changesReading ? 2 * kMaxDepth : kMaxDepth))
            return;
        OpenElement e;
        e.name = tagName;
        e.space = space;
        if (space == OpenElement::MathMl && kind == Kind::AnnotationXml && meta.present[Meta::Encoding]) {
            const QString encoding = meta.value[Meta::Encoding].toLower();
            e.htmlAnnotation = encoding == QLatin1StringView("text/html") ||
                               encoding == QLatin1StringView("application/xhtml+xml");
        }
        if (space == OpenElement::Html && kind == Kind::Template)
            ++templates;
        open.push_back(e);
    }
    // Closes the open elements from the one at index at up.
    void popTo(qsizetype at) {
        for (qsizetype k = qsizetype(open.size()) - 1; k >= at; --k) {
            if (open[size_t(k)].space == OpenElement::Html && open[size_t(k)].name.is("template"))
                --templates;
        }
        open.resize(size_t(at));
    }
    // Closes foreign elements until an HTML element or an integration point is current.
    void popForeign() {
        while (inForeignContent() && !open.back().isHtmlIntegrationPoint() &&
               !open.back().isMathTextIntegrationPoint())
            popTo(qsizetype(open.size()) - 1);
    }

    bool framesetPossible() const { return !done && templates == 0 && (mode != Mode::InBody || framesetOk); }
    // A frameset replaces the body: nothing after it, nor a title in the body before it, is in the
    // document.
    void acceptFrameset() {
        if (titleInBody) {
            titleClosed = collectingTitle = titleSeen = false;
            title.clear();
            titleUnits = 0;
        }
        done = true;
    }

    void enterHead() {
        if (mode == Mode::Initial)
            mode = Mode::InHead;
    }
    // A body the page does not open itself begins: a frameset may still replace it, even after
    // a template in the head (as in Chromium).
    void impliedBody() {
        if (templates > 0)
            return; // a template's content is no body
        if (mode != Mode::InBody)
            framesetOk = true;
        mode = Mode::InBody;
    }
    void enterBody() { impliedBody(); }
    // Text other than whitespace, outside raw text: the body has begun.
    void textMet() {
        if (templates > 0)
            return;
        impliedBody();
        framesetOk = false;
    }
    bool watchingText() const { return mode != Mode::InBody || framesetOk; }

    bool charsetPending() const {
        return wantCharset && !charsetFound && charsetHead && titleClosed &&
               (charsetEvenForAscii || !titleAscii);
    }
    void titleClosedAscii() { titleAscii = unitWidth == 1 && ReadsAsAsciiEverywhere(titleBytes()); }

    // The tag just ended with ">"; returns the state to go on in.
    State emitTag() {
        // A late declaration counts until a tag that does not belong in the head, start or end
        // tag, whatever the tree makes of it: Chromium's rule.
        if (charsetHead && (isEndTag || (kind != Kind::Html && kind != Kind::Head)) &&
            !tagName.in({"script", "noscript", "style", "link", "meta", "object", "title", "base"}))
            charsetHead = false;
        if (kind == Kind::RawTextEnd)
            return Data;
        if (isEndTag) {
            if (inForeignContent())
                foreignEndTag();
            else
                htmlEndTag();
            return Data;
        }
        if (foreignStartTag()) {
            if (!breaksOut()) {
                if (!selfClosing)
                    push(open.back().space);
                return Data;
            }
            popForeign();
        }
        return htmlStartTag();
    }

    State htmlStartTag() {
        switch (kind) {
        case Kind::Html:
            return Data;
        case Kind::Head:
            enterHead();
            return Data;
        case Kind::Body:
            enterBody();
            headEnded = true;
            framesetOk = false;
            return Data;
        case Kind::Frameset:
            if (framesetPossible())
                acceptFrameset();
            return Data;
        case Kind::Title:
            enterHead();
            if (!titleSeen && templates == 0) {
                collectingTitle = titleSeen = true;
                titleInBody = mode == Mode::InBody;
            }
            endName.set("title");
            textState = Text;
            return Text;
        case Kind::Meta:
            enterHead();
            if (collectingMeta)
                takeMeta();
            return Data;
        case Kind::HeadVoid:
            enterHead();
            return Data;
        case Kind::RawTextHead:
        case Kind::Script:
            enterHead();
            endName = tagName;
            textState = kind == Kind::Script ? ScriptData : Text;
            return textState;
        case Kind::RawText:
            enterBody();
            framesetOk = framesetOk && tagName.is("noembed");
            endName = tagName;
            textState = Text;
            return Text;
        case Kind::Plaintext: // the rest of the page is text
            enterBody();
            done = true;
            return Data;
        case Kind::Template:
            enterHead();
            framesetOk = false;
            push(OpenElement::Html);
            return Data;
        case Kind::Svg:
        case Kind::Math:
            enterBody();
            if (!selfClosing)
                push(kind == Kind::Svg ? OpenElement::Svg : OpenElement::MathMl);
            return Data;
        default:
            break;
        }
        impliedBody();
        if (framesetOk && tagName.in({"pre",     "listing", "li",    "dd",    "dt", "button", "applet",
                                      "marquee", "object",  "table", "area",  "br", "embed",  "img",
                                      "image",   "keygen",  "wbr",   "input", "hr", "select"}))
            framesetOk = false;
        // An element that cannot hold its own kind closes the one still open around it.
        if (!open.empty() && open.back().space == OpenElement::Html && open.back().name == tagName &&
            tagName.in({"p", "li", "dd", "dt", "option", "tr", "td", "th", "a", "button"}))
            popTo(qsizetype(open.size()) - 1);
        if (!tagName.in({"area", "br", "col", "embed", "hr", "img", "image", "input", "keygen", "param",
                         "source", "track", "wbr", "frame"}))
            push(OpenElement::Html);
        return Data;
    }

    // An end tag in foreign content closes the foreign element it names; one that reaches an HTML
    // element is read as HTML.
    void foreignEndTag() {
        if (tagName.is("p") || tagName.is("br")) {
            popForeign();
            htmlEndTag();
            return;
        }
        for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
            const OpenElement& e = open[size_t(k)];
            if (k + 1 < qsizetype(open.size()) && e.space == OpenElement::Html)
                break;
            if (e.name == tagName) {
                popTo(k);
                return;
            }
        }
        htmlEndTag();
    }

    void htmlEndTag() {
        switch (kind) {
        case Kind::Head:
            if (mode != Mode::InBody)
                mode = Mode::AfterHead;
            headEnded = true;
            return;
        case Kind::Body:
        case Kind::Html:
            enterBody();
            headEnded = true;
            return;
        case Kind::Template:
            for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
                if (open[size_t(k)].space == OpenElement::Html && open[size_t(k)].name.is("template")) {
                    popTo(k);
                    return;
                }
            }
            return;
        default:
            break;
        }
        if (tagName.is("br")) {
            enterBody();
            framesetOk = false;
            return;
        }
        if (tagName.in({"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong",
                        "tt", "u"})) {
            // A formatting element's end tag adopts what is open within it, as a browser's adoption
            // agency does: the special elements stay open, moved out of it; the rest close with it.
            for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
                const OpenElement& e = open[size_t(k)];
                if (e.space == OpenElement::Html && e.name == tagName) {
                    size_t kept = size_t(k);
                    for (size_t j = size_t(k) + 1; j < open.size(); ++j) {
                        if (IsSpecial(open[j]))
                            open[kept++] = open[j];
                    }
                    open.resize(kept);
                    return;
                }
                if (e.isScopeBoundary())
                    return;
            }
            return;
        }
        // The element closes with everything opened within it, unless a scope ends first (or, for
        // the end tag of an ordinary element, an element of the kind that structures a page).
        int specialName = -1; // settled when first needed: most end tags close the current element
        for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
            const OpenElement& e = open[size_t(k)];
            if (e.space == OpenElement::Html && e.name == tagName) {
                popTo(k);
                return;
            }
            if (e.isScopeBoundary())
                return;
            if (e.space == OpenElement::Html && IsSpecial(e.name)) {
                if (specialName < 0)
                    specialName = IsSpecial(tagName);
                if (!specialName)
                    return;
            }
        }
    }

    static bool IsSpecial(const OpenElement& e) {
        if (e.space == OpenElement::Html)
            return IsSpecial(e.name);
        return e.isHtmlIntegrationPoint() || e.isMathTextIntegrationPoint() ||
               (e.space == OpenElement::MathMl && e.name.is("annotation-xml"));
    }
    // HTML's special elements: an end tag for another element does not close them.
    static bool IsSpecial(const ShortName& n) {
        return n.in({"address", "applet",     "area",     "article",    "aside",     "base",     "basefont",
                     "bgsound", "blockquote", "body",     "br",         "button",    "caption",  "center",
                     "col",     "colgroup",   "dd",       "details",    "dir",       "div",      "dl",
                     "dt",      "embed",      "fieldset", "figcaption", "figure",    "footer",   "form",
                     "frame",   "frameset",   "h1",       "h2",         "h3",        "h4",       "h5",
                     "h6",      "head",       "header",   "hgroup",     "hr",        "html",     "iframe",
                     "img",     "input",      "keygen",   "li",         "link",      "listing",  "main",
                     "marquee", "menu",       "meta",     "nav",        "noembed",   "noframes", "noscript",
                     "object",  "ol",         "p",        "param",      "plaintext", "pre",      "script",
                     "search",  "section",    "select",   "source",     "style",     "summary",  "table",
                     "tbody",   "td",         "template", "textarea",   "tfoot",     "th",       "thead",
                     "title",   "tr",         "track",    "ul",         "wbr",       "xmp"});
    }

    void takeMeta() {
        if (wantCharset && !charsetFound && charsetHead) {
            // A declaration that names no known encoding lets a later one count, as in the prescan.
            const auto attribute = [this](int k) {
                return meta.present[k] ? std::optional(meta.value[k].toLatin1()) : std::nullopt;
            };
            charset = MetaDeclaredEncoding(attribute(Meta::Charset), attribute(Meta::HttpEquiv),
                                           attribute(Meta::Content));
            charsetFound = !charset.isEmpty();
        }
        if (!wantHead || headEnded)
            return;
        if (meta.present[Meta::Content] && meta.present[Meta::NameAttr]) {
            if (meta.is(Meta::NameAttr, "description")) {
                if (!descriptionFound) {
                    descriptionFound = true;
                    descriptionValue = meta.value[Meta::Content];
                }
            } else if (meta.is(Meta::NameAttr, "date") && !dateFound) {
                dateFound = true;
                dateValue = meta.value[Meta::Content];
            }
        }
        if (meta.present[Meta::Content] && meta.present[Meta::Property] && !dateFound &&
            meta.is(Meta::Property, "article:published_time")) {
            dateFound = true;
            dateValue = meta.value[Meta::Content];
        }
    }

    // The state functions, one per group of the HTML tokenizer's states; each takes the units from
    // i on and returns where it stopped.
    template <typename Units> qsizetype dataState(const Units& u, qsizetype i);
    template <typename Units> qsizetype tagOpenStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype tagNameState(const Units& u, qsizetype i);
    template <typename Units> qsizetype attributeNameStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype attributeValueStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype markupDeclarationOpenStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype cdataSectionStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype commentStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype bogusCommentState(const Units& u, qsizetype i);
    template <typename Units> qsizetype rawTextStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype endTagNameState(const Units& u, qsizetype i);
    template <typename Units> qsizetype scriptDataStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype scriptDataEscapedStates(const Units& u, qsizetype i);
    template <typename Units> qsizetype scriptDataDoubleEscapedStates(const Units& u, qsizetype i);
    template <typename Units> void noteText(const Units& u, qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to && watchingText(); ++k) {
            if (!IsAsciiWhitespace(u[k]))
                textMet();
        }
    }

    bool wantCharset;
    bool wantHead;
    bool charsetEvenForAscii;
    State state = Data;
    State textState = Text; // the state raw text returns to after a "<" that starts no end tag
    Mode mode = Mode::Initial;
    bool done = false;
    bool headEnded = false;
    bool charsetHead = true;  // still in the head, as far as a meta charset declaration counts
    bool framesetOk = true;   // a frameset may still replace the body
    bool titleSeen = false;   // the title element was met
    bool titleClosed = false; // its end tag was met, or the page ended within it
    bool titleOpenAtEnd = false;
    bool titleInBody = false;
    bool titleAscii = false; // the closed title's bytes are plain ASCII
    bool collectingTitle = false;
    bool isEndTag = false;
    bool selfClosing = false;
    Kind kind = Kind::Other;
    bool collectingMeta = false;
    bool charsetFound = false;
    bool descriptionFound = false;
    bool dateFound = false;
    int matched = 0; // characters of endName, "script" or "CDATA[" matched so far
    int attrSlot = -1;
    char16_t quote = 0;
    qsizetype unitWidth = 1;
    int templates = 0; // open template elements, whose content is not in the document
    std::vector<OpenElement> open;
    ShortName tagName, attrName, endName;
    Meta meta;
    QByteArray charset; // what a meta element of the head declared
    QString descriptionValue, dateValue;
    QByteArray title;         // raw units of the title, up to the limit
    qint64 titleUnits = 0;    // units of title text seen, kept or not
    qint64 endTagAt = -1;     // titleUnits where a possible end tag began
    qsizetype titleFrom = -1; // where the title text of the piece being fed starts
};

// Just past the ">" that ends a tag whose attributes start at i, following the attribute states
// as the tokenizer does but keeping nothing; -1 when the units run out first. *selfClosing tells
// whether the tag ended with "/>".
template <typename Units> inline qsizetype SkipAttributes(const Units& u, qsizetype i, bool* selfClosing) {
    enum { BeforeName, Name, AfterName, BeforeValue, Unquoted } state = BeforeName;
    const qsizetype n = u.size();
    for (; i < n; ++i) {
        const char16_t c = u[i];
        if (c == '>' && state != BeforeValue) {
            // Every "/" outside a value leads to BeforeName; one just before ">" closes the tag.
            *selfClosing = state == BeforeName && u[i - 1] == '/';
            return i + 1;
        }
        switch (state) {
        case BeforeName:
            if (!IsAsciiWhitespace(c) && c != '/')
                state = Name;
            break;
        case Name:
            // A "/" not closing the tag leaves the next character to start an attribute.
            if (c == '=')
                state = BeforeValue;
            else if (c == '/')
                state = BeforeName;
            else if (IsAsciiWhitespace(c))
                state = AfterName;
            break;
        case AfterName:
            if (c == '=')
                state = BeforeValue;
            else if (c == '/')
                state = BeforeName;
            else if (!IsAsciiWhitespace(c))
                state = Name;
            break;
        case BeforeValue:
            if (c == '>') {
                *selfClosing = false;
                return i + 1;
            }
            if (c == '"' || c == '\'') {
                i = u.find(char(c), i + 1);
                if (i >= n)
                    return -1;
                // After a quoted value comes a new attribute, whatever stands there.
                state = BeforeName;
            } else if (!IsAsciiWhitespace(c)) {
                state = Unquoted;
            }
            break;
        case Unquoted:
            if (IsAsciiWhitespace(c))
                state = BeforeName;
            break;
        }
    }
    return -1;
}

template <typename Units> void Tokenizer::feed(const Units& u) {
    unitWidth = u.width;
    const qsizetype n = u.size();
    qsizetype i = 0;
    titleFrom = collectingTitle ? 0 : -1;
    while (i < n && !finished()) {
        switch (state) {
        case Data:
            i = dataState(u, i);
            break;
        case TagOpen:
        case EndTagOpen:
            i = tagOpenStates(u, i);
            break;
        case TagName:
            i = tagNameState(u, i);
            break;
        case BeforeAttrName:
        case AttrName:
        case AfterAttrName:
        case SelfClosing:
            i = attributeNameStates(u, i);
            break;
        case BeforeAttrValue:
        case AttrValueQuoted:
        case AttrValueUnquoted:
        case AfterAttrValueQuoted:
            i = attributeValueStates(u, i);
            break;
        case MarkupDeclOpen:
        case MarkupDeclDash:
        case CdataOpen:
            i = markupDeclarationOpenStates(u, i);
            break;
        case CdataSection:
        case CdataBracket:
        case CdataEnd:
            i = cdataSectionStates(u, i);
            break;
        case CommentStart:
        case CommentStartDash:
        case Comment:
        case CommentEndDash:
        case CommentEnd:
        case CommentEndBang:
            i = commentStates(u, i);
            break;
        case BogusComment:
            i = bogusCommentState(u, i);
            break;
        case Text:
        case TextLessThan:
            i = rawTextStates(u, i);
            break;
        case TextEndName:
            i = endTagNameState(u, i);
            break;
        case ScriptData:
        case ScriptLessThan:
        case ScriptEscapeStart:
        case ScriptEscapeStartDash:
            i = scriptDataStates(u, i);
            break;
        case ScriptEscaped:
        case ScriptEscapedDash:
        case ScriptEscapedDashDash:
        case ScriptEscapedLessThan:
        case ScriptDoubleEscapeStart:
            i = scriptDataEscapedStates(u, i);
            break;
        case ScriptDoubleEscaped:
        case ScriptDoubleEscapedDash:
        case ScriptDoubleEscapedDashDash:
        case ScriptDoubleEscapedLessThan:
        case ScriptDoubleEscapeEnd:
            i = scriptDataDoubleEscapedStates(u, i);
            break;
        }
        // The title's text starts here.
        if (collectingTitle && titleFrom < 0)
            titleFrom = i;
    }
    if (collectingTitle)
        appendTitle(u, titleFrom, n);
}

template <typename Units> qsizetype Tokenizer::dataState(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    // Most tags lie whole within the piece: take those here, one after the other, and leave the
    // rest to the states below.
    for (;;) {
        const qsizetype from = i;
        i = u.find('<', i);
        if (watchingText())
            noteText(u, from, i);
        if (i >= n)
            return n;
        qsizetype k = i + 1;
        const bool end = k < n && u[k] == '/';
        k += end;
        if (k >= n || !IsAsciiLetter(u[k])) {
            state = TagOpen;
            return i + 1;
        }
        startTag();
        isEndTag = end;
        for (; k < n; ++k) {
            const char16_t c = u[k];
            if (IsAsciiWhitespace(c) || c == '/' || c == '>')
                break;
            tagName.add(c);
        }
        if (k >= n) {
            state = TagOpen;
            return i + 1;
        }
        tagNamed();
        const qsizetype m = collectingMeta ? -1 : SkipAttributes(u, k, &selfClosing);
        if (m < 0) {
            state = TagName; // the attributes, step by step
            return k;
        }
        i = m;
        state = emitTag();
        if (state != Data || finished())
            return i;
    }
}

// After "<" and after "</".
template <typename Units> qsizetype Tokenizer::tagOpenStates(const Units& u, qsizetype i) {
    const char16_t c = u[i];
    if (state == TagOpen) {
        if (c == '!') {
            state = MarkupDeclOpen;
            return i + 1;
        }
        if (c == '/') {
            state = EndTagOpen;
            return i + 1;
        }
        if (IsAsciiLetter(c)) {
            startTag();
            state = TagName;
            return i;
        }
        if (c == '?') {
            state = BogusComment;
            return i + 1;
        }
        if (watchingText())
            textMet(); // the "<" was text
        state = Data;
        return i;
    }
    if (IsAsciiLetter(c)) {
        startTag();
        isEndTag = true;
        state = TagName;
        return i;
    }
    state = c == '>' ? Data : BogusComment;
    return c == '>' ? i + 1 : i;
}

template <typename Units> qsizetype Tokenizer::tagNameState(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    for (; i < n; ++i) {
        const char16_t c = u[i];
        if (IsAsciiWhitespace(c)) {
            tagNamed();
            state = BeforeAttrName;
            return i + 1;
        }
        if (c == '/') {
            tagNamed();
            state = SelfClosing;
            return i + 1;
        }
        if (c == '>') {
            tagNamed();
            state = emitTag();
            return i + 1;
        }
        tagName.add(c);
    }
    return n;
}

// Before, in and after an attribute's name, and after a "/" in a tag.
template <typename Units> qsizetype Tokenizer::attributeNameStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    const char16_t c = u[i];
    switch (state) {
    case BeforeAttrName:
        if (IsAsciiWhitespace(c))
            return i + 1;
        if (c == '/' || c == '>') {
            state = AfterAttrName;
            return i;
        }
        startAttribute();
        state = AttrName;
        if (c == '=') {
            attrName.add(c);
            return i + 1;
        }
        return i;
    case AttrName:
        for (; i < n; ++i) {
            const char16_t d = u[i];
            if (IsAsciiWhitespace(d) || d == '/' || d == '>') {
                attributeNamed();
                state = AfterAttrName;
                return i;
            }
            if (d == '=') {
                attributeNamed();
                state = BeforeAttrValue;
                return i + 1;
            }
            attrName.add(d);
        }
        return n;
    case AfterAttrName:
        if (IsAsciiWhitespace(c))
            return i + 1;
        if (c == '/') {
            state = SelfClosing;
            return i + 1;
        }
        if (c == '=') {
            state = BeforeAttrValue;
            return i + 1;
        }
        if (c == '>') {
            state = emitTag();
            return i + 1;
        }
        startAttribute();
        state = AttrName;
        return i;
    default: // SelfClosing
        if (c == '>') {
            selfClosing = true;
            state = emitTag();
            return i + 1;
        }
        state = BeforeAttrName;
        return i;
    }
}

template <typename Units> qsizetype Tokenizer::attributeValueStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    const char16_t c = u[i];
    switch (state) {
    case BeforeAttrValue:
        if (IsAsciiWhitespace(c))
            return i + 1;
        if (c == '"' || c == '\'') {
            quote = c;
            state = AttrValueQuoted;
            return i + 1;
        }
        if (c == '>') {
            state = emitTag();
            return i + 1;
        }
        state = AttrValueUnquoted;
        return i;
    case AttrValueQuoted:
        if (attrSlot < 0) {
            // A value nobody wants: skip to its closing quote.
            i = u.find(char(quote), i);
            if (i < n)
                state = AfterAttrValueQuoted;
            return std::min(i + 1, n);
        }
        {
            const qsizetype end = u.find(char(quote), i);
            attributeValue(u, i, end);
            if (end >= n)
                return n;
            state = AfterAttrValueQuoted;
            return end + 1;
        }
    case AttrValueUnquoted: {
        qsizetype end = i;
        while (end < n && !IsAsciiWhitespace(u[end]) && u[end] != '>')
            ++end;
        attributeValue(u, i, end);
        if (end >= n)
            return n;
        if (u[end] == '>')
            state = emitTag();
        else
            state = BeforeAttrName;
        return end + 1;
    }
    default: // AfterAttrValueQuoted
        if (IsAsciiWhitespace(c)) {
            state = BeforeAttrName;
            return i + 1;
        }
        if (c == '/') {
            state = SelfClosing;
            return i + 1;
        }
        if (c == '>') {
            state = emitTag();
            return i + 1;
        }
        state = BeforeAttrName;
        return i;
    }
}

// After "<!": a comment, a CDATA section in foreign content, or else (a doctype among them)
// markup a browser drops up to the next ">".
template <typename Units> qsizetype Tokenizer::markupDeclarationOpenStates(const Units& u, qsizetype i) {
    const char16_t c = u[i];
    switch (state) {
    case MarkupDeclOpen:
        if (c == '-') {
            state = MarkupDeclDash;
            return i + 1;
        }
        if (c == '[' && inForeignContent()) {
            state = CdataOpen;
            matched = 0;
            return i + 1;
        }
        state = BogusComment;
        return i;
    case MarkupDeclDash:
        state = c == '-' ? CommentStart : BogusComment;
        return c == '-' ? i + 1 : i;
    default: { // CdataOpen
        static constexpr char kCdata[] = "CDATA[";
        if (c != char16_t(kCdata[matched])) {
            state = BogusComment;
            return i;
        }
        if (++matched == 6)
            state = CdataSection;
        return i + 1;
    }
    }
}

// A CDATA section ends at the first "]]>".
template <typename Units> qsizetype Tokenizer::cdataSectionStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    if (state == CdataSection) {
        i = u.find(']', i);
        if (i < n)
            state = CdataBracket;
        return std::min(i + 1, n);
    }
    const char16_t c = u[i];
    if (state == CdataBracket) {
        state = c == ']' ? CdataEnd : CdataSection;
        return c == ']' ? i + 1 : i;
    }
    // CdataEnd: "]]" seen
    if (c == ']')
        return i + 1;
    state = c == '>' ? Data : CdataSection;
    return c == '>' ? i + 1 : i;
}

// The comment states. Those the HTML tokenizer has for "<!--" within a comment only report
// errors: they end no comment that these would not, and are left out.
template <typename Units> qsizetype Tokenizer::commentStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    if (state == Comment) {
        i = u.find('-', i);
        if (i < n)
            state = CommentEndDash;
        return std::min(i + 1, n);
    }
    const char16_t c = u[i];
    switch (state) {
    case CommentStart: // "<!--": "<!-->" is a whole comment
        state = c == '-' ? CommentStartDash : c == '>' ? Data : Comment;
        return c == '-' || c == '>' ? i + 1 : i;
    case CommentStartDash: // "<!---": "<!--->" is a whole comment
    case CommentEndDash:
        state = c == '-' ? CommentEnd : (c == '>' && state == CommentStartDash) ? Data : Comment;
        return c == '-' || state == Data ? i + 1 : i;
    case CommentEnd: // "--"
        if (c == '-')
            return i + 1;
        state = c == '>' ? Data : c == '!' ? CommentEndBang : Comment;
        return c == '>' || c == '!' ? i + 1 : i;
    default: // CommentEndBang: "--!"
        state = c == '-' ? CommentEndDash : c == '>' ? Data : Comment;
        return c == '-' || c == '>' ? i + 1 : i;
    }
}

template <typename Units> qsizetype Tokenizer::bogusCommentState(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    i = u.find('>', i);
    if (i < n)
        state = Data;
    return std::min(i + 1, n);
}

// RCDATA and RAWTEXT: text up to "</" and the name of the element that opened it.
template <typename Units> qsizetype Tokenizer::rawTextStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    if (state == Text) {
        i = u.find('<', i);
        if (i < n) {
            if (collectingTitle)
                endTagAt = titleUnits + (i - std::max<qsizetype>(titleFrom, 0));
            state = TextLessThan;
        }
        return std::min(i + 1, n);
    }
    if (u[i] == '/') { // TextLessThan
        state = TextEndName;
        matched = 0;
        return i + 1;
    }
    state = Text;
    return i;
}

// After "</" in raw text or script data: the name of the element that opened it ends it.
template <typename Units> qsizetype Tokenizer::endTagNameState(const Units& u, qsizetype i) {
    const char16_t c = u[i];
    if (matched < endName.length) {
        if (c < 0x80 && char(AsciiLower(c)) == endName.chars[matched]) {
            ++matched;
            return i + 1;
        }
        state = textState;
        return i;
    }
    if (!IsAsciiWhitespace(c) && c != '/' && c != '>') {
        state = textState;
        return i;
    }
    // The element's end tag: its attributes, if any, are read as any tag's.
    if (collectingTitle) {
        if (endTagAt >= titleUnits)
            appendTitle(u, titleFrom, titleFrom + qsizetype(endTagAt - titleUnits));
        titleUnits = endTagAt;
        if (title.size() > endTagAt * u.width)
            title.truncate(qsizetype(endTagAt * u.width));
        titleFrom = -1;
        titleClosed = true;
        collectingTitle = false;
        titleClosedAscii();
    }
    startTag();
    isEndTag = true;
    tagName = endName;
    kind = Kind::RawTextEnd;
    state = BeforeAttrName;
    return i;
}

// Script data, and "<!--" in it, which starts escaped script data.
template <typename Units> qsizetype Tokenizer::scriptDataStates(const Units& u, qsizetype i) {
    const qsizetype n = u.size();
    if (state == ScriptData) {
        i = u.find('<', i);
        if (i < n)
            state = ScriptLessThan;
        return std::min(i + 1, n);
    }
    const char16_t c = u[i];
    switch (state) {
    case ScriptLessThan:
        if (c == '/') {
            state = TextEndName;
            textState = ScriptData;
            matched = 0;
            return i + 1;
        }
        state = c == '!' ? ScriptEscapeStart : ScriptData;
        return c == '!' ? i + 1 : i;
    case ScriptEscapeStart:
        state = c == '-' ? ScriptEscapeStartDash : ScriptData;
        return c == '-' ? i + 1 : i;
    default: // ScriptEscapeStartDash
        state = c == '-' ? ScriptEscapedDashDash : ScriptData;
        return c == '-' ? i + 1 : i;
    }
}

// Escaped script data ("<!--" met): "-->" ends it, "</script" ends the script, and "<script"
// starts double-escaped script data.
template <typename Units> qsizetype Tokenizer::scriptDataEscapedStates(const Units& u, qsizetype i) {
    if (state == ScriptEscaped) {
        const qsizetype n = u.size();
        while (i < n && u[i] != '-' && u[i] != '<')
            ++i;
        if (i >= n)
            return n;
    }
    const char16_t c = u[i];
    switch (state) {
    case ScriptEscaped:
    case ScriptEscapedDash:
        state = c == '-'   ? (state == ScriptEscaped ? ScriptEscapedDash : ScriptEscapedDashDash)
                : c == '<' ? ScriptEscapedLessThan
                           : ScriptEscaped;
        return i + 1;
    case ScriptEscapedDashDash:
        state = c == '-'   ? ScriptEscapedDashDash
                : c == '<' ? ScriptEscapedLessThan
                : c == '>' ? ScriptData
                           : ScriptEscaped;
        return i + 1;
    case ScriptEscapedLessThan:
        if (c == '/') {
            state = TextEndName;
            textState = ScriptEscaped;
            matched = 0;
            return i + 1;
        }
        matched = 0;
        state = IsAsciiLetter(c) ? ScriptDoubleEscapeStart : ScriptEscaped;
        return i;
    default: // ScriptDoubleEscapeStart
        if (matched == 6 && (IsAsciiWhitespace(c) || c == '/' || c == '>')) {
            state = ScriptDoubleEscaped;
            return i + 1;
        }
        if (matched < 6 && c < 0x80 && char(AsciiLower(c)) == "script"[matched]) {
            ++matched;
            return i + 1;
        }
        state = ScriptEscaped;
        return i;
    }
}

// Double-escaped script data ("<!--" then "<script" met): "-->" returns to script data, and
// "</script" only to escaped script data.
template <typename Units> qsizetype Tokenizer::scriptDataDoubleEscapedStates(const Units& u, qsizetype i) {
    if (state == ScriptDoubleEscaped) {
        const qsizetype n = u.size();
        while (i < n && u[i] != '-' && u[i] != '<')
            ++i;
        if (i >= n)
            return n;
    }
    const char16_t c = u[i];
    switch (state) {
    case ScriptDoubleEscaped:
    case ScriptDoubleEscapedDash:
        state = c == '-'
                    ? (state == ScriptDoubleEscaped ? ScriptDoubleEscapedDash : ScriptDoubleEscapedDashDash)
                : c == '<' ? ScriptDoubleEscapedLessThan
                           : ScriptDoubleEscaped;
        return i + 1;
    case ScriptDoubleEscapedDashDash:
        state = c == '-'   ? ScriptDoubleEscapedDashDash
                : c == '<' ? ScriptDoubleEscapedLessThan
                : c == '>' ? ScriptData
                           : ScriptDoubleEscaped;
        return i + 1;
    case ScriptDoubleEscapedLessThan:
        matched = 0;
        state = c == '/' ? ScriptDoubleEscapeEnd : ScriptDoubleEscaped;
        return c == '/' ? i + 1 : i;
    default: // ScriptDoubleEscapeEnd
        if (matched == 6 && (IsAsciiWhitespace(c) || c == '/' || c == '>')) {
            state = ScriptEscaped;
            return i + 1;
        }
        if (matched < 6 && c < 0x80 && char(AsciiLower(c)) == "script"[matched]) {
            ++matched;
            return i + 1;
        }
        state = ScriptDoubleEscaped;
        return i;
    }
}

// The title as a browser shows it: ASCII whitespace runs as one space, ends trimmed, NUL as
// U+FFFD. Characters given as bytes are Latin-1 (ASCII, in practice). Empty gives nullopt.
template <typename Char> std::optional<QString> CleanTitle(const Char* raw, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    char16_t* const start = o;
    bool pendingSpace = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = char16_t(std::make_unsigned_t<Char>(raw[i]));
        if (IsAsciiWhitespace(c)) {
            pendingSpace = o != start;
            continue;
        }
        if (pendingSpace) {
            *o++ = u' ';
            pendingSpace = false;
        }
        *o++ = c == 0 ? char16_t(QChar::ReplacementCharacter) : c;
    }
    if (o == start)
        return std::nullopt;
    out.truncate(o - start);
    return out;
}

inline std::optional<QString> CleanTitle(QStringView raw) {
    return CleanTitle(reinterpret_cast<const char16_t*>(raw.utf16()), raw.size());
}

} // namespace pagewick::detail
