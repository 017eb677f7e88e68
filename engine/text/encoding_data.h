#pragma once

// The WHATWG Encoding Standard's encodings, labels and decoder indexes, generated into
// engine/text/encoding_data.cpp by tools/gen-encoding-tables.

#include <QtGlobal>

namespace pagewick::detail {

struct EncodingNames {
    const char* name;   // the encoding's name, as browsers report it
    const char* labels; // every label naming it, lower case, space-separated
};

struct SingleByteIndex {
    const char* name;
    char16_t high[128]; // bytes 0x80-0xFF; 0 where the byte is an error
};

// A dense index: the code point of pointer p is values[p - first] (0: none) for
// first <= p < first + size.
struct PointerIndex {
    qsizetype first;
    qsizetype size;
    const char16_t* values;

    char32_t at(qsizetype pointer) const {
        return pointer >= first && pointer < first + size ? values[pointer - first] : 0;
    }
};

struct Gb18030Range {
    quint32 pointer;
    quint32 codePoint;
};

extern const EncodingNames kEncodingNames[];
extern const qsizetype kEncodingCount;
extern const SingleByteIndex kSingleByte[];
extern const qsizetype kSingleByteCount;
extern const PointerIndex kJis0208;
extern const PointerIndex kJis0212;
extern const PointerIndex kEucKr;
extern const PointerIndex kGb18030;
extern const PointerIndex kBig5;
extern const char16_t kBig5AstralPointers[];
extern const char16_t kBig5AstralValues[];
extern const qsizetype kBig5AstralCount;
extern const Gb18030Range kGb18030Ranges[];
extern const qsizetype kGb18030RangeCount;

} // namespace pagewick::detail
