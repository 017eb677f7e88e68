#pragma once

#include <QString>

namespace pagewick {

// The last folder, remembered between runs (organisation and application "Pagewick",
// group "Settings", key "Map"), in ~/.config/Pagewick/Pagewick.conf (or under $XDG_CONFIG_HOME).
// The store is used only while that file is a regular file or not there yet: a folder, FIFO,
// device, socket or loop of links in its place is neither read nor replaced.

// Stores the folder text. Returns false, with a description in error when given, when the store
// cannot be written or may not be touched.
bool SaveFolderSetting(const QString& folderText, QString* error = nullptr);

// The stored folder text; empty when nothing is stored or the store cannot or may not be read.
QString LoadFolderSetting();

} // namespace pagewick
