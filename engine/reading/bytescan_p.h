#pragma once

// Private to the engine: the few loops over page bytes that run on every byte a page has, done as
// wide as the processor allows. CMake picks one of the files that implement them: with SSE2
// (every x86-64 processor) or in portable code; both give the same answers.

#include <QByteArrayView>

#include <cstring>

namespace pagewick::detail {

// Whether the bytes hold "<title" in any letter case, the start of every title's tag.
bool MayHoldTitleTag(QByteArrayView bytes);

// Where the first byte from 0x80 up stands, or bytes.size() when all are ASCII.
qsizetype FirstNonAscii(QByteArrayView bytes);

namespace bytescan {

// "<title" at p, any letter case; p must have six bytes.
inline bool TitleTagAt(const char* p) {
    return p[0] == '<' && (p[1] | 0x20) == 't' && (p[2] | 0x20) == 'i' && (p[3] | 0x20) == 't' &&
           (p[4] | 0x20) == 'l' && (p[5] | 0x20) == 'e';
}

// MayHoldTitleTag for the n bytes at p from i on, a "<" at a time: the whole loop in portable code,
// the end of a wide one.
inline bool TitleTagFrom(const char* p, qsizetype n, qsizetype i) {
    for (; i + 6 <= n; ++i) {
        const void* found = std::memchr(p + i, '<', size_t(n - 5 - i));
        if (!found)
            return false;
        i = static_cast<const char*>(found) - p;
        if (bytescan::TitleTagAt(p + i))
            return true;
    }
    return false;
}

} // namespace bytescan

} // namespace pagewick::detail
