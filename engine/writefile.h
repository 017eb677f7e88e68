#pragma once

#include <QString>

namespace pagewick {

// Writes text as UTF-8 to path, replacing the file only once all of it is written (QSaveFile), so
// a failure never leaves a truncated or half-written file. On failure returns false and, when
// error is given, sets it to a description that names the file.
bool WriteTextFile(const QString& path, const QString& text, QString* error = nullptr);

} // namespace pagewick
