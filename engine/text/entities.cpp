#include "engine/text/entities.h"

#include "engine/text/html_entities_data.h"

#include <QLatin1StringView>
#include <algorithm>
#include <vector>

namespace pagewick {

namespace {

// Where the feed reader may not know the character, a plain look-alike stands in for it
// ("&cent;" as "%", "&reg;" as "TM"). References appear a second time where a replacement made of
// letters may have completed them out of the text around it ("&E&ordf;cute;").
constexpr EntityRow kFlatteningTable[] = {
    {u"&Aacute;", u"\u00C1"}, // 1
    {u"&aacute;", u"\u00E1"}, {u"&agrave;", u"\u00E0"}, {u"&Eacute;", u"\u00C9"}, {u"&eacute;", u"\u00E9"},
    {u"&egrave;", u"\u00E8"}, {u"&ecirc;", u"\u00EA"},  {u"&Iacute;", u"\u00CD"}, {u"&iacute;", u"\u00ED"},
    {u"&Oacute;", u"\u00D3"}, // 10
    {u"&oacute;", u"\u00F3"}, {u"&Uacute;", u"\u00DA"}, {u"&uacute;", u"\u00FA"}, {u"&ugrave;", u"\u00F9"},
    {u"&Ntilde;", u"\u00D1"}, {u"&ntilde;", u"\u00F1"}, {u"&nbsp;", u" "},        {u"&iexcl;", u"\u00A1"},
    {u"&cent;", u"%"},        {u"&pound;", u"\u00A3"}, // 20
    {u"&curren;", u"$"},      {u"&yen;", u"Y"},         {u"&brvbar;", u"|"},      {u"&sect;", u"/"},
    {u"&uml;", u"\u00FC"},    {u"&copy;", u"(c)"},      {u"&ordf;", u"a"},        {u"&laquo;", u"\""},
    {u"&not;", u"-"},         {u"&shy;", u"-"}, // 30
    {u"&reg;", u"TM"},        {u"&macr;", u"_"},        {u"&deg;", u"\u00B0"},    {u"&plusmn;", u"+-"},
    {u"&sup2;", u"\u00B2"},   {u"&sup3;", u"\u00B3"},   {u"&micro;", u"\u00B5"},  {u"&ordm;", u"o"},
    {u"&raquo;", u"\""},      {u"&frac14;", u"1/4"}, // 40
    {u"&frac12;", u"1/2"},    {u"&frac34;", u"3/4"},    {u"&iquest;", u"\u00BF"}, {u"&Agrave;", u"\u00C0"},
    {u"&Atilde;", u"\u00C3"}, {u"&Auml;", u"\u00C4"},   {u"&Ccedil;", u"\u00C7"}, {u"&Egrave;", u"\u00C8"},
    {u"&Eacute;", u"\u00C9"}, {u"&Euml;", u"\u00CB"}, // 50
    {u"&Igrave;", u"\u00CC"}, {u"&Iacute;", u"\u00CD"}, {u"&Icirc;", u"\u00CE"},  {u"&Iuml;", u"\u00CF"},
    {u"&Ntilde;", u"\u00D1"}, {u"&Ograve;", u"\u00D2"}, {u"&Oacute;", u"\u00D3"}, {u"&Ocirc;", u"\u00D4"},
    {u"&Otilde;", u"\u00D5"}, {u"&Ouml;", u"\u00D6"}, // 60
    {u"&Ugrave;", u"\u00D9"}, {u"&Uacute;", u"\u00DA"}, {u"&Ucirc;", u"\u00DB"},  {u"&Uuml;", u"\u00DC"},
    {u"&Yacute;", u"\u00DD"}, {u"&szlig;", u"ss"},      {u"&agrave;", u"\u00E0"}, {u"&aacute;", u"\u00E1"},
    {u"&acirc;", u"\u00E2"},  {u"&atilde;", u"\u00E3"}, // 70
    {u"&auml;", u"\u00E4"},   {u"&ccedil;", u"\u00E7"}, {u"&egrave;", u"\u00E8"}, {u"&eacute;", u"\u00E9"},
    {u"&ecirc;", u"\u00EA"},  {u"&euml;", u"\u00EB"},   {u"&igrave;", u"\u00EC"}, {u"&iacute;", u"\u00ED"},
    {u"&iuml;", u"\u00EF"},   {u"&ntilde;", u"\u00F1"}, // 80
    {u"&ograve;", u"\u00F2"}, {u"&oacute;", u"\u00F3"}, {u"&otilde;", u"\u00F5"}, {u"&ouml;", u"\u00F6"},
    {u"&divide;", u"/"},      {u"&ugrave;", u"\u00F9"}, {u"&uacute;", u"\u00FA"}, {u"&ucirc;", u"\u00FB"},
    {u"&uuml;", u"\u00FC"},   {u"&yacute;", u"\u00FD"}, // 90
    {u"&yuml;", u"\u00FF"},
};
static_assert(std::size(kFlatteningTable) == 91);

// The in-place replacement below relies on every replacement being shorter than its reference
// and free of "&" (so it can neither start a reference nor shift one to the right).
constexpr bool ReplacementsFitInPlace() {
    for (const EntityRow& row : kFlatteningTable) {
        const std::u16string_view ref = row.reference, rep = row.replacement;
        if (rep.empty() || rep.size() >= ref.size() || rep.find(u'&') != rep.npos)
            return false;
    }
    return true;
}
static_assert(ReplacementsFitInPlace());

// The rows of the table by the first letter of their reference's name, so that a look at one
// ampersand goes through the few rows that may match there rather than through all of them.
struct RowsByLetter {
    unsigned char start[129] = {}; // rows of letter c: index[start[c]] up to index[start[c + 1]]
    unsigned char index[std::size(kFlatteningTable)] = {};
};

constexpr RowsByLetter MakeRowsByLetter() {
    RowsByLetter by;
    unsigned char n = 0;
    for (char16_t c = 0; c < 128; ++c) {
        by.start[c] = n;
        for (size_t r = 0; r < std::size(kFlatteningTable); ++r) {
            if (kFlatteningTable[r].reference[1] == c)
                by.index[n++] = static_cast<unsigned char>(r);
        }
    }
    by.start[128] = n;
    return by;
}
constexpr RowsByLetter kRowsByLetter = MakeRowsByLetter();
static_assert(kRowsByLetter.start[128] == std::size(kFlatteningTable), "every name starts with ASCII");

// Whether some row's reference stands in text at the ampersand at p.
bool StartsFlatteningRow(QStringView text, qsizetype p) {
    if (p + 1 >= text.size() || text[p + 1].unicode() >= 128)
        return false;
    const char16_t letter = text[p + 1].unicode();
    for (unsigned char k = kRowsByLetter.start[letter]; k < kRowsByLetter.start[letter + 1]; ++k) {
        if (text.sliced(p).startsWith(QStringView(kFlatteningTable[kRowsByLetter.index[k]].reference)))
            return true;
    }
    return false;
}

// Whether some row's reference stands at one of the ampersands at amps: where none does, no row
// can change the text.
bool SomeRowMayMatch(QStringView text, const std::vector<qsizetype>& amps) {
    return std::any_of(amps.begin(), amps.end(),
                       [text](qsizetype p) { return StartsFlatteningRow(text, p); });
}

} // namespace

std::span<const EntityRow> EntityFlatteningTable() {
    return kFlatteningTable;
}

QString FlattenEntities(const QString& text) {
    // Every match begins at an "&", and no replacement holds one, so the only places a row can
    // match are the ampersands of the input that earlier rows have not consumed. Those are found
    // once; each row then looks only there, and rewrites the text (in place, since replacements
    // are shorter) only when it matched somewhere. Most texts hold few ampersands or none.
    std::vector<qsizetype> amps;
    for (qsizetype i = text.indexOf(u'&'); i >= 0; i = text.indexOf(u'&', i + 1))
        amps.push_back(i);
    // The text changes only where a row matches, so when no reference of the table stands at any
    // of its ampersands (a text with "&amp;" alone, say) it comes out as it went in.
    if (!SomeRowMayMatch(text, amps))
        return text;

    QString s = text;
    std::vector<qsizetype> matched;
    for (const EntityRow& row : kFlatteningTable) {
        const QStringView ref(row.reference);
        const QStringView rep(row.replacement);
        const QStringView view(s);
        matched.clear();
        // Left to right, against the text as this row has left it so far: a replacement to the
        // right of an ampersand cannot change whether that ampersand matched in this row.
        for (const qsizetype p : amps) {
            if (view.size() - p >= ref.size() && view[p + 1] == ref[1] && view.sliced(p, ref.size()) == ref)
                matched.push_back(p);
        }
        if (matched.empty())
            continue;

        QChar* d = s.data();
        qsizetype write = matched.front();
        qsizetype shift = 0;
        auto next = amps.begin();
        auto keep = amps.begin();
        for (size_t m = 0; m < matched.size(); ++m) {
            const qsizetype p = matched[m];
            // Surviving ampersands before this match move left by what earlier matches removed.
            for (; *next < p; ++next)
                *keep++ = *next - shift;
            ++next; // this ampersand is consumed
            std::copy(rep.begin(), rep.end(), d + write);
            write += rep.size();
            const qsizetype from = p + ref.size();
            const qsizetype to = m + 1 < matched.size() ? matched[m + 1] : s.size();
            std::copy(d + from, d + to, d + write);
            write += to - from;
            shift += ref.size() - rep.size();
        }
        for (; next != amps.end(); ++next)
            *keep++ = *next - shift;
        amps.erase(keep, amps.end());
        s.truncate(write);
        if (!SomeRowMayMatch(s, amps))
            break;
    }
    return s;
}

namespace {

const detail::HtmlNamedReference* FindHtmlNamedReference(QStringView name) {
    const auto refs = detail::HtmlNamedReferences();
    const char* names = detail::HtmlNamedReferenceNames();
    const auto nameOf = [names](const detail::HtmlNamedReference& r) {
        return QLatin1StringView(names + r.nameOffset, r.nameLength);
    };
    // Names are ASCII, so comparing code units orders them as the generator sorted them.
    const auto it = std::lower_bound(refs.begin(), refs.end(), name,
                                     [&](const auto& r, QStringView n) { return nameOf(r).compare(n) < 0; });
    return it == refs.end() || nameOf(*it) != name ? nullptr : &*it;
}

QStringView ValueOf(const detail::HtmlNamedReference& ref) {
    return QStringView(ref.value, ref.valueLength);
}

bool IsAsciiAlphanumeric(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

} // namespace

QString LookUpHtmlNamedReference(QStringView name) {
    const detail::HtmlNamedReference* ref = FindHtmlNamedReference(name);
    return ref ? ValueOf(*ref).toString() : QString();
}

namespace {

// Numeric references to these code points name the windows-1252 character instead, as in HTML.
constexpr char16_t kC1Replacements[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

} // namespace

QString ResolveCharacterReferences(const QString& text, ReferencesIn where) {
    return text.contains(u'&') ? ResolveCharacterReferences(QStringView(text), where) : text;
}

QString ResolveCharacterReferences(QStringView text, ReferencesIn where) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0) {
            out += text.sliced(i);
            break;
        }
        out += text.sliced(i, amp - i);
        i = amp + 1;
        if (i < text.size() && text[i] == u'#') {
            qsizetype j = i + 1;
            const bool hex = j < text.size() && (text[j] == u'x' || text[j] == u'X');
            j += hex;
            const qsizetype digitsFrom = j;
            char32_t value = 0;
            for (; j < text.size(); ++j) {
                const char16_t c = text[j].unicode();
                int digit = -1;
                if (c >= u'0' && c <= u'9')
                    digit = c - u'0';
                else if (hex && (c | 0x20) >= u'a' && (c | 0x20) <= u'f')
                    digit = (c | 0x20) - u'a' + 10;
                if (digit < 0)
                    break;
                value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(digit), 0x110000);
            }
            if (j == digitsFrom) {
                out += u'&';
                continue;
            }
            if (j < text.size() && text[j] == u';')
                ++j;
            i = j;
            if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                value = 0xFFFD;
            else if (value >= 0x80 && value <= 0x9F)
                value = kC1Replacements[value - 0x80];
            out += QString::fromUcs4(&value, 1);
            continue;
        }
        qsizetype j = i;
        while (j < text.size() && j - i < 40 && IsAsciiAlphanumeric(text[j]))
            ++j;
        const QStringView run = text.sliced(i, j - i);
        if (!run.isEmpty() && j < text.size() && text[j] == u';') {
            if (const detail::HtmlNamedReference* ref = FindHtmlNamedReference(run)) {
                out += ValueOf(*ref);
                i = j + 1;
                continue;
            }
        }
        // Else the longest legacy name the letters start with (none is longer than six).
        const auto legacyName = [](QStringView name) {
            const detail::HtmlNamedReference* ref = FindHtmlNamedReference(name);
            return ref && ref->withoutSemicolon ? ref : nullptr;
        };
        const detail::HtmlNamedReference* legacy = nullptr;
        qsizetype length = std::min<qsizetype>(run.size(), 6);
        while (length >= 2 && !(legacy = legacyName(run.first(length))))
            --length;
        if (legacy && where == ReferencesIn::AttributeValue && i + length < text.size() &&
            (IsAsciiAlphanumeric(text[i + length]) || text[i + length] == u'='))
            legacy = nullptr;
        if (legacy) {
            out += ValueOf(*legacy);
            i += length;
        } else {
            out += u'&';
        }
    }
    return out;
}

} // namespace pagewick
