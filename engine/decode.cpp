#include "engine/decode.h"
#include "engine/decode_p.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <uchardet/uchardet.h>
#include <vector>

namespace pagewick {

namespace {

// The encodings a browser knows, with every label that names each (the WHATWG Encoding Standard's
// table), and the name Qt's decoder knows it by when that differs.
struct EncodingEntry {
    const char* name;
    const char* decoderName; // nullptr: the same as name
    const char* labels;      // space-separated, lower case
};

constexpr EncodingEntry kEncodings[] = {
    {"UTF-8", nullptr, "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8"},
    {"IBM866", nullptr, "866 cp866 csibm866 ibm866"},
    {"ISO-8859-2", nullptr,
     "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 latin2"},
    {"ISO-8859-3", nullptr,
     "csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 latin3"},
    {"ISO-8859-4", nullptr,
     "csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 latin4"},
    {"ISO-8859-5", nullptr,
     "csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 iso_8859-5:1988"},
    {"ISO-8859-6", nullptr,
     "arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 iso-8859-6 iso-8859-6-e "
     "iso-8859-6-i iso-ir-127 iso8859-6 iso88596 iso_8859-6 iso_8859-6:1987"},
    {"ISO-8859-7", nullptr,
     "csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 iso8859-7 iso88597 iso_8859-7 "
     "iso_8859-7:1987 sun_eu_greek"},
    {"ISO-8859-8", nullptr,
     "csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 iso8859-8 iso88598 iso_8859-8 "
     "iso_8859-8:1988 visual"},
    {"ISO-8859-8-I", "ISO-8859-8", "csiso88598i iso-8859-8-i logical"},
    {"ISO-8859-10", nullptr, "csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6"},
    {"ISO-8859-13", nullptr, "iso-8859-13 iso8859-13 iso885913"},
    {"ISO-8859-14", nullptr, "iso-8859-14 iso8859-14 iso885914"},
    {"ISO-8859-15", nullptr, "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9"},
    {"ISO-8859-16", nullptr, "iso-8859-16"},
    {"KOI8-R", nullptr, "cskoi8r koi koi8 koi8-r koi8_r"},
    {"KOI8-U", nullptr, "koi8-ru koi8-u"},
    {"macintosh", nullptr, "csmacintosh mac macintosh x-mac-roman"},
    {"windows-874", nullptr, "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874"},
    {"windows-1250", nullptr, "cp1250 windows-1250 x-cp1250"},
    {"windows-1251", nullptr, "cp1251 windows-1251 x-cp1251"},
    {"windows-1252", nullptr,
     "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 iso8859-1 iso88591 "
     "iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 x-cp1252"},
    {"windows-1253", nullptr, "cp1253 windows-1253 x-cp1253"},
    {"windows-1254", nullptr,
     "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 iso_8859-9:1989 l5 latin5 "
     "windows-1254 x-cp1254"},
    {"windows-1255", nullptr, "cp1255 windows-1255 x-cp1255"},
    {"windows-1256", nullptr, "cp1256 windows-1256 x-cp1256"},
    {"windows-1257", nullptr, "cp1257 windows-1257 x-cp1257"},
    {"windows-1258", nullptr, "cp1258 windows-1258 x-cp1258"},
    {"x-mac-cyrillic", nullptr, "x-mac-cyrillic x-mac-ukrainian"},
    // Browsers decode GBK labels with the GB18030 decoder, a superset.
    {"GBK", "GB18030", "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk"},
    {"gb18030", "GB18030", "gb18030"},
    // Browsers' Big5 includes the Hong Kong extensions.
    {"Big5", "Big5-HKSCS", "big5 big5-hkscs cn-big5 csbig5 x-x-big5"},
    {"EUC-JP", nullptr, "cseucpkdfmtjapanese euc-jp x-euc-jp"},
    {"ISO-2022-JP", nullptr, "csiso2022jp iso-2022-jp"},
    {"Shift_JIS", nullptr, "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis"},
    // Browsers' EUC-KR is Microsoft's extension of it (code page 949).
    {"EUC-KR", "windows-949",
     "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 ksc5601 ksc_5601 "
     "windows-949"},
    // Encodings a browser refuses to decode, because they let markup hide in innocent-looking bytes.
    {kReplacementEncoding, nullptr,
     "csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr replacement"},
    {"UTF-16BE", nullptr, "unicodefffe utf-16be"},
    {"UTF-16LE", nullptr, "csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 utf-16le"},
    {"x-user-defined", nullptr, "x-user-defined"},
};

const EncodingEntry* FindEncoding(QByteArrayView name) {
    for (const EncodingEntry& e : kEncodings) {
        if (name == e.name)
            return &e;
    }
    return nullptr;
}

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
                while (pos < s.size() && !IsAsciiWhitespace(s[pos]) && s[pos] != '>')
                    ++pos;
                collect = false;
                while (attribute()) {
                }
                collect = true;
                if (failed)
                    return {};
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
        for (;; ++pos) {
            if (atEnd())
                return std::nullopt;
            const char c = s[pos];
            if (c == '=' && !a.name.empty()) {
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
    const QByteArray known = EncodingForLabel(label);
    if (!known.isEmpty() && known != kReplacementEncoding)
        return known;
    // Encodings outside the browsers' list (EUC-TW, say) are still worth decoding when Qt knows them.
    return QStringDecoder(guess.constData()).isValid() ? guess : QByteArray();
}

// Korean pages in Microsoft's extension of EUC-KR (code page 949, "UHC") use syllables the
// detector does not know, and it then has no answer. Bytes that read as that code page without a
// fault, nearly all Hangul where they are not ASCII, are taken to be Korean.
bool ReadsAsKorean(std::initializer_list<QByteArrayView> pieces) {
    qsizetype hangul = 0, other = 0;
    for (QByteArrayView piece : pieces) {
        // Not stateless: a character the end of a piece cuts short is left pending, not a fault.
        QStringDecoder decoder("windows-949");
        if (!decoder.isValid())
            return false;
        const QString text = decoder.decode(piece);
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
    // Whether Qt can decode an encoding does not change while the program runs: asked once each
    // (making a decoder can mean opening a converter), then remembered. 0 unknown, 1 yes, 2 no.
    static std::atomic<unsigned char> decodable[std::size(kEncodings)];
    for (const EncodingEntry& e : kEncodings) {
        QByteArrayView labels(e.labels);
        while (!labels.isEmpty()) {
            qsizetype space = labels.indexOf(' ');
            if (space < 0)
                space = labels.size();
            if (labels.first(space) == wanted) {
                const char* decoderName = e.decoderName ? e.decoderName : e.name;
                // A label Qt cannot decode is treated as unknown.
                const bool builtIn = QByteArrayView(e.name).startsWith("UTF-") ||
                                     e.name == QByteArrayView(kReplacementEncoding) ||
                                     e.name == QByteArrayView("x-user-defined");
                if (!builtIn) {
                    std::atomic<unsigned char>& known = decodable[size_t(&e - kEncodings)];
                    if (known.load(std::memory_order_relaxed) == 0)
                        known.store(QStringDecoder(decoderName).isValid() ? 1 : 2, std::memory_order_relaxed);
                    if (known.load(std::memory_order_relaxed) != 1)
                        return {};
                }
                return QByteArray::fromRawData(e.name, qstrlen(e.name)); // static data, not copied
            }
            labels = labels.sliced(std::min(space + 1, labels.size()));
        }
    }
    return {};
}

QByteArray MetaDeclaredEncoding(std::optional<QByteArrayView> charset,
                                std::optional<QByteArrayView> httpEquiv,
                                std::optional<QByteArrayView> content) {
    QByteArray encoding;
    if (charset) {
        encoding = EncodingForLabel(*charset);
    } else if (content && httpEquiv &&
               httpEquiv->trimmed().compare("content-type", Qt::CaseInsensitive) == 0) {
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
    const QByteArray encoding = EncodingFromXmlDeclaration(head);
    return encoding.isEmpty() ? PrescanMetaCharset(head) : encoding;
}

QByteArray DeclaredEncoding(QByteArrayView head, qsizetype* bomLength) {
    *bomLength = 0;
    QByteArray encoding = EncodingFromBom(head);
    if (!encoding.isEmpty()) {
        *bomLength = encoding == "UTF-8" ? 3 : 2;
        return encoding;
    }
    encoding = MarkupDeclaredEncoding(head);
    if (!encoding.isEmpty())
        return encoding;
    return EncodingFromNulPattern(head);
}

QByteArray GuessEncoding(QByteArrayView bytes, bool cutShort, QByteArrayView more) {
    if ((cutShort ? IsValidUtf8Prefix(bytes) : bytes.isValidUtf8()) && more.isValidUtf8()) {
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
    return GuessEncoding(clues.head, !clues.headIsWhole, clues.more);
}

EncodingDeclarations PageDeclarations(const EncodingClues& clues) {
    EncodingDeclarations said;
    said.bom = EncodingFromBom(clues.head);
    const qsizetype bomLength = said.bom.isEmpty() ? 0 : said.bom == "UTF-8" ? 3 : 2;
    said.markup = MarkupDeclaredEncoding(clues.head.sliced(bomLength));
    if (said.markup.isEmpty())
        said.markup = clues.lateDeclaration;
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
    if (encoding == kReplacementEncoding)
        return bytes.isEmpty() ? QString() : QString(QChar::ReplacementCharacter);
    const EncodingEntry* entry = FindEncoding(encoding);
    QByteArray name = entry && entry->decoderName ? QByteArray(entry->decoderName) : encoding.toByteArray();
    // The bytes are all there is: a sequence cut short at their end is a U+FFFD, as a browser shows
    // it, not state kept for bytes that never come.
    constexpr auto flags = QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless;
    QStringDecoder decoder(name.constData(), flags);
    if (!decoder.isValid()) {
        name = "windows-1252";
        decoder = QStringDecoder(name.constData(), flags);
    }
    QString text = decoder.decode(bytes);

    // ICU's tables for a few encodings (IBM866 and Shift_JIS among them) keep the old IBM PC habit
    // of swapping the control characters 0x1A, 0x1C and 0x7F; browsers read every byte below 0x80
    // in them as ASCII. Where the decoder shows the swap, it is undone.
    if (bytes.contains('\x1A') || bytes.contains('\x1C') || bytes.contains('\x7F')) {
        QStringDecoder probe(name.constData(), flags);
        if (QString(probe.decode(QByteArrayView("\x1A\x1C\x7F"))) == QStringView(u"\x1C\x7F\x1A")) {
            for (QChar& c : text) {
                const char16_t u = c.unicode();
                c = u == 0x1C ? QChar(0x1A) : u == 0x7F ? QChar(0x1C) : u == 0x1A ? QChar(0x7F) : c;
            }
        }
    }
    return text;
}

} // namespace pagewick
