#include "engine/output/xmltext.h"

#include "engine/text/entities.h"

#include <optional>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// Where in text, from i on, the first character is that XML character data cannot take as it
// stands; the text's size when there is none.
qsizetype FirstNotXmlText(QStringView text, qsizetype i) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    for (; i < n; ++i) {
        const char16_t u = p[i];
        if ((u > u'>' && u < 0xD800) || (u >= 0x20 && u < u'>' && u != u'&' && u != u'<'))
            continue;
        if (u == u'\t' || u == u'\n' || u == u'\r' || (u >= 0xE000 && u <= 0xFFFD))
            continue;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            ++i;
            continue;
        }
        return i;
    }
    return n;
}

} // namespace

// Appends text as XML character data: without the characters XML cannot carry (controls other
// than tab, LF and CR, lone surrogates, U+FFFE and U+FFFF), and with "&", "<" and ">" escaped.
// Runs of characters that need neither go in whole.
void AppendXmlText(QString& out, QStringView text) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype from = 0; // start of the run not yet appended
    for (qsizetype i = FirstNotXmlText(text, 0); i < n; i = FirstNotXmlText(text, i + 1)) {
        const char16_t u = p[i];
        out.append(QStringView(p + from, i - from));
        from = i + 1;
        if (u == u'&')
            out += u"&amp;";
        else if (u == u'<')
            out += u"&lt;";
        else if (u == u'>')
            out += u"&gt;";
    }
    out.append(QStringView(p + from, n - from));
}

namespace {

bool IsDigit(QChar c, bool hex) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
}

// Length of the character reference that text starts with ("&name;", "&#65;", "&#x41;"), or 0
// when its "&" begins none. Whether the name is known is not looked at here.
qsizetype ReferenceLength(QStringView text) {
    qsizetype i = 1;
    qsizetype bodyFrom = 1;
    if (i < text.size() && text[i] == u'#') {
        const bool hex = ++i < text.size() && (text[i] == u'x' || text[i] == u'X');
        i += hex;
        bodyFrom = i;
        while (i < text.size() && IsDigit(text[i], hex))
            ++i;
    } else {
        while (i < text.size() && IsAsciiAlnum(text[i]))
            ++i;
    }
    return i > bodyFrom && i < text.size() && text[i] == u';' ? i + 1 : 0;
}

bool IsXmlPredefined(QStringView name) {
    return name == u"amp" || name == u"lt" || name == u"gt" || name == u"quot" || name == u"apos";
}

// The XML form of a complete reference "&...;": references XML predefines as they stand, other
// known names as the characters they stand for, numeric references to characters XML allows with
// the hexadecimal "x" made small as XML requires. nullopt for an unknown name or a character XML
// forbids, whose "&" is then literal.
std::optional<QString> XmlReference(QStringView ref) {
    const QStringView body = ref.sliced(1, ref.size() - 2);
    if (body.startsWith(u'#')) {
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        const QStringView digits = body.sliced(hex ? 2 : 1);
        char32_t value = 0;
        for (const QChar c : digits) {
            // Past the last code point the value is out of range whatever follows; stop growing
            // it before it can wrap round into range.
            if (value > 0x10FFFF)
                break;
            const char16_t u = c.unicode();
            const char32_t digit = u <= u'9' ? u - u'0' : (u | 0x20) - u'a' + 10;
            value = value * (hex ? 16 : 10) + digit;
        }
        if (!IsXmlChar(value))
            return std::nullopt;
        QString xmlRef = hex ? u"&#x"_s : u"&#"_s;
        xmlRef += digits;
        xmlRef += u';';
        return xmlRef;
    }
    if (IsXmlPredefined(body))
        return ref.toString();
    const QString value = LookUpHtmlNamedReference(body);
    if (value.isNull())
        return std::nullopt;
    QString out;
    AppendXmlText(out, value); // "&LT;" names a "<", which still needs escaping
    return out;
}

} // namespace

QString XmlText(const QString& plainText) {
    // Most text is XML text as it stands: it is handed back without a copy.
    if (FirstNotXmlText(plainText, 0) == plainText.size())
        return plainText;
    QString out;
    AppendXmlText(out, plainText);
    return out;
}

QString XmlAttribute(const QString& plainText) {
    return XmlText(plainText).replace(u'"', u"&quot;"_s);
}

QString TitleAsXmlText(const QString& htmlTitle) {
    return XmlText(ResolveCharacterReferences(htmlTitle));
}

QString MakeXmlSafe(const QString& htmlText) {
    const QStringView text(htmlText);
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype from = 0; // start of the text not yet copied
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', from)) {
        AppendXmlText(out, text.sliced(from, amp - from));
        const QStringView rest = text.sliced(amp);
        const qsizetype length = ReferenceLength(rest);
        const std::optional<QString> ref = length ? XmlReference(rest.first(length)) : std::nullopt;
        if (ref) {
            out += *ref;
            from = amp + length;
        } else {
            out += u"&amp;";
            from = amp + 1;
        }
    }
    AppendXmlText(out, text.sliced(from));
    return out;
}

} // namespace pagewick
