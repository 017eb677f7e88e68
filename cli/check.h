#pragma once

#include "engine/listing/sitewalk.h"

#include <QString>

namespace pagewick::cli {

enum class CheckFormat { Text, Json };

// Reads every listed page once and prints what would be wrong to publish, on standard output.
// Returns the exit status: 0 nothing found, 1 something found (or the report could not be written).
int RunCheck(const QString& folderText, const PageListing& listing, CheckFormat format);

} // namespace pagewick::cli
