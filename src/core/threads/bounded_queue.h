#pragma once
// Items passed from one thread to another in order through a queue of a few
// places, so that the two work at once while memory stays bounded: a
// playlist's pieces read ahead of the rows made from them, a conversion's
// rows written while the next piece is read.
//
// Either side can end the passing. The producer closes the queue after its
// last item, with the failure that ended it if one did: the consumer still
// gets every item before the failure. The consumer abandons the queue when
// it stops taking, with its own failure if one made it stop: what waits is
// dropped and the producer's next push says so.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace listora {

template <typename Item>
class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t places = 2) : places_(places) {}
    BoundedQueue(const BoundedQueue&) = delete;
    BoundedQueue& operator=(const BoundedQueue&) = delete;

    // Waits for a place; false, with the item left as it was, once the queue
    // is closed or abandoned.
    bool push(Item& item) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return waiting_.size() < places_ || closed_; });
        if (closed_) return false;
        waiting_.push_back(std::move(item));
        ready_.notify_one();
        return true;
    }

    // The same without waiting: false also when every place is taken.
    bool tryPush(Item& item) {
        const std::lock_guard lock(mutex_);
        if (closed_ || waiting_.size() >= places_) return false;
        waiting_.push_back(std::move(item));
        ready_.notify_one();
        return true;
    }

    // Waits for the next item; false once the queue is closed and empty.
    // Rethrows the failure it was closed with, after the items before it.
    bool pop(Item& item) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !waiting_.empty() || closed_; });
        if (waiting_.empty()) {
            if (failure_) std::rethrow_exception(failure_);
            return false;
        }
        item = std::move(waiting_.front());
        waiting_.pop_front();
        room_.notify_one();
        return true;
    }

    // The next item if one waits, without waiting.
    bool tryPop(Item& item) {
        const std::lock_guard lock(mutex_);
        if (waiting_.empty()) return false;
        item = std::move(waiting_.front());
        waiting_.pop_front();
        room_.notify_one();
        return true;
    }

    // The producer's end: no more items; the consumer gets those waiting.
    void close(std::exception_ptr failure = nullptr) { end(false, std::move(failure)); }

    // The consumer's end: what waits is dropped and pushes fail from now on.
    void abandon(std::exception_ptr failure = nullptr) { end(true, std::move(failure)); }

    // What the queue was ended with, if it was a failure.
    std::exception_ptr failure() const {
        const std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    void end(bool dropWaiting, std::exception_ptr failure) {
        {
            const std::lock_guard lock(mutex_);
            if (dropWaiting) waiting_.clear();
            if (!failure_) failure_ = std::move(failure);
            closed_ = true;
        }
        ready_.notify_all();
        room_.notify_all();
    }

    const std::size_t places_;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    std::deque<Item> waiting_;
    std::exception_ptr failure_;
    bool closed_ = false;
};

}  // namespace listora
