#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pagewick {

// Linux file names are bytes, not always valid UTF-8. A name is held as a QString by decoding
// valid UTF-8 as such and each byte of an invalid sequence as the lone surrogate U+DC80 + byte
// (as Python's "surrogateescape" does), so every name round-trips to the exact bytes on disk.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameToBytes(QStringView name);

} // namespace pagewick
