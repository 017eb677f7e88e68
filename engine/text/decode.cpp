#include "engine/text/decode.h"
#include "engine/text/decode_p.h"
#include "engine/text/decoders_p.h"
#include "engine/text/encoding_data.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <uchardet/uchardet.h>
#include <vector>

namespace pagewick {

namespace {

bool IsAsciiWhitespace(char c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// --- The HTML prescan for a meta charset ---

// "text/html; charset=koi8-r" gives the encoding named after "charset=", or empty.
QByteArray CharsetFromContent(QByteArrayView content) {
    qsizetype at = 0;
    for (;;) {
        const qsizetype found = content.indexOf("charset", at);
        if (found < 0)
            return {};
        qsizetype i = found + 7;
        while (i < content.size() && IsAsciiWhitespace(content[i]))
            ++i;
        if (i >= content.size() || content[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < content.size() && IsAsciiWhitespace(content[i]))
            ++i;
        if (i >= content.size())
            return {};
        const char q = content[i];
        if (q == '"' || q == '\'') {
            const qsizetype close = content.indexOf(q, i + 1);
            return close < 0 ? QByteArray() : EncodingForLabel(content.sliced(i + 1, close - i - 1));
        }
        qsizetype end = i;
        while (end < content.size() && !IsAsciiWhitespace(content[end]) && content[end] != ';')
            ++end;
        return EncodingForLabel(content.sliced(i, end - i));
    }
}

class Prescan {
public:
    explicit Prescan(QByteArrayView bytes) : s(bytes) {}

    QByteArray run() {
        while (pos < s.size()) {
            // Only a "<" starts anything the prescan looks at.
            pos = s.indexOf('<', pos);
            if (pos < 0)
                return {};
            if (at(1) == '!' && at(2) == '-' && at(3) == '-') {
                // The comment ends at the first "-->", whose dashes may be those of "<!--".
                const qsizetype end = s.indexOf("-->", pos + 2);
                if (end < 0)
                    return {};
                pos = end + 3;
                continue;
            }
            if (Lower(at(1)) == 'm' && Lower(at(2)) == 'e' && Lower(at(3)) == 't' && Lower(at(4)) == 'a' &&
                (IsAsciiWhitespace(at(5)) || at(5) == '/')) {
                pos += 5;
                if (const std::optional<QByteArray> found = metaCharset())
                    return *found;
                if (failed)
                    return {};
            } else if (IsAsciiLetter(at(1)) || (at(1) == '/' && IsAsciiLetter(at(2)))) {
                // Another tag: step over its attributes so that their values are not mistaken for markup.
                const bool startTag = at(1) != '/';
                const qsizetype nameFrom = pos + 1;
                while (pos < s.size() && !IsAsciiWhitespace(s[pos]) && s[pos] != '>')
                    ++pos;
                // "<script/>" opens a script too: the name ends at a "/".
                QByteArrayView name = s.sliced(nameFrom, pos - nameFrom);
                if (const qsizetype slash = name.indexOf('/'); slash >= 0)
                    name = name.first(slash);
                collect = false;
                while (attribute()) {
                }
                collect = true;
                if (failed)
                    return {};
                // The text of a script, a style sheet, a text area and their kind is not markup,
                // as a browser's tokenizer reads it: a meta written there declares nothing.
                if (startTag && name.size() == 9 && name.compare("plaintext", Qt::CaseInsensitive) == 0)
                    return {};
                if (startTag && IsRawTextElement(name)) {
                    pos = EndTagAt(name, pos + 1);
                    if (pos < 0)
                        return {};
                    continue;
                }
            } else if (at(1) == '!' || at(1) == '/' || at(1) == '?') {
                const qsizetype end = s.indexOf('>', pos + 1);
                if (end < 0)
                    return {};
                pos = end;
            }
            ++pos;
        }
        return {};
    }

private:
    // The name is lower-cased; the value is left as written (every use of it ignores letter case),
    // so it is only a view of the bytes, never copied.
    struct Attribute {
        std::string name; // short strings, kept without allocating
        QByteArrayView value;
    };

    static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 0x20) : c; }

    static bool IsRawTextElement(QByteArrayView name) {
        // Most tags are told apart by their first letter, without comparing names.
        if (name.isEmpty() || !std::strchr("stxinSTXIN", name.front()))
            return false;
        for (const char* raw :
             {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"}) {
            if (name.compare(raw, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    // Where the end tag of the named element starts, from offset from on; -1 when there is none.
    qsizetype EndTagAt(QByteArrayView name, qsizetype from) const {
        for (qsizetype at = s.indexOf("</", from); at >= 0; at = s.indexOf("</", at + 2)) {
            const qsizetype after = at + 2 + name.size();
            if (after >= s.size())
                return -1;
            if (s.sliced(at + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
                (IsAsciiWhitespace(s[after]) || s[after] == '/' || s[after] == '>'))
                return at;
        }
        return -1;
    }

    // The byte k places on, or NUL past the end.
    char at(qsizetype k) const { return pos + k < s.size() ? s[pos + k] : '\0'; }

    // The charset a meta element declares, from its attributes; nullopt to go on with the next byte.
    std::optional<QByteArray> metaCharset() {
        QVarLengthArray<std::string, 8> seen;
        std::optional<QByteArrayView> attributes[3]; // charset, http-equiv, content: the first of each
        while (std::optional<Attribute> a = attribute()) {
            if (std::find(seen.cbegin(), seen.cend(), a->name) != seen.cend())
                continue;
            seen.append(a->name);
            const int k = a->name == "charset"      ? 0
                          : a->name == "http-equiv" ? 1
                          : a->name == "content"    ? 2
                                                    : -1;
            if (k >= 0)
                attributes[k] = a->value;
        }
        if (failed)
            return std::nullopt;
        QByteArray charset = MetaDeclaredEncoding(attributes[0], attributes[1], attributes[2]);
        if (charset.isEmpty())
            return std::nullopt;
        return charset;
    }

    // One attribute of a tag, with name and value lower-cased; nullopt at the tag's end (or the
    // input's, which sets failed).
    std::optional<Attribute> attribute() {
        auto atEnd = [this] {
            if (pos >= s.size())
                failed = true;
            return failed;
        };
        while (!atEnd() && (IsAsciiWhitespace(s[pos]) || s[pos] == '/'))
            ++pos;
        if (atEnd() || s[pos] == '>')
            return std::nullopt;
        Attribute a;
        // Whether the name has begun, counted even where names are not kept: an "=" that starts
        // a name is part of it, a later one starts the value.
        bool named = false;
        for (;; ++pos, named = true) {
            if (atEnd())
                return std::nullopt;
            const char c = s[pos];
            if (c == '=' && named) {
                ++pos;
                return value(a);
            }
            if (IsAsciiWhitespace(c))
                break;
            if (c == '/' || c == '>')
                return a;
            if (collect)
                a.name += Lower(c);
        }
        while (!atEnd() && IsAsciiWhitespace(s[pos]))
            ++pos;
        if (atEnd() || s[pos] != '=')
            return atEnd() ? std::nullopt : std::optional<Attribute>(a);
        ++pos;
        return value(a);
    }

    std::optional<Attribute> value(Attribute& a) {
        auto atEnd = [this] {
            if (pos >= s.size())
                failed = true;
            return failed;
        };
        while (!atEnd() && IsAsciiWhitespace(s[pos]))
            ++pos;
        if (atEnd())
            return std::nullopt;
        const char first = s[pos];
        if (first == '"' || first == '\'') {
            const qsizetype from = ++pos;
            const qsizetype close = s.indexOf(first, from);
            if (close < 0) {
                pos = s.size();
                failed = true;
                return std::nullopt;
            }
            pos = close + 1;
            if (collect)
                a.value = s.sliced(from, close - from);
            return a;
        }
        if (first == '>')
            return a;
        for (const qsizetype from = pos;; ++pos) {
            if (atEnd())
                return std::nullopt;
            if (IsAsciiWhitespace(s[pos]) || s[pos] == '>') {
                if (collect)
                    a.value = s.sliced(from, pos - from);
                return a;
            }
        }
    }

    QByteArrayView s;
    qsizetype pos = 0;
    bool failed = false;
    bool collect = true; // attribute names and values are only kept where they can matter
};

// Where a sequence that the end of the bytes cuts short starts (judged by its lead byte), or
// bytes.size() when none is.
qsizetype CutSequenceAt(QByteArrayView bytes) {
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const uchar c = uchar(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a trail byte: look further back for the lead
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

// Valid UTF-8 up to a sequence that the end of the bytes cuts short.
bool IsValidUtf8Prefix(QByteArrayView bytes) {
    return bytes.first(CutSequenceAt(bytes)).isValidUtf8();
}

// --- Statistical guess ---

QByteArray Guess(std::initializer_list<QByteArrayView> pieces) {
    // A detector is costly to make (it sets up every language's model): one per thread is made
    // once and reset before each guess.
    struct Detector {
        uchardet_t handle = uchardet_new();
        ~Detector() {
            if (handle)
                uchardet_delete(handle);
        }
    };
    static thread_local Detector held;
    uchardet_t detector = held.handle;
    if (!detector)
        return {};
    uchardet_reset(detector);
    // The detector's time grows with every non-ASCII byte it sees; a few hundred of them tell a
    // legacy encoding from its neighbours.
    qsizetype budget = 256;
    for (QByteArrayView piece : pieces) {
        qsizetype end = 0;
        for (; end < piece.size() && budget > 0; ++end)
            budget -= uchar(piece[end]) >= 0x80;
        if (end > 0)
            uchardet_handle_data(detector, piece.data(), size_t(end));
    }
    uchardet_data_end(detector);
    const QByteArray guess(uchardet_get_charset(detector));

    // A guess never switches to a two- or four-byte form: those are told by their byte-order mark
    // or their NUL bytes.
    const QByteArray lower = guess.toLower();
    if (lower.isEmpty() || lower.startsWith("utf-16") || lower.startsWith("utf-32") ||
        lower.startsWith("x-iso-10646"))
        return {};
    // The detector's own names for two encodings browsers call otherwise.
    QByteArrayView label = lower;
    if (label == "mac-cyrillic")
        label = "x-mac-cyrillic";
    else if (label == "uhc")
        label = "windows-949";
    // Encodings outside the browsers' list (EUC-TW, say) are not taken: a browser could not show
    // the page that way either.
    const QByteArray known = EncodingForLabel(label);
    if (known == kReplacementEncoding)
        return {};
    // Text in an ISO-8859 encoding has no use for bytes 0x80-0x9F (C1 controls); where they occur
    // the text is in the Windows code page for the same letters, whose punctuation (dashes,
    // quotation marks) lies there. A Baltic page in windows-1257 is taken for ISO-8859-13, say.
    static constexpr std::pair<const char*, const char*> kWindowsSibling[] = {
        {"ISO-8859-2", "windows-1250"},  {"ISO-8859-4", "windows-1257"},  {"ISO-8859-5", "windows-1251"},
        {"ISO-8859-6", "windows-1256"},  {"ISO-8859-7", "windows-1253"},  {"ISO-8859-8", "windows-1255"},
        {"ISO-8859-13", "windows-1257"}, {"ISO-8859-15", "windows-1252"},
    };
    for (const auto& [iso, windows] : kWindowsSibling) {
        if (known != iso)
            continue;
        for (QByteArrayView piece : pieces) {
            if (std::any_of(piece.cbegin(), piece.cend(),
                            [](char c) { return uchar(c) >= 0x80 && uchar(c) <= 0x9F; }))
                return windows;
        }
    }
    return known;
}

// Korean pages in Microsoft's extension of EUC-KR (code page 949, "UHC") use syllables the
// detector does not know, and it then has no answer. Bytes that read as that code page without a
// fault, nearly all Hangul where they are not ASCII, are taken to be Korean.
bool ReadsAsKorean(std::initializer_list<QByteArrayView> pieces) {
    qsizetype hangul = 0, other = 0;
    for (QByteArrayView piece : pieces) {
        QString text;
        detail::DecodeStream("EUC-KR", piece, &text);
        // A character the end of a piece cuts short is no fault.
        if (text.endsWith(QChar::ReplacementCharacter) && piece.size() > 0 && uchar(piece.back()) >= 0x81)
            text.chop(1);
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80)
                continue;
            if (u == QChar::ReplacementCharacter)
                return false;
            if ((u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x3130 && u <= 0x318F))
                ++hangul;
            else
                ++other;
        }
    }
    return hangul >= 8 && other * 10 <= hangul;
}

} // namespace

QByteArray EncodingForLabel(QByteArrayView label) {
    label = label.trimmed();
    if (label.isEmpty() || label.size() > 64)
        return {};
    char lower[65];
    for (qsizetype i = 0; i < label.size(); ++i) {
        const char c = label[i];
        lower[i] = c >= 'A' && c <= 'Z' ? char(c + 0x20) : c;
    }
    const QByteArrayView wanted(lower, label.size());
    if (const detail::EncodingNames* e = detail::FindEncodingByLabel(wanted))
        return QByteArray::fromRawData(e->name, qstrlen(e->name)); // static data, not copied
    return {};
}

QByteArray MetaDeclaredEncoding(std::optional<QByteArrayView> charset,
                                std::optional<QByteArrayView> httpEquiv,
                                std::optional<QByteArrayView> content) {
    QByteArray encoding;
    if (charset) {
        encoding = EncodingForLabel(*charset);
    } else if (content && httpEquiv && httpEquiv->compare("content-type", Qt::CaseInsensitive) == 0) {
        encoding = CharsetFromContent(content->toByteArray().toLower());
    }
    // A page read as bytes cannot be UTF-16; a declaration saying so means UTF-8.
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE")
        return "UTF-8";
    if (encoding == "x-user-defined")
        return "windows-1252";
    return encoding;
}

QByteArray EncodingFromXmlDeclaration(QByteArrayView bytes) {
    // <?xml version="1.0" encoding="ISO-8859-2"?>, at the very start, within the first 1,024 bytes.
    bytes = bytes.first(std::min<qsizetype>(bytes.size(), 1024));
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0)
        return {};
    const QByteArrayView declaration = bytes.first(end);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    while (at < end && IsAsciiWhitespace(declaration[at]))
        ++at;
    if (at >= end || declaration[at] != '=')
        return {};
    ++at;
    while (at < end && IsAsciiWhitespace(declaration[at]))
        ++at;
    if (at >= end || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const qsizetype close = declaration.indexOf(declaration[at], at + 1);
    if (close < 0)
        return {};
    const QByteArray encoding = EncodingForLabel(declaration.sliced(at + 1, close - at - 1));
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE")
        return "UTF-8";
    return encoding == "x-user-defined" ? QByteArray("windows-1252") : encoding;
}

QByteArray EncodingFromBom(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    return {};
}

QByteArray PrescanMetaCharset(QByteArrayView bytes) {
    return Prescan(bytes.first(std::min<qsizetype>(bytes.size(), 1024))).run();
}

QByteArray EncodingFromNulPattern(QByteArrayView bytes) {
    // Markup is mostly ASCII, so UTF-16 text shows a NUL byte in every other place. Count both
    // places over the first pairs; one side must hold nearly all of them.
    const qsizetype pairs = std::min<qsizetype>(bytes.size(), 1024) / 2;
    if (pairs < 2)
        return {};
    qsizetype nulFirst = 0, nulSecond = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        nulFirst += bytes[2 * i] == 0 && bytes[2 * i + 1] != 0;
        nulSecond += bytes[2 * i] != 0 && bytes[2 * i + 1] == 0;
    }
    const qsizetype needed = std::max<qsizetype>(2, pairs / 4);
    if (nulSecond >= needed && nulFirst * 8 <= nulSecond)
        return "UTF-16LE";
    if (nulFirst >= needed && nulSecond * 8 <= nulFirst)
        return "UTF-16BE";
    return {};
}

QByteArray MarkupDeclaredEncoding(QByteArrayView head) {
    const QByteArray encoding = PrescanMetaCharset(head);
    return encoding.isEmpty() ? EncodingFromXmlDeclaration(head) : encoding;
}

QByteArray DeclaredEncoding(QByteArrayView head, qsizetype* bomLength) {
    *bomLength = 0;
    QByteArray encoding = EncodingFromBom(head);
    if (!encoding.isEmpty()) {
        *bomLength = encoding == "UTF-8" ? 3 : 2;
        return encoding;
    }
    encoding = PrescanMetaCharset(head);
    if (!encoding.isEmpty())
        return encoding;
    return EncodingFromNulPattern(head);
}

namespace {

// How bytes read as UTF-8: their whole multi-byte sequences, the sequences that a byte other than
// a continuation cuts short after at least one continuation byte, and the length of a sequence
// that their end cuts short. Broken: a byte that no UTF-8 text holds where it stands (a lone lead
// byte among them).
struct Utf8Shape {
    bool broken = false;
    qsizetype whole = 0;
    qsizetype cut = 0;
    qsizetype cutAtEnd = 0;
};

bool InRange(int b, int low, int high) {
    return b >= low && b <= high;
}

Utf8Shape ShapeAsUtf8(QByteArrayView bytes) {
    Utf8Shape shape;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int needed = 0, lower = 0x80, upper = 0xBF;
        if (InRange(b, 0xC2, 0xDF)) {
            needed = 1;
        } else if (InRange(b, 0xE0, 0xEF)) {
            needed = 2;
            lower = b == 0xE0 ? 0xA0 : 0x80;
            upper = b == 0xED ? 0x9F : 0xBF;
        } else if (InRange(b, 0xF0, 0xF4)) {
            needed = 3;
            lower = b == 0xF0 ? 0x90 : 0x80;
            upper = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            shape.broken = true;
            return shape;
        }
        qsizetype seen = 0;
        for (++i; seen < needed && i < n; ++i, ++seen, lower = 0x80, upper = 0xBF) {
            const int c = uchar(bytes[i]);
            if (c < lower || c > upper)
                break;
        }
        if (seen == needed)
            ++shape.whole;
        else if (i == n)
            shape.cutAtEnd = seen + 1;
        else if (seen >= 1)
            ++shape.cut;
        else
            shape.broken = true;
        if (shape.broken)
            return shape;
    }
    return shape;
}

} // namespace

QByteArray GuessEncoding(QByteArrayView bytes, bool cutShort, QByteArrayView more) {
    // Bytes cut short (the start of a page) may end inside a character. So may a whole page (cut
    // off by a tool or a failed transfer), and then a browser shows that character as U+FFFD and
    // the rest as UTF-8; but a lone lead byte at the very end of bytes that hold no other
    // non-ASCII byte is as likely a legacy letter. A sequence cut short within the text, by
    // markup say, is taken as UTF-8 gone wrong where it holds a lead byte and a continuation byte
    // at least, and the text holds as many whole sequences: a lone lead byte is a legacy letter
    // ("caf\xE9 "). The title's bytes, part of a whole page, need no look of their own; those
    // past the head end where a tag begins, so a sequence cut there is cut within the text.
    const Utf8Shape head = ShapeAsUtf8(bytes);
    const Utf8Shape title = bytes.contains(more) ? Utf8Shape{} : ShapeAsUtf8(more);
    const qsizetype whole = head.whole + title.whole;
    const qsizetype cut = head.cut + title.cut + (title.cutAtEnd >= 2);
    const bool endOk = cutShort || head.cutAtEnd == 0 || head.cutAtEnd >= 2 || whole + cut > 0;
    const bool utf8 = !head.broken && !title.broken && title.cutAtEnd != 1 && endOk && cut <= whole;
    if (utf8) {
        // Seven-bit ISO-2022-JP is valid UTF-8 too; its escape sequences give it away, and the
        // detector knows them.
        if (!bytes.contains('\x1B') && !more.contains('\x1B'))
            return "UTF-8";
        const QByteArray guess = Guess({more, bytes});
        return guess == "ISO-2022-JP" ? guess : QByteArray("UTF-8");
    }
    // The bytes are not UTF-8, whatever the detector makes of them.
    const QByteArray guess = Guess({more, bytes});
    if (!guess.isEmpty() && guess != "UTF-8")
        return guess;
    if (ReadsAsKorean({bytes, more}))
        return "EUC-KR";
    return "windows-1252";
}

QByteArray PageEncoding(const EncodingClues& clues) {
    qsizetype bomLength = 0;
    const QByteArray declared = DeclaredEncoding(clues.head, &bomLength);
    if (!declared.isEmpty())
        return declared;
    if (!clues.lateDeclaration.isEmpty())
        return clues.lateDeclaration;
    // An XML declaration counts only where no meta element declares otherwise, as in browsers.
    const QByteArray xml = EncodingFromXmlDeclaration(clues.head);
    if (!xml.isEmpty())
        return xml;
    return GuessEncoding(clues.head, !clues.headIsWhole, clues.more);
}

EncodingDeclarations PageDeclarations(const EncodingClues& clues) {
    EncodingDeclarations said;
    said.bom = EncodingFromBom(clues.head);
    const qsizetype bomLength = said.bom.isEmpty() ? 0 : said.bom == "UTF-8" ? 3 : 2;
    const QByteArrayView markup = clues.head.sliced(bomLength);
    said.markup = clues.prescanned ? *clues.prescanned : PrescanMetaCharset(markup);
    if (said.markup.isEmpty())
        said.markup = clues.lateDeclaration;
    if (said.markup.isEmpty())
        said.markup = EncodingFromXmlDeclaration(markup);
    return said;
}

qsizetype Utf8BreakIn(QByteArrayView bytes, qsizetype* cutAt) {
    *cutAt = CutSequenceAt(bytes);
    if (bytes.first(*cutAt).isValidUtf8())
        return -1;
    // The longest start that is valid but for a sequence cut short at its end stops inside the
    // first broken sequence, or just before it: that sequence starts where the start is cut.
    // Such starts get no longer past a break, so they are found by halving.
    qsizetype valid = 0, broken = *cutAt + 1;
    while (broken - valid > 1) {
        const qsizetype middle = valid + (broken - valid) / 2;
        (IsValidUtf8Prefix(bytes.first(middle)) ? valid : broken) = middle;
    }
    return CutSequenceAt(bytes.first(valid));
}

QString DecodeAs(QByteArrayView encoding, QByteArrayView bytes) {
    QString text;
    if (!detail::DecodeStream(encoding, bytes, &text))
        detail::DecodeStream("windows-1252", bytes, &text);
    return text;
}

QString DecodeBeforeTag(QByteArrayView encoding, QByteArrayView bytes) {
    // The "<" as a unit of the encoding: two bytes in UTF-16.
    const QByteArrayView lessThan = encoding == "UTF-16LE"   ? QByteArrayView("<\0", 2)
                                    : encoding == "UTF-16BE" ? QByteArrayView("\0<", 2)
                                                             : QByteArrayView("<");
    QByteArray followed;
    followed.reserve(bytes.size() + lessThan.size());
    followed.append(bytes).append(lessThan);
    QString text = DecodeAs(encoding, followed);
    if (text.endsWith(u'<')) {
        text.chop(1);
        return text;
    }
    return DecodeAs(encoding, bytes);
}

} // namespace pagewick
