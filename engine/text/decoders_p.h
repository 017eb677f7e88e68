#pragma once

// Private to the engine: the decoders of the WHATWG Encoding Standard, which browsers follow.

#include <QByteArrayView>
#include <QString>

namespace pagewick::detail {

// Every encoding's name (as EncodingForLabel gives it) and labels, in the standard's order.
struct EncodingNames;
const EncodingNames* FindEncodingByName(QByteArrayView name);
const EncodingNames* FindEncodingByLabel(QByteArrayView lowerCaseLabel);

// The bytes decoded as the named encoding's decoder decodes a whole stream: the end of the bytes
// ends the text, so a sequence cut short there is an error. Every error gives U+FFFD (UTF-8: one
// for each maximal subpart of a broken sequence). A byte-order mark is not looked for. False, and
// *out untouched, when the name is no encoding's.
bool DecodeStream(QByteArrayView encoding, QByteArrayView bytes, QString* out);

} // namespace pagewick::detail
