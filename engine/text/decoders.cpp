#include "engine/text/decoders_p.h"
#include "engine/text/encoding_data.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <utility>

namespace pagewick::detail {

namespace {

// Text being decoded: code points and errors appended in order.
class Sink {
public:
    explicit Sink(qsizetype expected) { text.reserve(expected); }

    void put(char32_t c) {
        if (c < 0x10000) {
            text.append(QChar(char16_t(c)));
        } else {
            text.append(QChar(QChar::highSurrogate(c)));
            text.append(QChar(QChar::lowSurrogate(c)));
        }
    }
    void error() { text.append(QChar::ReplacementCharacter); }

    QString text;
};

bool InRange(int b, int low, int high) {
    return b >= low && b <= high;
}

QString DecodeUtf8(QByteArrayView bytes) {
    if (bytes.isValidUtf8()) {
        // Qt's own decoder drops a byte-order mark at the start; here it is text (the reader has
        // taken the page's mark off already).
        if (bytes.startsWith("\xEF\xBB\xBF"))
            return QChar(0xFEFF) + QString::fromUtf8(bytes.sliced(3));
        return QString::fromUtf8(bytes);
    }
    // One U+FFFD for each maximal subpart of a broken sequence: a byte that cannot continue the
    // sequence ends it as an error and is then read afresh.
    Sink out(bytes.size());
    char32_t cp = 0;
    int needed = 0, seen = 0;
    int lower = 0x80, upper = 0xBF;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (needed == 0) {
            ++i;
            if (b < 0x80) {
                out.put(char32_t(b));
            } else if (InRange(b, 0xC2, 0xDF)) {
                needed = 1;
                cp = b & 0x1F;
            } else if (InRange(b, 0xE0, 0xEF)) {
                lower = b == 0xE0 ? 0xA0 : 0x80;
                upper = b == 0xED ? 0x9F : 0xBF;
                needed = 2;
                cp = b & 0xF;
            } else if (InRange(b, 0xF0, 0xF4)) {
                lower = b == 0xF0 ? 0x90 : 0x80;
                upper = b == 0xF4 ? 0x8F : 0xBF;
                needed = 3;
                cp = b & 0x7;
            } else {
                out.error();
            }
            continue;
        }
        if (b < lower || b > upper) {
            cp = 0;
            needed = seen = 0;
            lower = 0x80;
            upper = 0xBF;
            out.error();
            continue; // the byte is read again
        }
        ++i;
        lower = 0x80;
        upper = 0xBF;
        cp = (cp << 6) | char32_t(b & 0x3F);
        if (++seen == needed) {
            out.put(cp);
            cp = 0;
            needed = seen = 0;
        }
    }
    if (needed)
        out.error();
    return out.text;
}

// Every byte's character in each single-byte encoding, ASCII and U+FFFD included, made once: a
// decode is then one look-up a byte, with no branch.
struct SingleByteTables {
    std::array<std::array<char16_t, 256>, 32> table{};

    SingleByteTables() {
        Q_ASSERT(kSingleByteCount <= qsizetype(table.size()));
        for (qsizetype k = 0; k < kSingleByteCount; ++k) {
            for (int b = 0; b < 0x80; ++b)
                table[k][b] = char16_t(b);
            for (int b = 0x80; b < 0x100; ++b) {
                const char16_t u = kSingleByte[k].high[b - 0x80];
                table[k][b] = u ? u : char16_t(QChar::ReplacementCharacter);
            }
        }
    }
};

QString DecodeSingleByte(qsizetype which, QByteArrayView bytes) {
    static const SingleByteTables tables;
    const std::array<char16_t, 256>& table = tables.table[which];
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(text.data());
    const uchar* from = reinterpret_cast<const uchar*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        to[i] = table[from[i]];
    return text;
}

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian) {
    Sink out(bytes.size() / 2 + 1);
    char16_t high = 0;
    const qsizetype units = bytes.size() / 2;
    for (qsizetype k = 0; k < units; ++k) {
        const uchar b0 = uchar(bytes[2 * k]), b1 = uchar(bytes[2 * k + 1]);
        const char16_t u = bigEndian ? char16_t(b0 << 8 | b1) : char16_t(b1 << 8 | b0);
        if (high) {
            if (QChar::isLowSurrogate(u)) {
                out.put(QChar::surrogateToUcs4(high, u));
                high = 0;
                continue;
            }
            high = 0;
            out.error(); // and the unit is read afresh
        }
        if (QChar::isHighSurrogate(u))
            high = u;
        else if (QChar::isLowSurrogate(u))
            out.error();
        else
            out.put(u);
    }
    if (high || bytes.size() % 2)
        out.error();
    return out.text;
}

char32_t Gb18030RangesCodePoint(quint32 pointer) {
    if ((pointer > 39419 && pointer < 189000) || pointer > 1237575)
        return 0;
    if (pointer == 7457)
        return 0xE7C7;
    const Gb18030Range* end = kGb18030Ranges + kGb18030RangeCount;
    const Gb18030Range* after = std::upper_bound(
        kGb18030Ranges, end, pointer, [](quint32 p, const Gb18030Range& r) { return p < r.pointer; });
    const Gb18030Range& range = after[-1]; // the first range starts at pointer 0
    return range.codePoint + pointer - range.pointer;
}

QString DecodeGb18030(QByteArrayView bytes) {
    Sink out(bytes.size());
    int first = 0, second = 0, third = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (third) {
            if (!InRange(b, 0x30, 0x39)) {
                // The second and third bytes, then this one, are read afresh.
                i -= 2;
                first = second = third = 0;
                out.error();
                continue;
            }
            ++i;
            const char32_t cp = Gb18030RangesCodePoint(
                quint32((first - 0x81) * 12600 + (second - 0x30) * 1260 + (third - 0x81) * 10 + b - 0x30));
            first = second = third = 0;
            cp ? out.put(cp) : out.error();
            continue;
        }
        if (second) {
            if (InRange(b, 0x81, 0xFE)) {
                third = b;
                ++i;
                continue;
            }
            i -= 1; // the second byte, then this one, read afresh
            first = second = 0;
            out.error();
            continue;
        }
        if (first) {
            if (InRange(b, 0x30, 0x39)) {
                second = b;
                ++i;
                continue;
            }
            const int lead = first;
            first = 0;
            char32_t cp = 0;
            if (InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFE))
                cp = kGb18030.at((lead - 0x81) * 190 + (b - (b < 0x7F ? 0x40 : 0x41)));
            if (cp) {
                out.put(cp);
                ++i;
                continue;
            }
            out.error();
            if (b >= 0x80)
                ++i; // an ASCII byte is read afresh
            continue;
        }
        ++i;
        if (b < 0x80)
            out.put(char32_t(b));
        else if (b == 0x80)
            out.put(0x20AC);
        else if (b <= 0xFE)
            first = b;
        else
            out.error();
    }
    if (first || second || third)
        out.error();
    return out.text;
}

char32_t Big5AstralCodePoint(qsizetype pointer) {
    const char16_t* end = kBig5AstralPointers + kBig5AstralCount;
    const char16_t* found = std::lower_bound(kBig5AstralPointers, end, pointer);
    if (found == end || *found != pointer)
        return 0;
    return 0x20000 + kBig5AstralValues[found - kBig5AstralPointers];
}

// The decoders whose characters are an ASCII byte, or a lead byte 0x81-0xFE and a trail byte.
// trail(lead, byte, out) puts the pair's character(s) and is true, or puts nothing and is false: an
// error, after which a trail byte that is ASCII is read again on its own.
template <typename Trail> QString DecodeLeadAndTrail(QByteArrayView bytes, Trail trail) {
    Sink out(bytes.size());
    int lead = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (lead) {
            const int l = std::exchange(lead, 0);
            if (trail(l, b, out)) {
                ++i;
                continue;
            }
            out.error();
            if (b >= 0x80)
                ++i;
            continue;
        }
        ++i;
        if (b < 0x80)
            out.put(char32_t(b));
        else if (InRange(b, 0x81, 0xFE))
            lead = b;
        else
            out.error();
    }
    if (lead)
        out.error();
    return out.text;
}

QString DecodeBig5(QByteArrayView bytes) {
    return DecodeLeadAndTrail(bytes, [](int lead, int b, Sink& out) {
        qsizetype pointer = -1;
        if (InRange(b, 0x40, 0x7E) || InRange(b, 0xA1, 0xFE))
            pointer = (lead - 0x81) * 157 + (b - (b < 0x7F ? 0x40 : 0x62));
        // Four pointers stand for a letter and a combining mark.
        struct Pair {
            qsizetype pointer;
            char16_t letter, mark;
        };
        static constexpr Pair kPairs[] = {
            {1133, 0x00CA, 0x0304}, {1135, 0x00CA, 0x030C}, {1164, 0x00EA, 0x0304}, {1166, 0x00EA, 0x030C}};
        const Pair* pair = std::find_if(std::begin(kPairs), std::end(kPairs),
                                        [pointer](const Pair& p) { return p.pointer == pointer; });
        if (pair != std::end(kPairs)) {
            out.put(pair->letter);
            out.put(pair->mark);
            return true;
        }
        char32_t cp = pointer < 0 ? 0 : kBig5.at(pointer);
        if (!cp && pointer >= 0)
            cp = Big5AstralCodePoint(pointer);
        if (cp)
            out.put(cp);
        return cp != 0;
    });
}

QString DecodeEucJp(QByteArrayView bytes) {
    Sink out(bytes.size());
    int lead = 0;
    bool jis0212 = false;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (lead == 0x8E && InRange(b, 0xA1, 0xDF)) {
            lead = 0;
            out.put(char32_t(0xFF61 - 0xA1 + b));
            ++i;
            continue;
        }
        if (lead == 0x8F && InRange(b, 0xA1, 0xFE)) {
            jis0212 = true;
            lead = b;
            ++i;
            continue;
        }
        if (lead) {
            const int l = lead;
            lead = 0;
            char32_t cp = 0;
            if (InRange(l, 0xA1, 0xFE) && InRange(b, 0xA1, 0xFE))
                cp = (jis0212 ? kJis0212 : kJis0208).at((l - 0xA1) * 94 + b - 0xA1);
            jis0212 = false;
            if (cp) {
                out.put(cp);
                ++i;
                continue;
            }
            out.error();
            if (b >= 0x80)
                ++i;
            continue;
        }
        ++i;
        if (b < 0x80)
            out.put(char32_t(b));
        else if (b == 0x8E || b == 0x8F || InRange(b, 0xA1, 0xFE))
            lead = b;
        else
            out.error();
    }
    if (lead)
        out.error();
    return out.text;
}

enum Iso2022JpState { Ascii, Roman, Katakana, LeadByte, TrailByte, EscapeStart, Escape };

// The character a byte other than ESC stands for in one of the one-byte sets; nullopt for an error.
std::optional<char32_t> Iso2022JpOneByte(Iso2022JpState set, int b) {
    if (set == Katakana)
        return InRange(b, 0x21, 0x5F) ? std::optional<char32_t>(0xFF61 - 0x21 + b) : std::nullopt;
    if (set == Roman && b == 0x5C)
        return 0x00A5;
    if (set == Roman && b == 0x7E)
        return 0x203E;
    return b < 0x80 && b != 0x0E && b != 0x0F ? std::optional<char32_t>(b) : std::nullopt;
}

// The set an escape sequence ESC lead b switches to; nullopt when it names none.
std::optional<Iso2022JpState> Iso2022JpEscape(int lead, int b) {
    if (lead == 0x28 && b == 0x42)
        return Ascii;
    if (lead == 0x28 && b == 0x4A)
        return Roman;
    if (lead == 0x28 && b == 0x49)
        return Katakana;
    if (lead == 0x24 && (b == 0x40 || b == 0x42))
        return LeadByte;
    return std::nullopt;
}

QString DecodeIso2022Jp(QByteArrayView bytes) {
    using State = Iso2022JpState;
    Sink out(bytes.size());
    State state = Ascii, outputState = Ascii;
    int lead = 0;
    bool output = false;
    const qsizetype n = bytes.size();
    // i == n stands for the end of the stream, which some states answer with an error.
    for (qsizetype i = 0; i <= n;) {
        const int b = i < n ? uchar(bytes[i]) : -1;
        switch (state) {
        case Ascii:
        case Roman:
        case Katakana:
            if (b == 0x1B) {
                state = EscapeStart;
            } else if (b < 0) {
                return out.text;
            } else {
                output = false;
                const std::optional<char32_t> cp = Iso2022JpOneByte(state, b);
                cp ? out.put(*cp) : out.error();
            }
            ++i;
            break;
        case LeadByte:
            if (b == 0x1B) {
                state = EscapeStart;
            } else if (b < 0) {
                return out.text;
            } else if (InRange(b, 0x21, 0x7E)) {
                output = false;
                lead = b;
                state = TrailByte;
            } else {
                output = false, out.error();
            }
            ++i;
            break;
        case TrailByte:
            if (b == 0x1B) {
                state = EscapeStart;
                out.error();
                ++i;
            } else if (InRange(b, 0x21, 0x7E)) {
                state = LeadByte;
                const char32_t cp = kJis0208.at((lead - 0x21) * 94 + b - 0x21);
                cp ? out.put(cp) : out.error();
                ++i;
            } else {
                state = LeadByte;
                out.error();
                if (b >= 0)
                    ++i;
            }
            break;
        case EscapeStart:
            if (b == 0x24 || b == 0x28) {
                lead = b;
                state = Escape;
                ++i;
            } else {
                // The byte is read afresh in the state before the escape.
                output = false;
                state = outputState;
                out.error();
            }
            break;
        case Escape: {
            const std::optional<State> next = Iso2022JpEscape(lead, b);
            lead = 0;
            if (next) {
                state = outputState = *next;
                const bool twice = output;
                output = true;
                if (twice)
                    out.error(); // two escapes with nothing between them
                ++i;
            } else {
                // The escape's second byte, then this one, are read afresh.
                --i;
                output = false;
                state = outputState;
                out.error();
            }
            break;
        }
        }
    }
    return out.text;
}

QString DecodeShiftJis(QByteArrayView bytes) {
    Sink out(bytes.size());
    int lead = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int b = uchar(bytes[i]);
        if (lead) {
            const int l = lead;
            lead = 0;
            char32_t cp = 0;
            if (InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFC)) {
                const qsizetype pointer = (l - (l < 0xA0 ? 0x81 : 0xC1)) * 188 + b - (b < 0x7F ? 0x40 : 0x41);
                // A range of pointers is the private use area.
                cp = pointer >= 8836 && pointer <= 10715 ? char32_t(0xE000 - 8836 + pointer)
                                                         : kJis0208.at(pointer);
            }
            if (cp) {
                out.put(cp);
                ++i;
                continue;
            }
            out.error();
            if (b >= 0x80)
                ++i;
            continue;
        }
        ++i;
        if (b <= 0x80)
            out.put(char32_t(b));
        else if (InRange(b, 0xA1, 0xDF))
            out.put(char32_t(0xFF61 - 0xA1 + b));
        else if (InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC))
            lead = b;
        else
            out.error();
    }
    if (lead)
        out.error();
    return out.text;
}

QString DecodeEucKr(QByteArrayView bytes) {
    return DecodeLeadAndTrail(bytes, [](int lead, int b, Sink& out) {
        const char32_t cp = InRange(b, 0x41, 0xFE) ? kEucKr.at((lead - 0x81) * 190 + b - 0x41) : 0;
        if (cp)
            out.put(cp);
        return cp != 0;
    });
}

QString DecodeUserDefined(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(text.data());
    for (const char c : bytes) {
        const uchar b = uchar(c);
        *to++ = b < 0x80 ? char16_t(b) : char16_t(0xF780 + b - 0x80);
    }
    return text;
}

} // namespace

const EncodingNames* FindEncodingByName(QByteArrayView name) {
    for (qsizetype k = 0; k < kEncodingCount; ++k) {
        if (name == kEncodingNames[k].name)
            return &kEncodingNames[k];
    }
    return nullptr;
}

const EncodingNames* FindEncodingByLabel(QByteArrayView label) {
    // Every label to its encoding, gathered once: nearly every page names one.
    static const QHash<QByteArrayView, const EncodingNames*> byLabel = [] {
        QHash<QByteArrayView, const EncodingNames*> labels;
        for (qsizetype k = 0; k < kEncodingCount; ++k) {
            QByteArrayView rest(kEncodingNames[k].labels);
            while (!rest.isEmpty()) {
                const qsizetype space = rest.indexOf(' ');
                const qsizetype end = space < 0 ? rest.size() : space;
                labels.insert(rest.first(end), &kEncodingNames[k]);
                rest = rest.sliced(std::min(end + 1, rest.size()));
            }
        }
        return labels;
    }();
    return byLabel.value(label, nullptr);
}

bool DecodeStream(QByteArrayView encoding, QByteArrayView bytes, QString* out) {
    if (encoding == "UTF-8") {
        *out = DecodeUtf8(bytes);
        return true;
    }
    // ISO-8859-8-I decodes as ISO-8859-8 (the two differ only in the direction of the text).
    const QByteArrayView singleByte = encoding == "ISO-8859-8-I" ? QByteArrayView("ISO-8859-8") : encoding;
    for (qsizetype k = 0; k < kSingleByteCount; ++k) {
        if (singleByte == kSingleByte[k].name) {
            *out = DecodeSingleByte(k, bytes);
            return true;
        }
    }
    if (encoding == "GBK" || encoding == "gb18030")
        *out = DecodeGb18030(bytes);
    else if (encoding == "Big5")
        *out = DecodeBig5(bytes);
    else if (encoding == "EUC-JP")
        *out = DecodeEucJp(bytes);
    else if (encoding == "ISO-2022-JP")
        *out = DecodeIso2022Jp(bytes);
    else if (encoding == "Shift_JIS")
        *out = DecodeShiftJis(bytes);
    else if (encoding == "EUC-KR")
        *out = DecodeEucKr(bytes);
    else if (encoding == "UTF-16LE" || encoding == "UTF-16BE")
        *out = DecodeUtf16(bytes, encoding == "UTF-16BE");
    else if (encoding == "x-user-defined")
        *out = DecodeUserDefined(bytes);
    else if (encoding == "replacement")
        *out = bytes.isEmpty() ? QString() : QString(QChar::ReplacementCharacter);
    else
        return false;
    return true;
}

} // namespace pagewick::detail
