#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace pagewick {

// The page files of a folder: regular, non-hidden files whose names match "*.htm*" in any letter
// case, as bare names in listing order. A folder that cannot be listed gives an empty list.
// found, when given, is called with each name as it is listed.
QStringList ScanPageFiles(const QString& folderText,
                          const std::function<void(const QString& name)>& found = nullptr);

// Whether a file name (its bytes on disk) is a page's: "*.htm*" as a wildcard, that is ".htm"
// somewhere in it, in any letter case. Hidden files are left out apart from this.
inline bool MatchesPagePattern(QByteArrayView name) {
    const qsizetype n = name.size();
    for (qsizetype i = 0; i + 4 <= n; ++i) {
        if (name[i] == '.' && (name[i + 1] | 0x20) == 'h' && (name[i + 2] | 0x20) == 't' &&
            (name[i + 3] | 0x20) == 'm')
            return true;
    }
    return false;
}

} // namespace pagewick
