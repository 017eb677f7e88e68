// The byte loops in portable code, a machine word at a time where that helps.

#include "engine/reading/bytescan_p.h"

#include <cstdint>
#include <cstring>

namespace pagewick::detail {

bool MayHoldTitleTag(QByteArrayView bytes) {
    return bytescan::TitleTagFrom(bytes.data(), bytes.size(), 0);
}

qsizetype FirstNonAscii(QByteArrayView bytes) {
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & kHighBits)
            break;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return i;
    }
    return n;
}

} // namespace pagewick::detail
