#include "settings/store.h"

#include "engine/files/writefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace pagewick {

namespace {

// The store's file name is worked out here rather than found by QSettings because QSettings opens
// its files while it is being made, before they can be looked at (and would read organisation-wide
// and system-wide files too).
QString StoreFileName() {
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as the XDG base directory rules say;
    // taken as it stands, it would put the store under whatever folder Pagewick started in.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Pagewick/Pagewick.conf");
}

QSettings OpenStore(const QString& fileName) {
    return QSettings(fileName, QSettings::IniFormat);
}

// What a path is, its links followed, when that is neither a regular file nor nothing at all.
// Looked at with stat alone: opening a FIFO to read it blocks until something writes to it.
QString NotRegularFileKind(const QString& path) {
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ELOOP ? QCoreApplication::translate("pagewick::settings", "a loop of symbolic links")
                              : QString();
    return S_ISREG(status.st_mode) ? QString() : FileKindName(status.st_mode);
}

// Why the store must be left alone, or empty when QSettings may use it. QSettings reads the file
// (a FIFO would hang the start), replaces it when writing (a link to a device would be replaced by
// a text file) and takes a lock file beside it; each must be a regular file or not there yet.
QString StoreRefusal(const QString& fileName) {
    for (const QString& path : {fileName, fileName + QStringLiteral(".lock")}) {
        const QString kind = NotRegularFileKind(path);
        if (!kind.isEmpty())
            return QCoreApplication::translate(
                       "pagewick::settings",
                       "%1 is not a regular file but %2, so Pagewick neither reads nor writes it.")
                .arg(QDir::toNativeSeparators(path), kind);
    }
    return {};
}

// Why the settings file could not be written, in words a user can act on. QSettings only reports
// that it failed, so look at the folder it should have gone into.
QString DescribeWriteFailure(const QString& fileName) {
    QFileInfo file(fileName);
    QString dir = file.absolutePath();
    while (!QFileInfo::exists(dir) && !QDir(dir).isRoot())
        dir = QFileInfo(dir).absolutePath();
    const QFileInfo ancestor(dir);
    if (!ancestor.isDir())
        return QCoreApplication::translate("pagewick::settings",
                                           "%1 cannot be created because %2 is not a folder.")
            .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(dir));
    if (!ancestor.isWritable())
        return QCoreApplication::translate("pagewick::settings",
                                           "%1 cannot be written: no permission to write in %2.")
            .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(dir));
    return QCoreApplication::translate("pagewick::settings",
                                       "%1 cannot be written (the disk may be full or read-only).")
        .arg(QDir::toNativeSeparators(fileName));
}

} // namespace

bool WriteSettingsStore(const std::function<void(QSettings&)>& write, QString* error) {
    const QString fileName = StoreFileName();
    if (const QString refusal = StoreRefusal(fileName); !refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    QSettings store = OpenStore(fileName);
    write(store);
    store.sync();
    switch (store.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::FormatError:
        if (error)
            *error = QCoreApplication::translate("pagewick::settings", "%1 is damaged and cannot be read.")
                         .arg(QDir::toNativeSeparators(store.fileName()));
        return false;
    case QSettings::AccessError:
        break;
    }
    if (error)
        *error = DescribeWriteFailure(store.fileName());
    return false;
}

bool ReadSettingsStore(const std::function<void(const QSettings&)>& read) {
    const QString fileName = StoreFileName();
    if (!StoreRefusal(fileName).isEmpty())
        return false;
    const QSettings store = OpenStore(fileName);
    if (store.status() != QSettings::NoError)
        return false;
    read(store);
    return true;
}

QStringList StoredTextList(const QVariant& value) {
    return value.typeId() == QMetaType::QString ? QStringList{value.toString()} : value.toStringList();
}

bool StoredYes(const QVariant& value) {
    return value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace pagewick
