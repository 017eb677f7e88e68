// The byte loops with SSE2, sixteen or thirty-two bytes a step; the ends go as in portable code.

#include "engine/reading/bytescan_p.h"

#include <cstring>
#include <emmintrin.h>

namespace pagewick::detail {

namespace {

__m128i Load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

} // namespace

// Page bodies are full of "<": thirty-two places are tried at once for "<ti" before any is looked
// at closely, rather than stopping at every "<".
bool MayHoldTitleTag(QByteArrayView bytes) {
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    const __m128i lt = _mm_set1_epi8('<'), t = _mm_set1_epi8('t'), ii = _mm_set1_epi8('i');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const auto hitsAt = [&](qsizetype from) {
        return _mm_and_si128(_mm_cmpeq_epi8(Load(p + from), lt),
                             _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(Load(p + from + 1), caseBit), t),
                                           _mm_cmpeq_epi8(_mm_or_si128(Load(p + from + 2), caseBit), ii)));
    };
    qsizetype i = 0;
    // One test a round for the common case of no "<ti" among the thirty-two.
    for (; i + 32 + 5 <= n; i += 32) {
        const __m128i low = hitsAt(i), high = hitsAt(i + 16);
        if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0)
            continue;
        const unsigned both = unsigned(_mm_movemask_epi8(low)) | unsigned(_mm_movemask_epi8(high)) << 16;
        for (unsigned mask = both; mask != 0; mask &= mask - 1) {
            if (bytescan::TitleTagAt(p + i + qsizetype(__builtin_ctz(mask))))
                return true;
        }
    }
    return bytescan::TitleTagFrom(p, n, i);
}

qsizetype FirstNonAscii(QByteArrayView bytes) {
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    // Sixty-four bytes a round, their high bits gathered into one test.
    for (; i + 64 <= n; i += 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(Load(p + i), Load(p + i + 16)),
                                         _mm_or_si128(Load(p + i + 32), Load(p + i + 48)));
        if (_mm_movemask_epi8(any) != 0)
            break;
    }
    for (; i + 16 <= n; i += 16) {
        if (const int mask = _mm_movemask_epi8(Load(p + i)))
            return i + __builtin_ctz(unsigned(mask));
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return i;
    }
    return n;
}

} // namespace pagewick::detail
