#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace pagewick {

// The title a browser would show for this page text: what stands between the first opening title
// tag (any case, attributes allowed) and the first closing tag after it, with runs of ASCII
// whitespace collapsed to one space and both ends trimmed. Empty or missing gives nullopt.
std::optional<QString> FindTitle(QStringView pageText);

// The title of the page file at path, reading no more of it than needed. nullopt when the page has
// no usable title or is not a readable regular file (a FIFO, a device, a folder, gone).
std::optional<QString> ReadPageTitle(const QString& path);

// The page's title, or the path itself when there is none. Never fails, never blocks.
QString ExtractTitle(const QString& path);

// Drops carriage returns and turns line feeds into spaces.
QString FlattenLineBreaks(const QString& text);

} // namespace pagewick
