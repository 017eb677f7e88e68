#include "engine/decode.h"

namespace pagewick {

QByteArray EncodingFromBom(QByteArrayView) { return {}; }
QByteArray PrescanMetaCharset(QByteArrayView) { return {}; }
QByteArray DetectEncoding(QByteArrayView) { return "UTF-8"; }
QString DecodePage(QByteArrayView bytes) { return QString::fromUtf8(bytes); }

} // namespace pagewick
