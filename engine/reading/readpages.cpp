// Reading many pages at once. Pages are independent, so a few threads read them side by side: on
// a warm cache that spreads the system calls and the tokenizing over the processors, on a cold one
// it keeps several reads waiting on the disk at a time. Records still leave in list order.

#include "engine/reading/pagereader.h"

#include <QByteArray>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include <sys/resource.h>
#include <vector>

namespace pagewick {

namespace {

// Readers take pages a batch at a time, so that they meet each other and the thread handing the
// records on once a batch rather than once a page.
constexpr qsizetype kBatch = 128;
// How many batches the readers may run ahead of the one handed on last: the records waiting are
// all the memory reading in parallel costs, whatever the number of pages.
constexpr qsizetype kBatchesAhead = 16;
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

} // namespace

int PageReaderThreads() {
    if (const int set = ReadersSet())
        return set;
    // A few per processor: on a cold cache most readers wait on the disk.
    const int processors = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(processors * 2, 2, 8);
}

void ForEachPage(const QString& folderText, const QStringList& pageNames, PageWants wants,
                 const std::function<void(PageRecord&&)>& sink) {
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
            sink(reader.read(name, wants));
    };
    if (threads <= 1)
        return readHere();
    OrderedRing ring(pageNames.size());
    const qsizetype count = pageNames.size();
    std::vector<std::thread> readers;
    readers.reserve(size_t(threads));
    const auto readBatches = [&] {
        // Each reader holds its own handles on the folder and the sub-folder it is in.
        const FolderPageReader reader(folderText);
        for (qsizetype b = ring.take(); b >= 0; b = ring.take()) {
            std::vector<PageRecord> records;
            records.reserve(size_t(kBatch));
            for (qsizetype i = b * kBatch; i < std::min(count, (b + 1) * kBatch); ++i)
                records.push_back(reader.read(pageNames[i], wants));
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
