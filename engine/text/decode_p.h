#pragma once

// Private to the engine: entry points kept for the tests and the fuzz targets only. The program
// itself reads pages through the page reader (engine/reading/pagereader.h); these reach the same code one
// step at a time, so that each rule can be held to account on its own.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pagewick {

// The encoding named by a byte-order mark ("UTF-8", "UTF-16LE", "UTF-16BE"), or empty.
QByteArray EncodingFromBom(QByteArrayView bytes);

// The encoding named by an XML declaration at the very start of the bytes, or empty.
QByteArray EncodingFromXmlDeclaration(QByteArrayView bytes);

// The charset that a meta element declares within the first 1,024 bytes (the HTML prescan), or empty.
QByteArray PrescanMetaCharset(QByteArrayView bytes);

// "UTF-16LE" or "UTF-16BE" when the first bytes show UTF-16 text without a byte-order mark
// (NUL bytes in every other place, as ASCII markup gives), else empty.
QByteArray EncodingFromNulPattern(QByteArrayView bytes);

// For undeclared bytes: UTF-8 when they are valid UTF-8, else a statistical guess (never UTF-8),
// else windows-1252. The bytes may come in two parts; cutShort says that the first part was cut
// off at an arbitrary byte (a UTF-8 sequence broken there is not held against it).
QByteArray GuessEncoding(QByteArrayView bytes, bool cutShort = false, QByteArrayView more = {});

// The encoding the page reader decides on for these bytes read as a whole page. Never empty.
QByteArray DetectEncoding(QByteArrayView bytes);

// The bytes decoded with DetectEncoding (a byte-order mark is not part of the text).
QString DecodePage(QByteArrayView bytes);

} // namespace pagewick
