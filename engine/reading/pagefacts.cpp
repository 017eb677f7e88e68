#include "engine/reading/bytescan_p.h"
#include "engine/reading/pagefacts_p.h"
#include "engine/text/decode.h"

#include <algorithm>
#include <cstring>

namespace pagewick::detail {

namespace {

constexpr qsizetype kChunk = 64 * 1024;

} // namespace

void Utf8Scan::feed(qint64 at, QByteArrayView bytes) {
    if (decided())
        return;
    if (at > offset && carriedSize > 0) {
        brokenAt = offset - carriedSize; // zeros do not go on a sequence
        return;
    }
    offset = at + bytes.size();
    if (bytes.isEmpty())
        return;
    examined += bytes.size();
    QByteArray joined;
    QByteArrayView piece = bytes;
    if (carriedSize > 0) {
        joined = QByteArray(carried, carriedSize);
        joined.append(bytes);
        piece = joined;
    }
    if (!nonAscii) {
        // ASCII is UTF-8, and no sequence is carried across ASCII: most pages end here.
        if (FirstNonAscii(piece) == piece.size()) {
            if (examined >= kSearchedBytes)
                cut = true;
            return;
        }
        nonAscii = true;
    }
    qsizetype cutAt = 0;
    const qsizetype breakAt = Utf8BreakIn(piece, &cutAt);
    if (breakAt >= 0) {
        brokenAt = offset - piece.size() + breakAt;
        return;
    }
    carriedSize = piece.size() - cutAt;
    std::memcpy(carried, piece.data() + cutAt, size_t(carriedSize));
    if (examined >= kSearchedBytes)
        cut = true;
}

void Utf8Scan::end() {
    // A sequence cut short by the end of the page breaks it; one cut short by the bound does not.
    if (!decided() && carriedSize > 0)
        brokenAt = offset - carriedSize;
    ended = true;
}

void ExaminePage(PageSource& source, PageFacts& facts, Utf8Scan& scan) {
    if (!facts.readError.isEmpty())
        return;
    // Only a declaration holds the bytes to something. UTF-16 pages are not held to UTF-8.
    const QByteArray declared = !facts.bomEncoding.isEmpty() ? facts.bomEncoding : facts.declaredEncoding;
    if (declared.isEmpty() || declared.startsWith("UTF-16"))
        return;
    const bool declaredUtf8 = declared == "UTF-8";

    // As the reader does: holes in a sparse file are skipped, and no more page data is looked
    // through than it would look through for a title. Offsets name places in the file.
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (!scan.decided()) {
        const qint64 offset = scan.next();
        qint64 dataAt = offset;
        const qsizetype n = source.readDataFrom(offset, buffer.data(), kChunk, &dataAt);
        if (n < 0) {
            facts.readError = ReadFailed();
            return;
        }
        scan.feed(dataAt, QByteArrayView(buffer.constData(), n));
        if (n < kChunk) // a short read is the rest of the page
            scan.end();
    }

    if (declaredUtf8)
        facts.invalidUtf8At = scan.brokenAt;
    else if (scan.brokenAt < 0 && !scan.cut && scan.nonAscii)
        facts.legacyButUtf8 = true;
}

} // namespace pagewick::detail
