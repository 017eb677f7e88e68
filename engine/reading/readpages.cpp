// Reading many pages at once. Pages are independent, so a few threads read them side by side: on
// a warm cache that spreads the system calls and the tokenizing over the processors, on a cold one
// it keeps several reads waiting on the disk at a time. Records still leave in list order.

#include "engine/reading/pagereader.h"

#include <QByteArray>
#include <QHashFunctions>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include <sched.h>
#include <sys/resource.h>

namespace pagewick {

namespace {

// Readers take pages a batch at a time, so that they meet each other and the thread handing the
// records on once a batch rather than once a page.
constexpr qsizetype kBatch = 128;
// How many batches the readers may run ahead of the one handed on last: the records waiting are
// all the memory reading in parallel costs, whatever the number of pages. With more readers than
// processors, the reader of the oldest batch may wait for a processor for a while; the others
// must have room to go on meanwhile, or all but one stop (16 batches halved the speed of eight
// readers on two processors).
constexpr qsizetype kBatchesAhead = 64;
// Fewer pages than this are read on the calling thread: starting threads would cost more.
constexpr qsizetype kFewPages = 64;
constexpr int kMostThreads = 64;

// The batches between the one handed on last and the furthest a reader may take, in a ring.
class OrderedRing {
public:
    explicit OrderedRing(qsizetype pages)
        : batches((pages + kBatch - 1) / kBatch), slots(size_t(std::min(batches, kBatchesAhead))) {}

    qsizetype batchCount() const { return batches; }

    // The next batch for a reader, waiting while the ring is full; -1 when none is left.
    qsizetype take() {
        std::unique_lock lock(mutex);
        if (next >= batches || stopped)
            return -1;
        const qsizetype b = next++;
        if (b >= handed + qsizetype(slots.size())) {
            ++readersWaiting;
            roomFreed.wait(lock, [&] { return b < handed + qsizetype(slots.size()) || stopped; });
            --readersWaiting;
        }
        return stopped ? -1 : b;
    }

    void put(qsizetype b, std::vector<PageRecord>&& records) {
        bool wake = false;
        {
            const std::lock_guard lock(mutex);
            Slot& slot = slots[size_t(b % qsizetype(slots.size()))];
            slot.records = std::move(records);
            slot.ready = true;
            wake = waitingFor == b;
        }
        if (wake)
            recordsPut.notify_one();
    }

    // The records of batch b, once read; b goes up by one each call.
    std::vector<PageRecord> get(qsizetype b) {
        std::unique_lock lock(mutex);
        Slot& slot = slots[size_t(b % qsizetype(slots.size()))];
        if (!slot.ready) {
            waitingFor = b;
            recordsPut.wait(lock, [&] { return slot.ready; });
            waitingFor = -1;
        }
        std::vector<PageRecord> records = std::move(slot.records);
        slot.records.clear();
        slot.ready = false;
        handed = b + 1;
        const bool wake = readersWaiting > 0;
        lock.unlock();
        if (wake)
            roomFreed.notify_all();
        return records;
    }

    // Lets waiting readers go when the records are no longer wanted.
    void stop() {
        {
            const std::lock_guard lock(mutex);
            stopped = true;
        }
        roomFreed.notify_all();
    }

private:
    struct Slot {
        std::vector<PageRecord> records;
        bool ready = false;
    };
    std::mutex mutex;
    std::condition_variable recordsPut;
    std::condition_variable roomFreed;
    const qsizetype batches;
    std::vector<Slot> slots;
    qsizetype next = 0;        // the next batch a reader takes
    qsizetype handed = 0;      // batches handed on so far
    qsizetype waitingFor = -1; // the batch the handing thread waits for
    int readersWaiting = 0;
    bool stopped = false;
};

// The number PAGEWICK_READERS sets, or 0.
int ReadersSet() {
    bool ok = false;
    const int set = qEnvironmentVariableIntValue("PAGEWICK_READERS", &ok);
    return ok && set >= 1 ? std::min(set, kMostThreads) : 0;
}

// How many readers the process's descriptor limit leaves room for: each holds up to three (its
// folder, the sub-folder of its page, the page), and the rest of the program keeps some too.
int ReadersDescriptorsAllow() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMostThreads;
    constexpr rlim_t kKeptElsewhere = 32, kPerReader = 4;
    if (limit.rlim_cur <= kKeptElsewhere + kPerReader)
        return 1;
    return int(std::min<rlim_t>((limit.rlim_cur - kKeptElsewhere) / kPerReader, rlim_t(kMostThreads)));
}

// Gives the calling thread a descriptor table of its own (a copy of the process's), for a reader
// that opens and closes thousands of pages: the system then takes no lock shared with the other
// readers for each open and close, and counts no reference for each read. The copies of the
// process's descriptors close when the thread ends; the files stay open for the rest of the
// process. Where the system refuses, the thread goes on with the shared table. ThreadSanitizer
// takes a descriptor's number to name the same file in every thread, and would see two readers'
// pages as one: built with it, the readers keep the shared table.
#if defined(__SANITIZE_THREAD__)
#define PAGEWICK_THREAD_SANITIZER
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PAGEWICK_THREAD_SANITIZER
#endif
#endif
void UseOwnDescriptorTable() {
#ifndef PAGEWICK_THREAD_SANITIZER
    ::unshare(CLONE_FILES);
#endif
}

// At most this many pages are read ahead of the listing's end (a listing of 100,000 names leaves
// time for about 10,000): their records wait in memory until their turn.
constexpr qsizetype kMostReadAhead = 32768;
// The listing hands its names to the reading-ahead thread this many at a time.
constexpr qsizetype kOfferBatch = 32;

// Where each record read ahead is, by page name. Every page of the folder is looked up and most
// are not there: the table is open, half of it empty, and each slot keeps its name's hash, so that
// a page not there is told from its slots alone, without a look at any record.
class RecordsByName {
public:
    void build(const std::vector<PageRecord>& records) {
        size_t size = 16;
        while (size < records.size() * 2)
            size *= 2;
        slots.assign(size, Slot{});
        for (size_t i = 0; i < records.size(); ++i) {
            const quint32 hash = Hash(records[i].name);
            size_t at = hash & (size - 1);
            while (slots[at].index != 0)
                at = (at + 1) & (size - 1);
            slots[at] = {hash, quint32(i + 1)};
        }
    }
    // Where the record of name is in records, or -1.
    qsizetype find(const QString& name, const std::vector<PageRecord>& records) const {
        if (slots.empty())
            return -1;
        const quint32 hash = Hash(name);
        const size_t mask = slots.size() - 1;
        for (size_t at = hash & mask; slots[at].index != 0; at = (at + 1) & mask) {
            const size_t i = slots[at].index - 1;
            if (slots[at].hash == hash && records[i].name == name)
                return qsizetype(i);
        }
        return -1;
    }

private:
    static quint32 Hash(const QString& name) { return quint32(qHash(name)); }

    struct Slot {
        quint32 hash = 0;
        quint32 index = 0; // the record's index + 1; 0 is an empty slot
    };
    std::vector<Slot> slots;
};

} // namespace

struct PageReadAhead::Private {
    Private(const QString& folderText, PageWants wants) : folderText(folderText), wants(wants) {}

    // Publishes the names offered since the last time, and starts reading once there are enough.
    void hand() {
        {
            const std::lock_guard lock(mutex);
            names.append(pending);
            if (!reader.joinable() && names.size() >= kFewPages) {
                try {
                    reader = std::thread([this] { run(); });
                } catch (const std::system_error&) {
                    off = true; // no thread to spare: the pages are read in their turn
                }
            }
        }
        pending.clear();
        offered.notify_one();
    }

    // The reading-ahead thread: the names in the order they were offered, until stopped.
    void run() {
        UseOwnDescriptorTable();
        const FolderPageReader pageReader(folderText);
        // Room for the most records at once, so that the vector is never copied as it grows; the
        // system gives memory only for the part filled.
        read.reserve(size_t(kMostReadAhead));
        qsizetype next = 0;
        for (;;) {
            QStringList batch;
            {
                std::unique_lock lock(mutex);
                offered.wait(lock, [&] { return stopped.load() || next < names.size(); });
                if (stopped)
                    return;
                batch = names.sliced(next);
                next = names.size();
            }
            for (const QString& name : batch) {
                if (stopped.load(std::memory_order_relaxed))
                    return;
                read.push_back(pageReader.read(name, wants));
            }
        }
    }

    const QString folderText;
    const PageWants wants;
    // Reading ahead pays only where the pages would be read on several threads anyway.
    bool off = PageReaderThreads() <= 1;
    bool finished = false;
    QStringList pending; // the listing thread's, until handed on
    qsizetype offeredCount = 0;
    std::mutex mutex;
    std::condition_variable offered;
    QStringList names; // handed on, in listing order
    std::atomic<bool> stopped = false;
    std::thread reader;
    std::vector<PageRecord> read; // the records, the reading-ahead thread's until finish
    // After finish: where each page's record is in read, and whether it was taken.
    RecordsByName readAt;
    std::unique_ptr<std::atomic<bool>[]> taken;
};

PageReadAhead::PageReadAhead(const QString& folderText, PageWants wants)
    : d(std::make_unique<Private>(folderText, wants)) {}

PageReadAhead::~PageReadAhead() {
    finish();
}

void PageReadAhead::offer(const QString& pageName) {
    if (d->off || d->finished || d->offeredCount >= kMostReadAhead)
        return;
    ++d->offeredCount;
    d->pending.append(pageName);
    if (d->pending.size() >= kOfferBatch)
        d->hand();
}

void PageReadAhead::finish() {
    if (d->finished)
        return;
    d->finished = true;
    {
        const std::lock_guard lock(d->mutex);
        d->stopped = true;
    }
    d->offered.notify_one();
    if (d->reader.joinable())
        d->reader.join();
    d->readAt.build(d->read);
    d->taken = std::make_unique<std::atomic<bool>[]>(d->read.size());
    d->names = {};
    d->pending = {};
}

bool PageReadAhead::serves(const QString& folderText, PageWants wants) const {
    return d->folderText == folderText && d->wants == wants;
}

std::optional<PageRecord> PageReadAhead::take(const QString& pageName) {
    if (d->read.empty())
        return std::nullopt;
    const qsizetype at = d->readAt.find(pageName, d->read);
    if (at < 0 || d->taken[size_t(at)].exchange(true))
        return std::nullopt;
    return std::move(d->read[size_t(at)]);
}

int PageReaderThreads() {
    if (const int set = ReadersSet())
        return set;
    // A few per processor: on a cold cache most readers wait on the disk.
    const int processors = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(processors * 2, 2, 8);
}

void ForEachPage(const QString& folderText, const QStringList& pageNames, PageWants wants,
                 const std::function<void(PageRecord&&)>& sink, PageReadAhead* readAhead) {
    if (readAhead) {
        readAhead->finish();
        if (!readAhead->serves(folderText, wants))
            readAhead = nullptr;
    }
    const auto readPage = [&](const FolderPageReader& reader, const QString& name) {
        if (readAhead) {
            if (std::optional<PageRecord> record = readAhead->take(name))
                return std::move(*record);
        }
        return reader.read(name, wants);
    };
    // A number set is taken however few the pages, so that its effect can be seen on any folder.
    const int set = ReadersSet();
    const int wanted = set                            ? int(std::min<qsizetype>(set, pageNames.size()))
                       : pageNames.size() < kFewPages ? 1
                                                      : PageReaderThreads();
    // Out of descriptors, a reader could not open its pages: they would be labelled unreadable.
    const int threads = std::min(wanted, ReadersDescriptorsAllow());
    const auto readHere = [&] {
        const FolderPageReader reader(folderText);
        for (const QString& name : pageNames)
            sink(readPage(reader, name));
    };
    if (threads <= 1)
        return readHere();
    OrderedRing ring(pageNames.size());
    const qsizetype count = pageNames.size();
    std::vector<std::thread> readers;
    readers.reserve(size_t(threads));
    const auto readBatches = [&] {
        UseOwnDescriptorTable();
        // Each reader holds its own handles on the folder and the sub-folder it is in.
        const FolderPageReader reader(folderText);
        for (qsizetype b = ring.take(); b >= 0; b = ring.take()) {
            std::vector<PageRecord> records;
            records.reserve(size_t(kBatch));
            for (qsizetype i = b * kBatch; i < std::min(count, (b + 1) * kBatch); ++i)
                records.push_back(readPage(reader, pageNames[i]));
            ring.put(b, std::move(records));
        }
    };
    for (int t = 0; t < threads; ++t) {
        // A thread that cannot be started (a limit on processes, no memory) leaves the work to
        // those that could; with none, the pages are read here.
        try {
            readers.emplace_back(readBatches);
        } catch (const std::system_error&) {
            break;
        }
    }
    if (readers.empty())
        return readHere();
    struct Joiner {
        OrderedRing& ring;
        std::vector<std::thread>& readers;
        ~Joiner() {
            ring.stop();
            for (std::thread& reader : readers)
                reader.join();
        }
    } joiner{ring, readers};
    for (qsizetype b = 0; b < ring.batchCount(); ++b) {
        for (PageRecord& record : ring.get(b))
            sink(std::move(record));
    }
}

} // namespace pagewick
