#include "engine/files/filename.h"

#include <algorithm>

namespace pagewick {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // an undecodable byte b becomes U+DC00 + b (b >= 0x80)

// Length of the well-formed UTF-8 sequence at the start of s, or 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF are not well-formed).
qsizetype WellFormedLength(const uchar* s, qsizetype n) {
    const uchar b0 = s[0];
    auto trail = [&](qsizetype i, uchar lo = 0x80, uchar hi = 0xBF) {
        return i < n && s[i] >= lo && s[i] <= hi;
    };
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return trail(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const uchar lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const uchar hi = b0 == 0xED ? 0x9F : 0xBF;
        return trail(1, lo, hi) && trail(2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const uchar lo = b0 == 0xF0 ? 0x90 : 0x80;
        const uchar hi = b0 == 0xF4 ? 0x8F : 0xBF;
        return trail(1, lo, hi) && trail(2) && trail(3) ? 4 : 0;
    }
    return 0;
}

void AppendUtf8(QByteArray& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes) {
    // Nearly every name is plain UTF-8; Qt's decoder handles those.
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);

    const auto* s = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const qsizetype len = WellFormedLength(s + i, n - i);
        if (len == 0) {
            out += QChar(char16_t(kEscapeBase + s[i]));
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? s[i] : s[i] & (0x7F >> len);
        for (qsizetype k = 1; k < len; ++k)
            cp = (cp << 6) | (s[i + k] & 0x3F);
        if (QChar::requiresSurrogates(cp)) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(char16_t(cp));
        }
        i += len;
    }
    return out;
}

QByteArray FileNameToBytes(QStringView name) {
    // Without surrogates there is nothing to unescape, and Qt's encoder is the fast way.
    if (std::none_of(name.begin(), name.end(), [](QChar c) { return c.isSurrogate(); }))
        return name.toUtf8();
    QByteArray out;
    out.reserve(name.size());
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += char(c - kEscapeBase);
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, QChar::ReplacementCharacter); // no byte sequence stands for it
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

} // namespace pagewick
