#pragma once

#include <QString>
#include <QStringList>

namespace pagewick {

// The last folder, remembered between runs (organisation and application "Pagewick",
// group "Settings", key "Map"), in the settings store (see store.h), with the folders opened
// lately (key "Recent") and whether sub-folders are listed (key "SubFolders") beside it.

// Stores the folder text. Returns false, with a description in error when given, when the store
// cannot be written or may not be touched.
bool SaveFolderSetting(const QString& folderText, QString* error = nullptr);

// The stored folder text; empty when nothing is stored or the store cannot or may not be read.
QString LoadFolderSetting();

// How many folders Open Recent offers.
inline constexpr qsizetype kRecentFolderCount = 10;

// The recent folders with folder put first: once (an equal path further down is taken out), its
// path cleaned ("/a/b/" and "/a//b" are "/a/b"), and at most kRecentFolderCount in all. An empty
// folder leaves the list as it is.
QStringList WithRecentFolder(QStringList recent, const QString& folder);

// The folders opened lately, the last one first; empty when none are stored or the store cannot
// or may not be read. Whatever else the store holds there is read as no entry.
QStringList LoadRecentFolders();

// Stores the recent folders (at most kRecentFolderCount are kept). Fails as SaveFolderSetting does.
bool SaveRecentFolders(const QStringList& folders, QString* error = nullptr);

// Whether the page list takes in the pages of sub-folders; off when nothing is stored.
bool LoadSubFoldersSetting();
bool SaveSubFoldersSetting(bool subFolders, QString* error = nullptr);

} // namespace pagewick
