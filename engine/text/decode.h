#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace pagewick {

// Page decoding the way a browser does it, when no transport tells the encoding.

// The encoding a label names, as browsers read labels ("latin1" and "ascii" give "windows-1252",
// "gb2312" gives "GBK", "utf8" gives "UTF-8"); empty when the label is unknown or cannot be decoded.
QByteArray EncodingForLabel(QByteArrayView label);

// The encoding under which text cannot be trusted at all: it decodes to a single U+FFFD.
inline constexpr char kReplacementEncoding[] = "replacement";

// The encoding a meta element declares through its charset, http-equiv and content attributes
// (each given when the element has it), or empty when it declares none it could use.
QByteArray MetaDeclaredEncoding(std::optional<QByteArrayView> charset,
                                std::optional<QByteArrayView> httpEquiv,
                                std::optional<QByteArrayView> content);

// What the markup at the head of a page (past a byte-order mark) declares: a meta element within
// its first 1,024 bytes, else an XML declaration at its very start; empty when neither does.
QByteArray MarkupDeclaredEncoding(QByteArrayView head);

// What the head of a page (its first 1,024 bytes or more) settles: a byte-order mark, a meta
// element in its first 1,024 bytes, or the NUL pattern of UTF-16; empty when nothing is settled
// (an XML declaration does not settle it: a meta element later in the page overrules one). bomLength receives
// the length of the byte-order mark (0 when there is none).
QByteArray DeclaredEncoding(QByteArrayView head, qsizetype* bomLength);

// All a page reader knows about a page when it decides its encoding.
struct EncodingClues {
    QByteArrayView head;        // the page's first bytes
    bool headIsWhole = true;    // false: the page goes on past head (which may cut a character)
    QByteArray lateDeclaration; // what a meta element met before the title declared, past the prescan
    QByteArrayView more;        // further bytes of the page (the title's) for a guess
    // What PrescanMetaCharset finds in the head past any byte-order mark, when the caller has
    // worked it out already (empty: it finds nothing); unset, it is worked out where needed.
    std::optional<QByteArray> prescanned = std::nullopt;
};

// The encoding to decode a page with. The one place the order of the rules is written: what the
// head declares (DeclaredEncoding), then a declaration met later before the title, then an XML
// declaration at the start, then UTF-8 when the bytes are valid UTF-8 (but perhaps for a sequence
// cut short by the page's end), then a statistical guess that is never UTF-8 for bytes that are
// not, then windows-1252. Never empty.
QByteArray PageEncoding(const EncodingClues& clues);

// What a page says of its own encoding, whether it is followed or not.
struct EncodingDeclarations {
    QByteArray bom;    // what a byte-order mark names, or empty
    QByteArray markup; // what the markup declares past the mark (MarkupDeclaredEncoding of the head,
                       // else the late declaration), or empty
};

// The declarations PageEncoding weighs, the markup's read beneath a byte-order mark too (which
// wins over it): what a check of the page holds its bytes to.
EncodingDeclarations PageDeclarations(const EncodingClues& clues);

// Where the bytes stop being UTF-8: -1 when they are valid UTF-8 all through, but perhaps for a
// sequence that their end cuts short, whose start *cutAt receives (bytes.size() when none is
// cut); else the offset where the first sequence that breaks it starts.
qsizetype Utf8BreakIn(QByteArrayView bytes, qsizetype* cutAt);

// The bytes decoded in the given encoding (any name the functions above give); the bytes do not
// include a byte-order mark.
QString DecodeAs(QByteArrayView encoding, QByteArrayView bytes);

// Bytes that a tag's "<" follows in the page (a title's text, say), decoded as the page's decoder
// reads them there: a sequence they leave open is ended by the "<" rather than by their end, and
// bytes that such an error gives back are read again ("81 30 81" in gb18030 is U+FFFD "0" U+FFFD,
// not one U+FFFD). Where the encoding takes that "<" into a character (ISO-2022-JP's two-byte
// sets), the bytes are decoded on their own.
QString DecodeBeforeTag(QByteArrayView encoding, QByteArrayView bytes);

} // namespace pagewick
