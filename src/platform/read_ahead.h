#pragma once
// Handoff the other way round: a second thread makes items (reads a file a
// piece at a time) ahead of the caller, who takes them in the order they
// were made while the next is being made. At most two wait, so memory stays
// bounded, and the room of an item taken goes back to be made into again.
// What the making throws comes back to the caller once the items made
// before it have been taken.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace listora {

template <typename Item>
class ReadAhead {
public:
    // make(item) fills an item, whose old contents it may reuse; false when
    // there is nothing more to make.
    explicit ReadAhead(std::function<bool(Item&)> make) : make_(std::move(make)), thread_([this] { run(); }) {}
    // Stops making, once the item being made, if any, is done.
    ~ReadAhead() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        room_.notify_one();
        thread_.join();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next item, in place of `item`, whose room is made into again;
    // false after the last. Rethrows what the making threw.
    bool next(Item& item) {
        std::unique_lock lock(mutex_);
        spare_.push_back(std::move(item));
        made_.wait(lock, [&] { return !waiting_.empty() || ended_; });
        if (waiting_.empty()) {
            if (failure_) std::rethrow_exception(failure_);
            return false;
        }
        item = std::move(waiting_.front());
        waiting_.pop_front();
        room_.notify_one();
        return true;
    }

private:
    static constexpr std::size_t kWaiting = 2;

    void run() {
        for (;;) {
            Item item;
            {
                std::unique_lock lock(mutex_);
                room_.wait(lock, [&] { return waiting_.size() < kWaiting || stopped_; });
                if (stopped_) return;
                if (!spare_.empty()) {
                    item = std::move(spare_.back());
                    spare_.pop_back();
                }
            }
            bool made = false;
            std::exception_ptr failure;
            try {
                made = make_(item);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                if (made) {
                    try {
                        waiting_.push_back(std::move(item));
                    } catch (...) {  // no room for the queue: a failure like the making's
                        made = false;
                        failure = std::current_exception();
                    }
                }
                if (!made) {
                    ended_ = true;
                    failure_ = failure;
                }
            }
            made_.notify_one();
            if (!made) return;
        }
    }

    std::function<bool(Item&)> make_;
    std::mutex mutex_;
    std::condition_variable made_;
    std::condition_variable room_;
    std::deque<Item> waiting_;
    std::vector<Item> spare_;  // rooms taken back, for the next items
    std::exception_ptr failure_;
    bool ended_ = false;
    bool stopped_ = false;
    std::thread thread_;  // last, so that it starts after what it uses
};

}  // namespace listora
