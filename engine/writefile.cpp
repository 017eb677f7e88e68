#include "engine/writefile.h"

#include <QDir>
#include <QSaveFile>

namespace pagewick {

namespace {

// Writes all of bytes, or fails with the device's error. The file is unbuffered and every short
// write is followed up, so a full disk or a file-size limit shows as a failed write: QSaveFile's
// own flush at commit ignores such a failure and would rename the short file over the target.
bool WriteAll(QSaveFile& file, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool WriteTextFile(const QString& path, const QString& text, QString* error) {
    // QSaveFile writes to a temporary file beside the target and renames it over the target only
    // when everything is written; on any failure the temporary file goes and the target stays.
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    QString failure;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failure = file.errorString();
    else if (!WriteAll(file, bytes))
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
