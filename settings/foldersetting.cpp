#include "settings/foldersetting.h"

#include <QSettings>

namespace pagewick {

bool SaveFolderSetting(const QString& folderText, QString*) {
    QSettings s(QStringLiteral("Pagewick"), QStringLiteral("Pagewick"));
    s.setValue(QStringLiteral("Settings/Map"), folderText);
    return true;
}

QString LoadFolderSetting() {
    QSettings s(QStringLiteral("Pagewick"), QStringLiteral("Pagewick"));
    return s.value(QStringLiteral("Settings/Map")).toString();
}

} // namespace pagewick
