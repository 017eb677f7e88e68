#include "engine/pagefacts.h"

#include "engine/decode_p.h"
#include "engine/pagereader_p.h"

#include <algorithm>

namespace pagewick {

namespace {

constexpr qsizetype kChunk = 64 * 1024;
constexpr qsizetype kHead = 1024;

// UTF-8 validity over bytes that come in pieces: where the first broken sequence starts, and
// whether anything beyond ASCII was seen.
class Utf8Check {
public:
    void feed(QByteArrayView bytes) {
        for (const char ch : bytes) {
            const uchar b = uchar(ch);
            if (badAt >= 0)
                return;
            if (need == 0) {
                start = offset;
                if (b >= 0x80)
                    nonAscii = true;
                if (b < 0x80)
                    ;
                else if (b >= 0xC2 && b <= 0xDF)
                    need = 1;
                else if (b == 0xE0)
                    need = 2, lower = 0xA0;
                else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
                    need = 2;
                else if (b == 0xED)
                    need = 2, upper = 0x9F;
                else if (b == 0xF0)
                    need = 3, lower = 0x90;
                else if (b >= 0xF1 && b <= 0xF3)
                    need = 3;
                else if (b == 0xF4)
                    need = 3, upper = 0x8F;
                else
                    badAt = start;
            } else if (b < lower || b > upper) {
                badAt = start;
            } else {
                lower = 0x80, upper = 0xBF;
                --need;
            }
            ++offset;
        }
    }
    // A run of zero bytes that was not read (a hole in the file).
    void skipZeros(qint64 count) {
        if (count <= 0 || badAt >= 0)
            return;
        if (need > 0)
            badAt = start;
        offset += count;
    }
    // Where the bytes stop being UTF-8 (a sequence cut short by the end counts, unless the bytes
    // were cut short on purpose), or -1.
    qint64 finish(bool cut = false) const { return badAt >= 0 ? badAt : need > 0 && !cut ? start : -1; }
    bool sawNonAscii() const { return nonAscii; }

private:
    qint64 offset = 0;
    qint64 start = 0;
    qint64 badAt = -1;
    int need = 0;
    uchar lower = 0x80, upper = 0xBF;
    bool nonAscii = false;
};

// Looks for "<title" followed by a space, "/" or ">" in any letter case, across pieces, in markup
// given as ASCII bytes (UTF-16 text is given unit by unit, anything beyond ASCII as 0x80).
class TitleTagSearch {
public:
    void feed(QByteArrayView bytes) {
        if (found)
            return;
        QByteArray text = carry + bytes.toByteArray();
        for (qsizetype i = text.indexOf('<'); i >= 0 && i + 7 <= text.size(); i = text.indexOf('<', i + 1)) {
            if (QByteArrayView(text).sliced(i + 1, 5).compare("title", Qt::CaseInsensitive) == 0) {
                const char after = text[i + 6];
                if (after == ' ' || after == '\t' || after == '\n' || after == '\r' || after == '\f' ||
                    after == '/' || after == '>') {
                    found = true;
                    return;
                }
            }
        }
        carry = text.right(6);
    }
    // Bytes that were not read (a hole) stand between what came before and after.
    void breakOff() { carry.clear(); }
    bool found = false;

private:
    QByteArray carry;
};

// UTF-16 units as the bytes of their ASCII markup.
QByteArray MarkupOfUtf16(QByteArrayView bytes, bool bigEndian) {
    QByteArray out(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const uchar a = uchar(bytes[2 * i]), b = uchar(bytes[2 * i + 1]);
        const unsigned unit = bigEndian ? unsigned(a) << 8 | b : unsigned(b) << 8 | a;
        out[i] = unit < 0x80 ? char(unit) : char(0x80);
    }
    return out;
}

} // namespace

namespace detail {

PageFacts ExaminePage(PageSource& source) {
    PageFacts facts;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    QByteArray head;
    bool headDone = false;
    qsizetype bomLength = 0;
    bool utf16 = false, bigEndian = false;
    char pending = 0; // an odd byte of UTF-16 left from the previous piece
    bool hasPending = false;
    Utf8Check utf8;
    TitleTagSearch titleTag;

    const auto settleHead = [&] {
        headDone = true;
        facts.bomEncoding = EncodingFromBom(head);
        if (!facts.bomEncoding.isEmpty())
            bomLength = facts.bomEncoding == "UTF-8" ? 3 : 2;
        utf16 = facts.bomEncoding.startsWith("UTF-16");
        bigEndian = facts.bomEncoding == "UTF-16BE";
        if (utf16)
            return;
        // A UTF-16 page's meta element is not in ASCII bytes; the prescan does not read it either.
        facts.metaEncoding = PrescanMetaCharset(QByteArrayView(head).sliced(bomLength));
        if (facts.bomEncoding.isEmpty() && facts.metaEncoding.isEmpty()) {
            const QByteArray pattern = EncodingFromNulPattern(head);
            utf16 = !pattern.isEmpty();
            bigEndian = pattern == "UTF-16BE";
        }
    };
    const auto feed = [&](QByteArrayView bytes) {
        if (!utf16) {
            utf8.feed(bytes);
            titleTag.feed(bytes);
            return;
        }
        QByteArray units = hasPending ? QByteArray(1, pending) + bytes.toByteArray() : bytes.toByteArray();
        hasPending = units.size() % 2 != 0;
        if (hasPending) {
            pending = units.back();
            units.chop(1);
        }
        titleTag.feed(MarkupOfUtf16(units, bigEndian));
    };

    // As the reader does: holes in a sparse file are skipped, and no more page data is looked
    // through than it would look through for a title.
    qint64 examined = 0;
    bool cut = false;
    for (qint64 offset = 0;;) {
        qint64 dataAt = offset;
        const qsizetype n = headDone ? source.readDataFrom(offset, buffer.data(), buffer.size(), &dataAt)
                                     : source.readAt(offset, buffer.data(), buffer.size());
        if (n < 0) {
            facts.readError = QStringLiteral("a read failed");
            return facts;
        }
        if (dataAt > offset) {
            if (!utf16)
                utf8.skipZeros(dataAt - offset);
            titleTag.breakOff();
        }
        offset = dataAt + n;
        examined += n;
        const QByteArrayView piece(buffer.constData(), n);
        if (!headDone) {
            head += piece;
            if (head.size() < kHead && n > 0)
                continue;
            settleHead();
            feed(QByteArrayView(head).sliced(std::min(bomLength, head.size())));
        } else if (n > 0) {
            feed(piece);
        }
        if (n == 0)
            break;
        if (examined >= kSearchedBytes) {
            cut = true;
            break;
        }
    }

    facts.titleElement = titleTag.found;
    const QByteArray declared = !facts.bomEncoding.isEmpty() ? facts.bomEncoding : facts.metaEncoding;
    const qint64 brokenAt = utf8.finish(cut);
    if (declared == "UTF-8") {
        // Counted from after the byte-order mark; the offset names the byte's place in the file.
        if (brokenAt >= 0)
            facts.invalidUtf8At = brokenAt + bomLength;
    } else if (!declared.isEmpty() && !utf16 && !cut && brokenAt < 0 && utf8.sawNonAscii()) {
        facts.legacyButUtf8 = true;
    }
    return facts;
}

} // namespace detail

} // namespace pagewick
