#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <initializer_list>

namespace pagewick::cli {

// A translated message as UTF-8, its %1, %2, ... replaced by the bytes given: file names are
// written as they are on disk, which need not be UTF-8, so they cannot pass through QString::arg.
inline QByteArray MessageBytes(const QString& translated, std::initializer_list<QByteArray> arguments) {
    // One pass over the text, so that an argument holding "%2" is never taken for a marker.
    const QByteArray text = translated.toUtf8();
    QByteArray message;
    message.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' &&
            qsizetype(next - '1') < qsizetype(arguments.size())) {
            message += *(arguments.begin() + (next - '1'));
            ++i;
        } else {
            message += text[i];
        }
    }
    return message;
}

// Says what went wrong on standard error, as every message of pagewick-cli is said: one line
// starting "pagewick-cli: ", written out at once so that it comes before anything said later.
inline void PrintError(const QByteArray& message) {
    const QByteArray line = "pagewick-cli: " + message + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace pagewick::cli
