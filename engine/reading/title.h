#pragma once

#include "engine/reading/pagereader.h"

#include <QString>
#include <optional>

namespace pagewick {

// The title of the page file at path, as a browser finds it, reading no more of the page than
// needed. nullopt when the page has no usable title or is not a readable regular file (a FIFO, a
// device, a folder, gone).
std::optional<QString> ReadPageTitle(const QString& path);

// Reads the titles of many pages of one folder, each exactly as ReadPageTitle(PagePath(folderText,
// pageName)) would, but opening the folder once rather than walking its path for every page.
class FolderTitleReader {
public:
    explicit FolderTitleReader(const QString& folderText) : pages(folderText) {}
    std::optional<QString> read(const QString& pageName) const { return pages.read(pageName).title; }

private:
    FolderPageReader pages;
};

// The page's title, or the path itself when there is none. Never fails, never blocks.
QString ExtractTitle(const QString& path);

// Drops carriage returns and turns line feeds into spaces.
//
// No reader calls this any more: a title's whitespace, line breaks included, is collapsed as a
// browser collapses it. It stays because it is one of the program's named routines, small and
// tested, for anyone who wants a label on one line without the rest of that cleaning.
QString FlattenLineBreaks(const QString& text);

} // namespace pagewick
