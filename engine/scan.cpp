#include "engine/scan.h"

#include "engine/paths.h"

#include <QDir>
#include <algorithm>

namespace pagewick {

QStringList ScanPageFiles(const QString& folderText) {
    QDir dir(EnsureTrailingSeparator(folderText));
    return dir.entryList({QStringLiteral("*.htm*")}, QDir::Files, QDir::NoSort);
}

bool PageNameLess(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

void SortPageNames(QStringList& names) { std::sort(names.begin(), names.end(), PageNameLess); }

} // namespace pagewick
