#pragma once

// Private to the engine: what title.cpp gives the page reader, and an entry point kept for the
// tests and the fuzz targets only.

#include <QString>
#include <QStringView>

#include <optional>

namespace pagewick {

// The title a browser would show for this page text, found by the page reader's tokenizer;
// nullopt when there is none or it is empty.
std::optional<QString> FindTitle(QStringView pageText);

namespace detail {

// A cleaned title, or nullopt when its character references make it whitespace only ("&#9;",
// "&#32;"): a browser shows no title then. A no-break space ("&nbsp;") is not whitespace.
std::optional<QString> NoBlankTitle(std::optional<QString> title);

} // namespace detail

} // namespace pagewick
