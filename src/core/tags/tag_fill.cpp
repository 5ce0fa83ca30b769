#include "core/tags/tag_fill.h"

#include "core/playlist/main_list.h"
#include "core/tags/tag_reader.h"
#include "core/tags/tag_rows.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace listora {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Result {
    std::size_t item;
    std::optional<TagInfo> tag;
};

// What the caller and the workers share. The workers are detached and hold
// it (and the reader) themselves, so a worker stuck in a file, or still
// reading when the caller has stopped, never touches freed memory, and the
// caller never waits for it. They never touch the list.
struct Shared {
    std::shared_ptr<TagReader> reader;
    std::vector<std::string> paths;

    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;
    std::size_t delivered = 0;
    bool stop = false;
    std::vector<Result> results;
    struct Worker {
        std::size_t item = kNone;
        Clock::time_point since;
        bool running = true;
        bool abandoned = false;  // its file was given up on
    };
    std::vector<Worker> workers;  // touched under the mutex only

    std::size_t live() const {
        return static_cast<std::size_t>(std::count_if(
            workers.begin(), workers.end(), [](const Worker& worker) { return worker.running && !worker.abandoned; }));
    }
};

void work(const std::shared_ptr<Shared>& shared, std::size_t id) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    while (!s.stop && !s.workers[id].abandoned && s.next < s.paths.size()) {
        const std::size_t item = s.next++;
        s.workers[id].item = item;
        s.workers[id].since = Clock::now();
        lock.unlock();
        std::optional<TagInfo> tag;
        try {
            tag = s.reader->read(s.paths[item]);
        } catch (const std::exception&) {
            // Out of memory on a broken file, say: unreadable like any other.
        }
        lock.lock();
        if (s.workers[id].abandoned) break;  // already counted as unreadable
        s.workers[id].item = kNone;
        s.results.push_back({item, std::move(tag)});
        ++s.delivered;
        if (s.delivered == s.paths.size()) s.changed.notify_all();
    }
    s.workers[id].running = false;
    s.changed.notify_all();
}

// Under the mutex. False when no thread can be had.
bool startWorker(const std::shared_ptr<Shared>& shared) {
    shared->workers.emplace_back();
    const std::size_t id = shared->workers.size() - 1;
    try {
        std::thread([shared, id] { work(shared, id); }).detach();
        return true;
    } catch (const std::system_error&) {
        shared->workers.pop_back();
        return false;
    }
}

// Under the mutex: the files read past the bound are counted unreadable and
// their workers replaced, so the rest still has its threads.
void giveUpOnStuckFiles(const std::shared_ptr<Shared>& shared, std::chrono::milliseconds bound,
                        std::vector<Result>& batch) {
    const Clock::time_point now = Clock::now();
    std::size_t replace = 0;
    for (Shared::Worker& worker : shared->workers) {
        if (!worker.running || worker.abandoned || worker.item == kNone || now - worker.since < bound) continue;
        worker.abandoned = true;
        batch.push_back({worker.item, std::nullopt});
        ++shared->delivered;
        ++replace;
    }
    while (replace-- > 0 && shared->next < shared->paths.size() && startWorker(shared)) {
    }
}

}  // namespace

unsigned TagReadLimits::defaultTagReadThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 16u); }

TagFillOutcome fillRowsFromTags(MainList& list, const std::vector<std::size_t>& rows,
                                const std::shared_ptr<TagReader>& reader, const PathRules& rules,
                                TagReadProgress* progress, const TagReadLimits& limits) {
    TagFillOutcome outcome;
    if (rows.empty()) return outcome;
    auto shared = std::make_shared<Shared>();
    shared->reader = reader;
    shared->paths.reserve(rows.size());
    for (const std::size_t row : rows) shared->paths.emplace_back(list.at(row).fullPath());
    {
        const std::lock_guard lock(shared->mutex);
        const std::size_t threads = std::min<std::size_t>(std::max(limits.threads, 1u), rows.size());
        for (std::size_t i = 0; i < threads && startWorker(shared); ++i) {
        }
    }
    // Without any thread the files are read here, with no bound.
    if (shared->workers.empty()) {
        shared->workers.emplace_back();
        work(shared, 0);
    }

    std::size_t done = 0;
    for (;;) {
        std::vector<Result> batch;
        bool workersLeft = true;
        {
            std::unique_lock lock(shared->mutex);
            shared->changed.wait_for(lock, limits.tick,
                                     [&] { return shared->delivered == rows.size() || shared->live() == 0; });
            batch.swap(shared->results);
            giveUpOnStuckFiles(shared, limits.perFile, batch);
            workersLeft = shared->live() > 0;
        }
        std::size_t first = kNone;
        std::size_t last = 0;
        for (const Result& result : batch) {
            const std::size_t row = rows[result.item];
            if (!result.tag) {
                outcome.unreadable.push_back(row);
                continue;
            }
            fillRowFromTag(list.editRow(row), *result.tag, rules);
            ++outcome.filled;
            first = std::min(first, row);
            last = std::max(last, row);
        }
        if (first != kNone) list.rowsEdited(first, last);
        done += batch.size();
        if (done >= rows.size() || !workersLeft) break;
        if (progress && !progress->carryOn(done, rows.size())) {
            outcome.cancelled = true;
            const std::lock_guard lock(shared->mutex);
            shared->stop = true;
            break;
        }
    }
    std::sort(outcome.unreadable.begin(), outcome.unreadable.end());
    return outcome;
}

}  // namespace listora
