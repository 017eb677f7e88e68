#pragma once

#include <QString>

namespace pagewick {

// The last folder, remembered between runs (organisation and application "Pagewick",
// group "Settings", key "Map").

// Stores the folder text. Returns false, with a description in error when given, when the store
// cannot be written.
bool SaveFolderSetting(const QString& folderText, QString* error = nullptr);

// The stored folder text; empty when nothing is stored or the store cannot be read.
QString LoadFolderSetting();

} // namespace pagewick
