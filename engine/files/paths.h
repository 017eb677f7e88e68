#pragma once

#include <QString>

namespace pagewick {

// The folder text unchanged when it already ends with the native separator, else with one added.
// Only the last character is looked at; nothing else is normalised.
QString EnsureTrailingSeparator(const QString& folderText);

// A web address unchanged when it ends with "/", else with one "/" added ("" gives "/").
QString EnsureTrailingSlash(const QString& text);

// The full path of a listed page: EnsureTrailingSeparator(folderText) + pageName.
QString PagePath(const QString& folderText, const QString& pageName);

// A file name as one URL path segment: letters, digits and "-._~" as they stand, every other byte
// of its on-disk name (see filename.h) as %XX.
QString PercentEncodePathSegment(const QString& pageName);

// A relative page path ("blog/2025/post.html") as a URL path: each part as PercentEncodePathSegment
// encodes it, with "/" between the parts. A bare name gives what PercentEncodePathSegment gives.
QString PercentEncodePagePath(const QString& pagePath);

} // namespace pagewick
