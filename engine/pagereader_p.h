#pragma once

// Private to the engine: the page reader's own entry point, and where it gets a page's bytes
// from. The POSIX build reads through file descriptors (pagesource_posix.cpp), others through
// QFile (pagesource_qt.cpp); CMake picks one, so the reader itself holds no platform code.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include "engine/pagefacts.h"

#include <memory>
#include <optional>

namespace pagewick::detail {

class PageSource {
public:
    virtual ~PageSource() = default;
    // Up to size bytes from offset; fewer only at the end of the page, 0 there, -1 on failure.
    virtual qsizetype readAt(qint64 offset, char* into, qsizetype size) = 0;
    // Like readAt, but a hole in the file (a run of zeros the file system does not store) is
    // skipped rather than read: *dataAt receives the offset of the first byte returned, and the
    // bytes from offset up to there are zeros.
    virtual qsizetype readDataFrom(qint64 offset, char* into, qsizetype size, qint64* dataAt) {
        *dataAt = offset;
        return readAt(offset, into, size);
    }
    // When the page was last modified (UTC); invalid when unknown.
    virtual QDateTime lastModified() const { return {}; }
    // The page's size in bytes as it was opened; -1 when unknown.
    virtual qint64 byteSize() const { return -1; }
};

// Bytes in memory seen as a page.
class MemorySource : public PageSource {
public:
    explicit MemorySource(QByteArrayView bytes) : bytes(bytes) {}
    qsizetype readAt(qint64 offset, char* into, qsizetype size) override;

private:
    QByteArrayView bytes;
};

// A folder whose pages are opened one after the other, the folder itself found once.
class PageFolder {
public:
    explicit PageFolder(const QString& folderText);
    ~PageFolder();
    PageFolder(const PageFolder&) = delete;
    PageFolder& operator=(const PageFolder&) = delete;

    // The listed page, or nullptr when it is not a regular file that can be read (a FIFO, a
    // device, a folder, gone); then whyNot, when given, receives the reason. Opening never blocks.
    std::unique_ptr<PageSource> open(const QString& pageName, QString* whyNot = nullptr) const;

    // The page file at a full path, as open() would give it.
    static std::unique_ptr<PageSource> openPath(const QString& path, QString* whyNot = nullptr);

private:
    QString folderText;
    int folderHandle = -1;
    // The sub-folder of the page opened last (a relative path's folder part), held open: pages
    // come folder by folder, and a page opened relative to its own folder costs one name lookup
    // rather than one per part of its path.
    mutable QByteArray subFolder;
    mutable int subFolderHandle = -1;
};

// Adds to the facts the reader noted (ReadPage with WantFindings) what takes the whole page:
// whether its bytes hold to the encoding it declares.
void ExaminePage(PageSource& source, PageFacts& facts);

// What PageFacts::readError says of a page whose reading failed partway.
inline QString ReadFailed() {
    return QStringLiteral("a read failed");
}

// Bounds that keep every page's cost finite, whatever it holds.
inline constexpr qint64 kSearchedBytes = 256LL * 1024 * 1024; // page data looked through for a title

// What the reader made of one page.
struct PageReading {
    std::optional<QString> title;
    QDateTime date;                     // with WantDate
    std::optional<QString> description; // with WantDescription
    QByteArray encoding;                // with wantEncoding, or when the title needed decoding
    PageFacts facts; // with WantFindings: a failed read, the title element and the declarations
};

// Reads one page as far as the wanted facts (PageWant flags) need.
PageReading ReadPage(PageSource& source, unsigned wants, bool wantEncoding = false);

} // namespace pagewick::detail
