#include "engine/files/paths.h"

#include "engine/files/filename.h"

#include <QDir>
#include <algorithm>

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
    const auto unreserved = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'.' || c == u'_' || c == u'~';
    };
    if (std::all_of(pageName.begin(), pageName.end(), unreserved))
        return pageName;
    // Encoded from the name's on-disk bytes, so a link reaches the file even when its name is not UTF-8.
    // QByteArray leaves exactly the unreserved characters as they are and writes upper-case hex.
    return QString::fromLatin1(FileNameToBytes(pageName).toPercentEncoding());
}

QString PercentEncodePagePath(const QString& pagePath) {
    // Most paths need nothing encoded: they are returned as they are, without being split.
    const auto plain = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'.' || c == u'_' || c == u'~' || c == u'/';
    };
    if (std::all_of(pagePath.begin(), pagePath.end(), plain))
        return pagePath;
    if (!pagePath.contains(u'/'))
        return PercentEncodePathSegment(pagePath);
    QString out;
    out.reserve(pagePath.size() + 16);
    qsizetype from = 0;
    for (qsizetype slash = pagePath.indexOf(u'/'); slash >= 0; slash = pagePath.indexOf(u'/', from)) {
        out += PercentEncodePathSegment(pagePath.sliced(from, slash - from));
        out += u'/';
        from = slash + 1;
    }
    out += PercentEncodePathSegment(pagePath.sliced(from));
    return out;
}

} // namespace pagewick
