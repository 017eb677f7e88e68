#include "engine/reading/title.h"

#include "engine/reading/pagereader_p.h"
#include "engine/reading/title_p.h"
#include "engine/reading/tokenizer_p.h"
#include "engine/text/entities.h"

namespace pagewick {

std::optional<QString> FindTitle(QStringView pageText) {
    detail::Tokenizer tokenizer(false, false);
    tokenizer.feed(detail::TextUnits{pageText});
    tokenizer.end();
    if (!tokenizer.hasTitle())
        return std::nullopt;
    const QByteArray raw = tokenizer.titleBytes();
    return detail::NoBlankTitle(
        detail::CleanTitle(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2));
}

namespace detail {

std::optional<QString> NoBlankTitle(std::optional<QString> title) {
    // Only a title holding a reference can read as whitespace once the references are resolved.
    const qsizetype amp = title ? title->indexOf(u'&') : -1;
    if (amp < 0)
        return title;
    // The text before the first reference reads as it stands: most titles show a letter there.
    for (qsizetype i = 0; i < amp; ++i) {
        if (!IsAsciiWhitespace(title->at(i).unicode()))
            return title;
    }
    const QString text = ResolveCharacterReferences(*title);
    for (const QChar c : text) {
        if (!IsAsciiWhitespace(c.unicode()))
            return title;
    }
    return std::nullopt;
}

} // namespace detail

std::optional<QString> ReadPageTitle(const QString& path) {
    const std::unique_ptr<detail::PageSource> source = detail::PageFolder::openPath(path);
    return source ? detail::ReadPage(*source, WantTitle).title : std::nullopt;
}

QString ExtractTitle(const QString& path) {
    return ReadPageTitle(path).value_or(path);
}

} // namespace pagewick
