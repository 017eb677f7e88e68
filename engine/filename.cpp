#include "engine/filename.h"

namespace pagewick {

QString FileNameFromBytes(QByteArrayView bytes) { return QString::fromUtf8(bytes); }
QByteArray FileNameToBytes(QStringView name) { return name.toUtf8(); }

} // namespace pagewick
