#pragma once

// Private to the engine: the page reader's own entry point, and where it gets a page's bytes
// from (file descriptors, pagesource_posix.cpp), so the reader itself holds no platform code.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include "engine/reading/pagefacts.h"
#include "engine/reading/pagereader.h"

#include <memory>
#include <optional>

namespace pagewick::detail {

class PageSource {
public:
    virtual ~PageSource() = default;
    // Up to size bytes from offset; fewer only at the end of the page (so a short read is the
    // whole rest of it), 0 there, -1 on failure.
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
    // After a read failed: whether that is because the page is not a regular file.
    virtual bool notRegular() { return false; }
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

    // The listed page, or nullptr when it cannot be opened (gone, not allowed); then whyNot, when
    // given, receives the reason. Opening never blocks. The page is taken to be a regular file, as
    // the listing found it; one that is not by now (a FIFO, a device, a folder put in its place)
    // is never waited for, is read no further than a megabyte, and a read that finds it out fails.
    std::unique_ptr<PageSource> open(const QString& pageName, QString* whyNot = nullptr) const;

    // The page file at a full path; nullptr also when it is not a regular file.
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

// Whether a page's bytes are UTF-8, looked at as they are read, in order, the bytes of holes
// left out. The reader feeds it what it reads for the title; ExaminePage reads on from there, so
// that every byte of a page is read once.
class Utf8Scan {
public:
    // The bytes read at offset: where the bytes fed last ended, or further on past a hole.
    void feed(qint64 offset, QByteArrayView bytes);
    // The page ends where the bytes fed last ended.
    void end();
    // Nothing more to learn: the bytes broke, the bound on page data was reached, or the page ended.
    bool decided() const { return brokenAt >= 0 || cut || ended; }
    qint64 next() const { return offset; } // where the next bytes to feed start

    qint64 brokenAt = -1; // where the first sequence that breaks UTF-8 starts
    bool nonAscii = false;
    bool cut = false; // stopped at the bound on page data

private:
    qint64 offset = 0;
    qint64 examined = 0;
    char carried[3] = {};
    qsizetype carriedSize = 0; // a sequence cut short by the end of the bytes fed last
    bool ended = false;
};

// What PageFacts::readError says of a page whose reading failed partway.
inline QString ReadFailed() {
    return QStringLiteral("a read failed");
}

// What it says of a page that is not a regular file (a FIFO, a device, a folder).
inline QString NotRegularFile() {
    return QStringLiteral("not a regular file");
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
    Utf8Scan scan;   // with WantFindings: the bytes read, as far as the reader went
};

// Reads one page as far as the wanted facts (PageWant flags) need.
PageReading ReadPage(PageSource& source, PageWants wants, bool wantEncoding = false);

} // namespace pagewick::detail
