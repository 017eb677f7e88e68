#pragma once

// Private to the engine: the tag tokenizer the page reader and the title search share.
//
// It reads markup as a browser's HTML tokenizer does, as far as finding a page's title and the
// meta elements of its head needs: comments hold no tags, the text of script, style and the other
// raw-text elements holds no tags, and an attribute value may hold anything. It is fed a page in
// pieces of any size and keeps no bytes of them, only its state, the title text (up to a limit)
// and the few meta attributes asked for.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include "engine/decode.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>

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

// Page text seen as a run of code units, so that the tokenizer works alike on the bytes of
// ASCII-compatible encodings (where markup bytes are always ASCII), on raw UTF-16 and on text.
// Each kind offers size(), the unit at i, find(c, from) (the first c at or after from, or size())
// and append(out, from, count) (the raw bytes of count units).
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
};

// A run of zero units: what a hole in a file holds.
struct ZeroUnits {
    qsizetype count;
    qsizetype width;
    qsizetype size() const { return count; }
    char16_t operator[](qsizetype) const { return 0; }
    qsizetype find(char c, qsizetype from) const { return c == 0 ? std::min(from, count) : count; }
    void append(QByteArray& out, qsizetype, qsizetype n) const { out.append(n * width, '\0'); }
};

class Tokenizer {
public:
    // The meta attributes that matter, each as first given in its tag (names lower case).
    struct Meta {
        enum Name { Charset, HttpEquiv, Content, NameAttr, Property, Count };
        QString value[Count];
        bool present[Count] = {};
    };

    // collectCharset: note the first meta charset declaration before the title. collectHead: keep
    // the head's meta description and date, and go on to the end of the head.
    Tokenizer(bool collectCharset, bool collectHead) : wantCharset(collectCharset), wantHead(collectHead) {}

    // Whether nothing more is wanted from the page.
    bool finished() const { return done || (titleClosed && (!wantHead || headEnded)); }

    bool hasTitle() const { return titleClosed; }
    // Whether a title's start tag was met, closed or not.
    bool metTitle() const { return titleSeen; }
    // Whether a stretch without a title's start tag may go unread: nothing in it is wanted then,
    // the title's text and the head's meta elements aside.
    bool maySkip() const {
        if (collectingTitle || (wantHead && !headEnded))
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
    // The encoding a meta element declared before the title, or empty.
    const QByteArray& lateCharset() const { return charset; }
    const QString* description() const { return descriptionFound ? &descriptionValue : nullptr; }
    const QString* date() const { return dateFound ? &dateValue : nullptr; }

    template <typename Units> void feed(const Units& u);

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
        Comment,
        BogusComment,
        Text, // raw text or a title's text, until the end tag named endName
        TextLessThan,
        TextEndName,
    };

    static constexpr int kNameRoom = 16;

    // Tags and attributes whose names matter are short; a longer name matches none of them.
    struct ShortName {
        char chars[kNameRoom] = {};
        int length = 0;
        void clear() { length = 0; }
        void add(char16_t c) {
            if (length < kNameRoom)
                chars[length] = c < 0x80 ? char(AsciiLower(c)) : '\x01';
            ++length;
        }
        template <int N> bool is(const char (&name)[N]) const {
            return N - 1 == length && std::memcmp(chars, name, size_t(N - 1)) == 0;
        }
    };

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
        const int k = attrName.is("charset")      ? Meta::Charset
                      : attrName.is("http-equiv") ? Meta::HttpEquiv
                      : attrName.is("content")    ? Meta::Content
                      : attrName.is("name")       ? Meta::NameAttr
                      : attrName.is("property")   ? Meta::Property
                                                  : -1;
        if (k >= 0 && !meta.present[k]) {
            meta.present[k] = true;
            meta.value[k].clear();
            attrSlot = k;
        }
    }
    void attributeValue(char16_t c) {
        if (attrSlot >= 0 && meta.value[attrSlot].size() < kKeptMetaUnits)
            meta.value[attrSlot] += QChar(c);
    }
    // What a tag's name makes of it, settled once the name is complete.
    enum class Kind : unsigned char { Other, Title, Meta, Body, Head, RawText, Plaintext };

    static Kind Classify(const ShortName& n) {
        switch (n.length > 0 ? n.chars[0] : 0) {
        case 'b':
            return n.is("body") ? Kind::Body : Kind::Other;
        case 'h':
            return n.is("head") ? Kind::Head : Kind::Other;
        case 'i':
            return n.is("iframe") ? Kind::RawText : Kind::Other;
        case 'm':
            return n.is("meta") ? Kind::Meta : Kind::Other;
        case 'n':
            return n.is("noembed") || n.is("noframes") || n.is("noscript") ? Kind::RawText : Kind::Other;
        case 'p':
            return n.is("plaintext") ? Kind::Plaintext : Kind::Other;
        case 's':
            return n.is("script") || n.is("style") ? Kind::RawText : Kind::Other;
        case 't':
            return n.is("title") ? Kind::Title : n.is("textarea") ? Kind::RawText : Kind::Other;
        case 'x':
            return n.is("xmp") ? Kind::RawText : Kind::Other;
        default:
            return Kind::Other;
        }
    }

    void tagNamed() {
        kind = Classify(tagName);
        collectingMeta = !isEndTag && kind == Kind::Meta && !headEnded &&
                         ((wantCharset && !charsetFound && !titleSeen) || wantHead);
        if (collectingMeta)
            meta = Meta();
    }

    // The tag just ended with ">"; returns the state to go on in.
    State emitTag() {
        if (isEndTag) {
            if (kind == Kind::Head)
                headEnded = true;
            return Data;
        }
        switch (kind) {
        case Kind::Other:
            return Data;
        case Kind::Meta:
            if (collectingMeta)
                takeMeta();
            return Data;
        case Kind::Body:
            headEnded = true;
            return Data;
        case Kind::Head:
            return Data;
        case Kind::Title:
            collectingTitle = !titleSeen;
            titleSeen = true;
            setEndName("title");
            return Text;
        case Kind::RawText:
            collectingTitle = false;
            setEndName(tagName);
            return Text;
        case Kind::Plaintext: // the rest of the page is text
            done = true;
            return Data;
        }
        return Data;
    }

    void takeMeta() {
        if (wantCharset && !charsetFound && !titleSeen) {
            // A declaration that names no known encoding lets a later one count, as in the prescan.
            const auto attribute = [this](int k) {
                return meta.present[k] ? std::optional(meta.value[k].toLatin1()) : std::nullopt;
            };
            charset = MetaDeclaredEncoding(attribute(Meta::Charset), attribute(Meta::HttpEquiv),
                                           attribute(Meta::Content));
            charsetFound = !charset.isEmpty();
        }
        if (!wantHead)
            return;
        if (meta.present[Meta::Content] && meta.present[Meta::NameAttr]) {
            const QString name = meta.value[Meta::NameAttr].trimmed().toLower();
            if (name == QLatin1StringView("description") && !descriptionFound) {
                descriptionFound = true;
                descriptionValue = meta.value[Meta::Content];
            } else if (name == QLatin1StringView("date") && !dateFound) {
                dateFound = true;
                dateValue = meta.value[Meta::Content];
            }
        }
        if (meta.present[Meta::Content] && meta.present[Meta::Property] && !dateFound &&
            meta.value[Meta::Property].trimmed().toLower() == QLatin1StringView("article:published_time")) {
            dateFound = true;
            dateValue = meta.value[Meta::Content];
        }
    }

    void setEndName(const ShortName& n) { endName = n; }
    void setEndName(const char* n) {
        endName.clear();
        for (; *n; ++n)
            endName.add(char16_t(*n));
    }

    bool wantCharset;
    bool wantHead;
    State state = Data;
    bool done = false;
    bool headEnded = false;
    bool titleSeen = false;   // a title start tag was met
    bool titleClosed = false; // the first title's end tag was met
    bool collectingTitle = false;
    bool isEndTag = false;
    Kind kind = Kind::Other;
    bool collectingMeta = false;
    bool charsetFound = false;
    bool descriptionFound = false;
    bool dateFound = false;
    int commentDashes = 0; // dashes just seen in a comment (at most 2)
    bool commentBang = false;
    int endMatched = 0; // characters of "/" + endName matched after a "<" in text
    int attrSlot = -1;
    char16_t quote = 0;
    qsizetype unitWidth = 1;
    ShortName tagName, attrName, endName;
    Meta meta;
    QByteArray charset; // what a meta element declared before the title
    QString descriptionValue, dateValue;
    QByteArray title;      // raw units of the title, up to the limit
    qint64 titleUnits = 0; // units of title text seen, kept or not
    qint64 endTagAt = -1;  // titleUnits where a possible end tag began
};

// Just past the ">" that ends a tag whose attributes start at i, following the attribute states
// as the tokenizer does but keeping nothing; -1 when the units run out first.
template <typename Units> inline qsizetype SkipAttributes(const Units& u, qsizetype i) {
    enum { BeforeName, Name, AfterName, BeforeValue, Unquoted } state = BeforeName;
    const qsizetype n = u.size();
    for (; i < n; ++i) {
        const char16_t c = u[i];
        if (c == '>' && state != BeforeValue)
            return i + 1;
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
            if (c == '>')
                return i + 1;
            if (c == '"' || c == '\'') {
                // Values are short: a plain loop beats a call.
                do
                    ++i;
                while (i < n && u[i] != c);
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
    // Where the title text of this piece starts, while the title is being read.
    qsizetype titleFrom = collectingTitle ? 0 : -1;
    while (i < n && !finished()) {
        switch (state) {
        case Data: {
            // Most tags lie whole within the piece: take those here, one after the other, and
            // leave the rest to the states below.
            for (;;) {
                i = u.find('<', i);
                if (i >= n)
                    break;
                qsizetype k = i + 1;
                const bool end = k < n && u[k] == '/';
                k += end;
                if (k >= n || !IsAsciiLetter(u[k])) {
                    state = TagOpen;
                    ++i;
                    break;
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
                    ++i;
                    break;
                }
                tagNamed();
                const qsizetype m = collectingMeta ? -1 : SkipAttributes(u, k);
                if (m < 0) {
                    i = k; // the attributes, step by step
                    state = TagName;
                    break;
                }
                i = m;
                state = emitTag();
                if (state != Data || finished())
                    break;
            }
            break;
        }
        case TagOpen: {
            const char16_t c = u[i];
            if (c == '!') {
                state = MarkupDeclOpen;
                ++i;
            } else if (c == '/') {
                state = EndTagOpen;
                ++i;
            } else if (IsAsciiLetter(c)) {
                startTag();
                state = TagName;
            } else if (c == '?') {
                state = BogusComment;
                ++i;
            } else {
                state = Data;
            }
            break;
        }
        case EndTagOpen: {
            const char16_t c = u[i];
            if (IsAsciiLetter(c)) {
                startTag();
                isEndTag = true;
                state = TagName;
            } else if (c == '>') {
                state = Data;
                ++i;
            } else {
                state = BogusComment;
            }
            break;
        }
        case TagName: {
            for (; i < n; ++i) {
                const char16_t c = u[i];
                if (IsAsciiWhitespace(c)) {
                    tagNamed();
                    state = BeforeAttrName;
                    ++i;
                    break;
                }
                if (c == '/') {
                    tagNamed();
                    state = SelfClosing;
                    ++i;
                    break;
                }
                if (c == '>') {
                    tagNamed();
                    ++i;
                    state = emitTag();
                    break;
                }
                tagName.add(c);
            }
            break;
        }
        case BeforeAttrName: {
            const char16_t c = u[i];
            if (IsAsciiWhitespace(c)) {
                ++i;
            } else if (c == '/' || c == '>') {
                state = AfterAttrName;
            } else {
                startAttribute();
                if (c == '=') {
                    attrName.add(c);
                    ++i;
                }
                state = AttrName;
            }
            break;
        }
        case AttrName: {
            for (; i < n; ++i) {
                const char16_t c = u[i];
                if (IsAsciiWhitespace(c) || c == '/' || c == '>') {
                    attributeNamed();
                    state = AfterAttrName;
                    break;
                }
                if (c == '=') {
                    attributeNamed();
                    state = BeforeAttrValue;
                    ++i;
                    break;
                }
                attrName.add(c);
            }
            break;
        }
        case AfterAttrName: {
            const char16_t c = u[i];
            if (IsAsciiWhitespace(c)) {
                ++i;
            } else if (c == '/') {
                state = SelfClosing;
                ++i;
            } else if (c == '=') {
                state = BeforeAttrValue;
                ++i;
            } else if (c == '>') {
                ++i;
                state = emitTag();
            } else {
                startAttribute();
                state = AttrName;
            }
            break;
        }
        case BeforeAttrValue: {
            const char16_t c = u[i];
            if (IsAsciiWhitespace(c)) {
                ++i;
            } else if (c == '"' || c == '\'') {
                quote = c;
                state = AttrValueQuoted;
                ++i;
            } else if (c == '>') {
                ++i;
                state = emitTag();
            } else {
                state = AttrValueUnquoted;
            }
            break;
        }
        case AttrValueQuoted: {
            if (attrSlot < 0) {
                // A value nobody wants: skip to its closing quote.
                i = u.find(char(quote), i);
                if (i < n) {
                    state = AfterAttrValueQuoted;
                    ++i;
                }
                break;
            }
            for (; i < n; ++i) {
                const char16_t c = u[i];
                if (c == quote) {
                    state = AfterAttrValueQuoted;
                    ++i;
                    break;
                }
                attributeValue(c);
            }
            break;
        }
        case AttrValueUnquoted: {
            for (; i < n; ++i) {
                const char16_t c = u[i];
                if (IsAsciiWhitespace(c)) {
                    state = BeforeAttrName;
                    ++i;
                    break;
                }
                if (c == '>') {
                    ++i;
                    state = emitTag();
                    break;
                }
                attributeValue(c);
            }
            break;
        }
        case AfterAttrValueQuoted: {
            const char16_t c = u[i];
            if (IsAsciiWhitespace(c)) {
                state = BeforeAttrName;
                ++i;
            } else if (c == '/') {
                state = SelfClosing;
                ++i;
            } else if (c == '>') {
                ++i;
                state = emitTag();
            } else {
                state = BeforeAttrName;
            }
            break;
        }
        case SelfClosing: {
            if (u[i] == '>') {
                ++i;
                state = emitTag();
            } else {
                state = BeforeAttrName;
            }
            break;
        }
        case MarkupDeclOpen: {
            if (u[i] == '-') {
                state = MarkupDeclDash;
                ++i;
            } else {
                state = BogusComment; // a doctype, or markup a browser drops up to the next ">"
            }
            break;
        }
        case MarkupDeclDash: {
            if (u[i] == '-') {
                // "<!-->" and "<!--->" are whole comments: the opening's dashes count as closing ones.
                state = Comment;
                commentDashes = 2;
                commentBang = false;
                ++i;
            } else {
                state = BogusComment;
            }
            break;
        }
        case Comment: {
            if (commentDashes == 0 && !commentBang) {
                i = u.find('-', i);
                if (i >= n)
                    break;
            }
            const char16_t c = u[i++];
            if (c == '-') {
                commentDashes = std::min(commentDashes + 1, 2);
                commentBang = false;
            } else if (c == '>' && (commentDashes == 2 || commentBang)) {
                state = Data;
            } else if (c == '!' && commentDashes == 2) {
                commentBang = true;
                commentDashes = 0;
            } else {
                commentDashes = 0;
                commentBang = false;
            }
            break;
        }
        case BogusComment: {
            i = u.find('>', i);
            if (i < n) {
                state = Data;
                ++i;
            }
            break;
        }
        case Text: {
            i = u.find('<', i);
            if (i < n) {
                if (collectingTitle)
                    endTagAt = titleUnits + (i - std::max<qsizetype>(titleFrom, 0));
                state = TextLessThan;
                ++i;
            }
            break;
        }
        case TextLessThan: {
            if (u[i] == '/') {
                state = TextEndName;
                endMatched = 0;
                ++i;
            } else {
                state = Text;
            }
            break;
        }
        case TextEndName: {
            const char16_t c = u[i];
            if (endMatched < endName.length) {
                if (c < 0x80 && char(AsciiLower(c)) == endName.chars[endMatched]) {
                    ++endMatched;
                    ++i;
                } else {
                    state = Text;
                }
                break;
            }
            if (!IsAsciiWhitespace(c) && c != '/' && c != '>') {
                state = Text;
                break;
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
            }
            startTag();
            isEndTag = true;
            tagName = endName;
            kind = Kind::Other;
            state = BeforeAttrName;
            break;
        }
        }
        // The title's text starts here.
        if (collectingTitle && titleFrom < 0)
            titleFrom = i;
    }
    if (collectingTitle)
        appendTitle(u, titleFrom, n);
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
