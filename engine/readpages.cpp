// Reading many pages at once. Pages are independent, so a few threads read them side by side: on
// a warm cache that spreads the system calls and the tokenizing over the processors, on a cold one
// it keeps several reads waiting on the disk at a time. Records still leave in list order.

#include "engine/pagereader.h"

#include <QByteArray>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pagewick {

namespace {

// How far the readers may run ahead of the record handed on last: the records waiting are all the
// memory reading in parallel costs, whatever the number of pages.
constexpr qsizetype kAhead = 256;
// Fewer pages than this are read on the calling thread: starting threads would cost more.
constexpr qsizetype kFewPages = 64;
constexpr int kMostThreads = 64;

// The records between the one handed on last and the furthest a reader may take, in a ring.
class OrderedRing {
public:
    explicit OrderedRing(qsizetype count) : slots(size_t(std::min(count, kAhead))), count(count) {}

    // The next page for a reader, waiting while the ring is full; -1 when none is left.
    qsizetype take() {
        std::unique_lock lock(mutex);
        if (next >= count || stopped)
            return -1;
        const qsizetype i = next++;
        roomFreed.wait(lock, [&] { return i < handed + qsizetype(slots.size()) || stopped; });
        return stopped ? -1 : i;
    }

    void put(qsizetype i, PageRecord&& record) {
        {
            const std::lock_guard lock(mutex);
            slots[size_t(i % qsizetype(slots.size()))] = std::move(record);
        }
        recordPut.notify_one();
    }

    // The record of page i, once read; i goes up by one each call.
    PageRecord get(qsizetype i) {
        std::unique_lock lock(mutex);
        std::optional<PageRecord>& slot = slots[size_t(i % qsizetype(slots.size()))];
        recordPut.wait(lock, [&] { return slot.has_value(); });
        PageRecord record = std::move(*slot);
        slot.reset();
        handed = i + 1;
        lock.unlock();
        roomFreed.notify_all();
        return record;
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
    std::mutex mutex;
    std::condition_variable recordPut;
    std::condition_variable roomFreed;
    std::vector<std::optional<PageRecord>> slots;
    const qsizetype count;
    qsizetype next = 0;   // the next page a reader takes
    qsizetype handed = 0; // pages handed on so far
    bool stopped = false;
};

// The number PAGEWICK_READERS sets, or 0.
int ReadersSet() {
    bool ok = false;
    const int set = qEnvironmentVariableIntValue("PAGEWICK_READERS", &ok);
    return ok && set >= 1 ? std::min(set, kMostThreads) : 0;
}

} // namespace

int PageReaderThreads() {
    if (const int set = ReadersSet())
        return set;
    // A few per processor: on a cold cache most readers wait on the disk.
    const int processors = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(processors * 2, 2, 8);
}

void ForEachPage(const QString& folderText, const QStringList& pageNames, unsigned wants,
                 const std::function<void(PageRecord&&)>& sink) {
    // A number set is taken however few the pages, so that its effect can be seen on any folder.
    const int set = ReadersSet();
    const int threads = set                            ? int(std::min<qsizetype>(set, pageNames.size()))
                        : pageNames.size() < kFewPages ? 1
                                                       : PageReaderThreads();
    if (threads <= 1) {
        const FolderPageReader reader(folderText);
        for (const QString& name : pageNames)
            sink(reader.read(name, wants));
        return;
    }
    OrderedRing ring(pageNames.size());
    std::vector<std::thread> readers;
    readers.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t) {
        readers.emplace_back([&] {
            // Each reader holds its own handles on the folder and the sub-folder it is in.
            const FolderPageReader reader(folderText);
            for (qsizetype i = ring.take(); i >= 0; i = ring.take())
                ring.put(i, reader.read(pageNames[i], wants));
        });
    }
    struct Joiner {
        OrderedRing& ring;
        std::vector<std::thread>& readers;
        ~Joiner() {
            ring.stop();
            for (std::thread& reader : readers)
                reader.join();
        }
    } joiner{ring, readers};
    for (qsizetype i = 0; i < pageNames.size(); ++i)
        sink(ring.get(i));
}

} // namespace pagewick
