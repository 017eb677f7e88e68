#pragma once

// Private to the engine: what the flat scan and the sub-folder walk share.

#include <QByteArrayView>

namespace pagewick::detail {

// "*.htm*" as a wildcard: the name holds ".htm" somewhere, in any letter case.
inline bool MatchesPagePattern(QByteArrayView name) {
    const qsizetype n = name.size();
    for (qsizetype i = 0; i + 4 <= n; ++i) {
        if (name[i] == '.' && (name[i + 1] | 0x20) == 'h' && (name[i + 2] | 0x20) == 't' &&
            (name[i + 3] | 0x20) == 'm')
            return true;
    }
    return false;
}

} // namespace pagewick::detail
