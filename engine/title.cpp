#include "engine/title.h"

#include "engine/decode_p.h"
#include "engine/pagereader_p.h"
#include "engine/tokenizer_p.h"

namespace pagewick {

std::optional<QString> FindTitle(QStringView pageText) {
    detail::Tokenizer tokenizer(false, false);
    tokenizer.feed(detail::TextUnits{pageText});
    if (!tokenizer.hasTitle())
        return std::nullopt;
    const QByteArray raw = tokenizer.titleBytes();
    return detail::CleanTitle(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);
}

std::optional<QString> ReadPageTitle(const QString& path) {
    const std::unique_ptr<detail::PageSource> source = detail::PageFolder::openPath(path);
    return source ? detail::ReadPage(*source, WantTitle).title : std::nullopt;
}

QString ExtractTitle(const QString& path) {
    return ReadPageTitle(path).value_or(path);
}

QString FlattenLineBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            out += u' ';
        else if (c != u'\r')
            out += c;
    }
    return out;
}

} // namespace pagewick
