#include "engine/pagefacts.h"

#include "engine/decode.h"
#include "engine/pagereader_p.h"

#include <algorithm>
#include <cstring>

namespace pagewick::detail {

namespace {

constexpr qsizetype kChunk = 64 * 1024;
// A UTF-8 sequence that a chunk's end cuts short waits for the next chunk: at most three bytes.
constexpr qsizetype kCarried = 3;

bool HasNonAscii(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
}

} // namespace

void ExaminePage(PageSource& source, PageFacts& facts) {
    if (!facts.readError.isEmpty())
        return;
    // Only a declaration holds the bytes to something. UTF-16 pages are not held to UTF-8.
    const QByteArray declared = !facts.bomEncoding.isEmpty() ? facts.bomEncoding : facts.declaredEncoding;
    if (declared.isEmpty() || declared.startsWith("UTF-16"))
        return;
    const bool declaredUtf8 = declared == "UTF-8";

    // As the reader does: holes in a sparse file are skipped, and no more page data is looked
    // through than it would look through for a title. Offsets name places in the file.
    QByteArray buffer(kCarried + kChunk, Qt::Uninitialized);
    qsizetype carried = 0;
    qint64 brokenAt = -1;
    bool nonAscii = false;
    bool cut = false;
    qint64 examined = 0;
    qint64 offset = facts.bomEncoding.isEmpty() ? 0 : 3; // past a UTF-8 byte-order mark
    for (;;) {
        qint64 dataAt = offset;
        const qsizetype n = source.readDataFrom(offset, buffer.data() + carried, kChunk, &dataAt);
        if (n < 0) {
            facts.readError = ReadFailed();
            return;
        }
        if (dataAt > offset && carried > 0) {
            brokenAt = offset - carried; // zeros do not go on a sequence
            break;
        }
        offset = dataAt + n;
        if (n == 0)
            break;
        const bool shortRead = n < kChunk; // the rest of the page
        examined += n;
        const QByteArrayView piece(buffer.constData(), carried + n);
        if (!declaredUtf8 && !nonAscii)
            nonAscii = HasNonAscii(piece);
        qsizetype cutAt = 0;
        const qsizetype breakAt = Utf8BreakIn(piece, &cutAt);
        if (breakAt >= 0) {
            brokenAt = offset - piece.size() + breakAt;
            break;
        }
        carried = piece.size() - cutAt;
        std::memmove(buffer.data(), piece.data() + cutAt, size_t(carried));
        if (examined >= kSearchedBytes) {
            cut = true;
            break;
        }
        if (shortRead)
            break;
    }
    // A sequence cut short by the end of the page breaks it; one cut short by the bound does not.
    if (brokenAt < 0 && carried > 0 && !cut)
        brokenAt = offset - carried;

    if (declaredUtf8)
        facts.invalidUtf8At = brokenAt;
    else if (brokenAt < 0 && !cut && nonAscii)
        facts.legacyButUtf8 = true;
}

} // namespace pagewick::detail
