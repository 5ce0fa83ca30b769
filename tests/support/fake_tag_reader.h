#pragma once
// A TagReader answering from a table by path; a path listed as held waits
// until release(), as a file on a stalled share would. Thread-safe.

#include "core/tags/tag_reader.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

namespace listora::test {

class FakeTagReader : public TagReader {
public:
    std::map<std::string, TagInfo> tags;  // any other path cannot be read
    std::set<std::string> held;

    std::optional<TagInfo> read(const std::string& path) override {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [&] { return open_ || !held.count(path); });
        const auto found = tags.find(path);
        if (found == tags.end()) return std::nullopt;
        return found->second;
    }
    void release() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool open_ = false;
};

}  // namespace listora::test
