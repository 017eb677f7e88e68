#pragma once

#include <QString>
#include <optional>

namespace pagewick {

// The title of the page file at path, as a browser finds it, reading no more of the page than
// needed. nullopt when the page has no usable title or is not a readable regular file (a FIFO, a
// device, a folder, gone).
std::optional<QString> ReadPageTitle(const QString& path);

// The page's title, or the path itself when there is none. Never fails, never blocks.
QString ExtractTitle(const QString& path);

} // namespace pagewick
