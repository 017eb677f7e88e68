#pragma once

#include "engine/reading/pagefacts.h"

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace pagewick {

// What an output needs from a page beyond its title. The reader reads a page only as far as the
// wanted facts need: with none wanted it stops at the end of the title.
enum PageWant : unsigned {
    WantTitle = 0,
    WantDate = 1u << 0,        // the date the page declares in its head, else the file's modification time
    WantDescription = 1u << 1, // <meta name="description">, as text
    WantFindings = 1u << 2,    // the facts a site check needs (PageFacts): the whole page is read
    WantSize = 1u << 3,        // the file's size in bytes, known from opening it: nothing more is read
};
Q_DECLARE_FLAGS(PageWants, PageWant)

// One listed page as it went through the reader.
struct PageRecord {
    QString name;                 // as listed (a bare name, or a relative path with sub-folders)
    std::optional<QString> title; // nullopt: no usable title, or the page could not be read
    QDateTime date;               // with WantDate: declared or last-modified (UTC); invalid when unknown
    std::optional<QString> description; // with WantDescription: the meta description, when the page has one
    // With WantFindings: why the page could not be read, its encoding; null otherwise, so that
    // the records of a big folder stay small.
    std::shared_ptr<const PageFacts> facts = {};
    qint64 size = -1; // with WantSize: the page's size in bytes; -1 when it could not be opened
};

// Reads many pages of one folder, opening the folder once. Never fails, never blocks: a page that
// cannot be read gives a record with no title.
class FolderPageReader {
public:
    explicit FolderPageReader(const QString& folderText);
    ~FolderPageReader();
    FolderPageReader(const FolderPageReader&) = delete;
    FolderPageReader& operator=(const FolderPageReader&) = delete;

    PageRecord read(const QString& pageName, PageWants wants = WantTitle) const;

private:
    struct Private;
    Private* d;
};

// Every listed page through one reader, in the given order.
QList<PageRecord> ReadPages(const QString& folderText, const QStringList& pageNames,
                            PageWants wants = WantTitle);

class PageReadAhead;

// Reads the listed pages on a few threads at once (PageReaderThreads) and hands each record to
// sink, on the calling thread, in the order of pageNames whatever order the reads finish in. Only
// the records of a bounded number of pages wait at any time. With readAhead, the pages it read
// are taken from it rather than read again (when it read the same folder with the same wants).
void ForEachPage(const QString& folderText, const QStringList& pageNames, PageWants wants,
                 const std::function<void(PageRecord&&)>& sink, PageReadAhead* readAhead = nullptr);

// Pages read while their folder is still being listed, so that reading need not wait for the
// listing's last name: the listing offers each page as it finds it, a thread of its own reads
// them in that order, and ForEachPage, given the read-ahead, takes the records read so far rather
// than reading those pages again. Reading ahead stops when ForEachPage starts (or at finish), and
// holds at most a bounded number of records. It reads only with more than one reader thread
// (PageReaderThreads) and once a folder has more than a few pages.
class PageReadAhead {
public:
    // Reads the pages of folderText with wants: ForEachPage takes its records only for the same
    // folder and the same wants.
    PageReadAhead(const QString& folderText, PageWants wants);
    ~PageReadAhead();
    PageReadAhead(const PageReadAhead&) = delete;
    PageReadAhead& operator=(const PageReadAhead&) = delete;

    // A page the listing found (on the listing's thread).
    void offer(const QString& pageName);
    // Stops reading ahead; the records read so far are kept for ForEachPage.
    void finish();

    // After finish: whether the records are those of folderText's pages read with wants.
    bool serves(const QString& folderText, PageWants wants) const;
    // After finish: the record read ahead for the page, handed out once; nullopt when the page
    // was not read ahead. Safe to call from several threads at once.
    std::optional<PageRecord> take(const QString& pageName);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// How many threads read pages at once: PAGEWICK_READERS when it is set to a whole number from 1
// up (1 reads on the calling thread alone), else a few for each processor.
int PageReaderThreads();

// A page file's creation and last-modified times, in local time; each invalid when the file system
// does not record it or the file cannot be reached.
struct PageTimes {
    QDateTime created;
    QDateTime lastModified;
};
PageTimes ReadPageTimes(const QString& path);

} // namespace pagewick

// At global scope, as Qt asks, so that they hide no other operator| (Qt::CTRL | Qt::Key_O).
Q_DECLARE_OPERATORS_FOR_FLAGS(pagewick::PageWants)
