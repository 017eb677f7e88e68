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

// --- The steps of DetectEncoding, for readers that see a page in parts ---

// The encoding a label names, as browsers read labels ("latin1" and "ascii" give "windows-1252",
// "gb2312" gives "GBK", "utf8" gives "UTF-8"); empty when the label is unknown or cannot be decoded.
QByteArray EncodingForLabel(QByteArrayView label);

// The encoding under which text cannot be trusted at all: it decodes to a single U+FFFD.
inline constexpr char kReplacementEncoding[] = "replacement";

// "UTF-16LE" or "UTF-16BE" when the first bytes show UTF-16 text without a byte-order mark
// (NUL bytes in every other place, as ASCII markup gives), else empty.
QByteArray EncodingFromNulPattern(QByteArrayView bytes);

// What the head of a page (its first 1,024 bytes or more) settles: the byte-order mark, a meta
// declaration or the NUL pattern of UTF-16; empty when nothing is settled. bomLength receives the
// length of the byte-order mark (0 when there is none).
QByteArray DeclaredEncoding(QByteArrayView head, qsizetype* bomLength);

// For undeclared bytes: UTF-8 when they are valid UTF-8, else a statistical guess, else
// windows-1252. The bytes may come in two parts; cutShort says that the first part was cut off
// at an arbitrary byte (a UTF-8 sequence broken there is not held against it).
QByteArray GuessEncoding(QByteArrayView bytes, bool cutShort = false, QByteArrayView more = {});

// The bytes decoded in the given encoding (any name the functions above give); the bytes do not
// include a byte-order mark.
QString DecodeAs(QByteArrayView encoding, QByteArrayView bytes);

} // namespace pagewick
