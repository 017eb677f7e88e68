#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>

namespace pagewick::cli {

// A translated message as UTF-8, its %1, %2, ... replaced by the bytes given: file names are
// written as they are on disk, which need not be UTF-8, so they cannot pass through QString::arg.
inline QByteArray MessageBytes(const QString& translated, std::initializer_list<QByteArray> arguments) {
    QByteArray message = translated.toUtf8();
    int n = 1;
    for (const QByteArray& argument : arguments) {
        const QByteArray marker = '%' + QByteArray::number(n++);
        if (const qsizetype at = message.indexOf(marker); at >= 0)
            message.replace(at, marker.size(), argument);
    }
    return message;
}

} // namespace pagewick::cli
