#pragma once

#include "engine/listing/sitewalk.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace pagewick::cli {

// After the first write: keeps watching the folder (and with walk.recursive its sub-folders) and,
// once changes to the pages have been quiet for a moment, builds the output again with build()
// and writes it to outputFile when it differs from the file's bytes, saying so on standard error
// (build() gives nullopt, having said why, when the output cannot be made: nothing is written).
// Runs until SIGINT or SIGTERM, then returns 0; returns 1 when the folder can no longer be read.
// A change to one of the files named in alsoWatched (a page template) builds the output again too,
// also when an editor saves it by putting a new file in its place.
int WatchAndRewrite(const QString& folderText, const WalkOptions& walk, const QString& outputFile,
                    const std::function<std::optional<QString>()>& build,
                    const QStringList& alsoWatched = QStringList());

// How long the pages must stay unchanged before the output is built again.
inline constexpr int kQuietMilliseconds = 300;

} // namespace pagewick::cli
