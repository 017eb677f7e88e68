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

// Reads the titles of many pages of one folder, each exactly as ReadPageTitle(PagePath(folderText,
// pageName)) would, but opening the folder once rather than walking its path for every page.
class FolderTitleReader {
public:
    explicit FolderTitleReader(const QString& folderText);
    ~FolderTitleReader();
    FolderTitleReader(const FolderTitleReader&) = delete;
    FolderTitleReader& operator=(const FolderTitleReader&) = delete;

    std::optional<QString> read(const QString& pageName) const;

private:
    QString folderText;
    int folderFd = -1;
};

// The page's title, or the path itself when there is none. Never fails, never blocks.
QString ExtractTitle(const QString& path);

// Drops carriage returns and turns line feeds into spaces.
QString FlattenLineBreaks(const QString& text);

} // namespace pagewick
