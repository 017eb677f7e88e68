#pragma once

// What XML 1.0 hands a reader for plain text, as the checks of the fuzz targets and of the hostile
// folder expect it: told without the engine's own code, so that the two can be compared.

#include <QString>
#include <QStringView>

namespace xmloracle {

// Text less the characters XML 1.0 cannot carry: controls but tab, line feed and carriage return,
// lone surrogates, U+FFFE and U+FFFF.
inline QString XmlCarried(QStringView text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate() && (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') &&
                   c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) {
            out += c;
        }
    }
    return out;
}

// Line breaks as an XML reader hands them over: CR LF and CR alone become LF.
inline QString XmlLineBreaks(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace xmloracle
