#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pagewick {

// Page decoding the way a browser does it, when no transport tells the encoding.

// The encoding named by a byte-order mark ("UTF-8", "UTF-16LE", "UTF-16BE"), or empty.
QByteArray EncodingFromBom(QByteArrayView bytes);

// The charset that a meta element declares within the first 1,024 bytes (the HTML prescan), or empty.
QByteArray PrescanMetaCharset(QByteArrayView bytes);

// The encoding to decode these bytes with: BOM, then meta declaration, then UTF-8 when valid,
// then a statistical guess, then windows-1252. Never empty.
QByteArray DetectEncoding(QByteArrayView bytes);

// The bytes decoded with DetectEncoding (a BOM is not part of the text).
QString DecodePage(QByteArrayView bytes);

} // namespace pagewick
