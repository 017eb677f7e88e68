#include "engine/writefile.h"

#include <QDir>
#include <QSaveFile>

namespace pagewick {

bool WriteTextFile(const QString& path, const QString& text, QString* error) {
    // QSaveFile writes to a temporary file beside the target and renames it over the target only
    // when everything is written; on any failure the temporary file goes and the target stays.
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    QString failure;
    if (!file.open(QIODevice::WriteOnly))
        failure = file.errorString();
    else if (file.write(bytes) != bytes.size())
        failure = file.errorString();
    else if (!file.commit())
        failure = file.errorString();
    if (failure.isEmpty())
        return true;
    if (file.isOpen())
        file.cancelWriting();
    if (error)
        *error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), failure);
    return false;
}

} // namespace pagewick
