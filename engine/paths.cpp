#include "engine/paths.h"

#include <QDir>

namespace pagewick {

QString EnsureTrailingSeparator(const QString& folderText) {
    return folderText.endsWith(QDir::separator()) ? folderText : folderText + QDir::separator();
}

QString EnsureTrailingSlash(const QString& text) {
    return text.endsWith(u'/') ? text : text + u'/';
}

QString PagePath(const QString& folderText, const QString& pageName) {
    return EnsureTrailingSeparator(folderText) + pageName;
}

QString PercentEncodePathSegment(const QString& pageName) {
    return QString::fromLatin1(pageName.toUtf8().toPercentEncoding());
}

} // namespace pagewick
