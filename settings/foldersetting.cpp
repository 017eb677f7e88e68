#include "settings/foldersetting.h"

#include "settings/store.h"

#include <QDir>
#include <QSettings>

namespace pagewick {

namespace {

const QString kFolderKey = QStringLiteral("Settings/Map");
const QString kRecentKey = QStringLiteral("Settings/Recent");
const QString kSubFoldersKey = QStringLiteral("Settings/SubFolders");

bool SaveValue(const QString& key, const QVariant& value, QString* error) {
    return WriteSettingsStore([&](QSettings& store) { store.setValue(key, value); }, error);
}

QVariant LoadValue(const QString& key) {
    QVariant value;
    ReadSettingsStore([&](const QSettings& store) { value = store.value(key); });
    return value;
}

} // namespace

bool SaveFolderSetting(const QString& folderText, QString* error) {
    return SaveValue(kFolderKey, folderText, error);
}

QString LoadFolderSetting() {
    return LoadValue(kFolderKey).toString();
}

QStringList WithRecentFolder(QStringList recent, const QString& folder) {
    if (folder.isEmpty())
        return recent;
    const QString path = QDir::cleanPath(folder);
    recent.removeAll(path);
    recent.prepend(path);
    if (recent.size() > kRecentFolderCount)
        recent.resize(kRecentFolderCount);
    return recent;
}

QStringList LoadRecentFolders() {
    // The folders are cleaned as the list is built.
    const QStringList stored = StoredTextList(LoadValue(kRecentKey));
    QStringList recent;
    for (auto folder = stored.crbegin(); folder != stored.crend(); ++folder)
        recent = WithRecentFolder(recent, *folder);
    return recent;
}

bool SaveRecentFolders(const QStringList& folders, QString* error) {
    return SaveValue(kRecentKey, folders.mid(0, kRecentFolderCount), error);
}

bool LoadSubFoldersSetting() {
    // Anything but a stored yes keeps the list as it is without sub-folders.
    return StoredYes(LoadValue(kSubFoldersKey));
}

bool SaveSubFoldersSetting(bool subFolders, QString* error) {
    return SaveValue(kSubFoldersKey, subFolders, error);
}

} // namespace pagewick
