#include "settings/foldersetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace pagewick {

namespace {

QSettings OpenStore() {
    return QSettings(QStringLiteral("Pagewick"), QStringLiteral("Pagewick"));
}

const QString kGroup = QStringLiteral("Settings");
const QString kKey = QStringLiteral("Map");

// Why the settings file could not be written, in words a user can act on. QSettings only reports
// that it failed, so look at the folder it should have gone into.
QString DescribeWriteFailure(const QString& fileName) {
    QFileInfo file(fileName);
    if (file.exists() && !file.isFile())
        return QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(fileName));
    QString dir = file.absolutePath();
    while (!QFileInfo::exists(dir) && !QDir(dir).isRoot())
        dir = QFileInfo(dir).absolutePath();
    const QFileInfo ancestor(dir);
    if (!ancestor.isDir())
        return QStringLiteral("%1 cannot be created because %2 is not a folder.")
            .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(dir));
    if (!ancestor.isWritable())
        return QStringLiteral("%1 cannot be written: no permission to write in %2.")
            .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(dir));
    return QStringLiteral("%1 cannot be written (the disk may be full or read-only).")
        .arg(QDir::toNativeSeparators(fileName));
}

} // namespace

bool SaveFolderSetting(const QString& folderText, QString* error) {
    QSettings store = OpenStore();
    store.beginGroup(kGroup);
    store.setValue(kKey, folderText);
    store.endGroup();
    store.sync();
    switch (store.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::FormatError:
        if (error)
            *error = QStringLiteral("%1 is damaged and cannot be read.")
                         .arg(QDir::toNativeSeparators(store.fileName()));
        return false;
    case QSettings::AccessError:
        break;
    }
    if (error)
        *error = DescribeWriteFailure(store.fileName());
    return false;
}

QString LoadFolderSetting() {
    QSettings store = OpenStore();
    if (store.status() != QSettings::NoError)
        return {};
    return store.value(kGroup + u'/' + kKey).toString();
}

} // namespace pagewick
