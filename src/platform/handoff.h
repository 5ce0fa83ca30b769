#pragma once
// Work split between two threads in a row: the caller makes items (a
// playlist's rows, a piece of the file at a time) and hands each over; a
// second thread does the rest of the work on them (writing them out), in
// the order they were handed, while the caller makes the next. At most two
// items wait, so memory stays bounded. What the work throws comes back to
// the caller.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace listora {

template <typename Item>
class Handoff {
public:
    explicit Handoff(std::function<void(Item&)> work) : work_(std::move(work)), thread_([this] { run(); }) {}
    // Items not yet begun are dropped: a caller that leaves by an exception
    // does not wait for work it no longer wants.
    ~Handoff() {
        {
            const std::lock_guard lock(mutex_);
            waiting_.clear();
        }
        stop();
    }
    Handoff(const Handoff&) = delete;
    Handoff& operator=(const Handoff&) = delete;

    // Hands an item over, waiting while two wait already; rethrows what the
    // work threw, after which nothing more is done.
    void hand(Item item) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return waiting_.size() < kWaiting || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        waiting_.push_back(std::move(item));
        ready_.notify_one();
    }

    // Waits until every item handed over is done; rethrows what the work
    // threw.
    void finish() {
        stop();
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    static constexpr std::size_t kWaiting = 2;

    void stop() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        ready_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

    void run() {
        for (;;) {
            Item item;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [&] { return !waiting_.empty() || ended_; });
                if (waiting_.empty()) return;
                item = std::move(waiting_.front());
                waiting_.pop_front();
            }
            room_.notify_one();
            try {
                work_(item);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
                waiting_.clear();
                room_.notify_one();
                return;
            }
        }
    }

    std::function<void(Item&)> work_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    std::deque<Item> waiting_;
    std::exception_ptr failure_;
    bool ended_ = false;
    std::thread thread_;  // last, so that it starts after what it uses
};

}  // namespace listora
