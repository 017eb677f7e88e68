#pragma once

// Private to the engine: the few loops over page bytes that run on every byte a page has, done as
// wide as the processor allows. CMake picks one of the files that implement them: with SSE2
// (every x86-64 processor) or in portable code; both give the same answers.

#include <QByteArrayView>

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

} // namespace bytescan

} // namespace pagewick::detail
