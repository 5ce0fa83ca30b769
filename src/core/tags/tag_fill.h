#pragma once
// Reads the tags of many rows' files on worker threads and writes them into
// the rows on the caller's thread, which alone touches the list.

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

namespace listora {

class MainList;
class PathRules;
class TagReader;

// Told on the caller's thread a few times a second while files are read:
// the window repaints and looks at its cancel button there.
class TagReadProgress {
public:
    virtual ~TagReadProgress() = default;
    // False stops the read: the rows filled so far stay, the rest as they were.
    virtual bool carryOn(std::size_t filesRead, std::size_t files) = 0;
};

struct TagReadLimits {
    // One thread per core; reading a tag is a few small reads.
    unsigned threads = defaultTagReadThreads();
    // A file whose read takes longer (a stalled network share) is skipped
    // as unreadable; its thread is left to end on its own.
    std::chrono::milliseconds perFile{10'000};
    // How often the progress is told and finished reads are written.
    std::chrono::milliseconds tick{50};

    static unsigned defaultTagReadThreads();
};

struct TagFillOutcome {
    std::size_t filled = 0;
    // The rows whose file could not be read, in list order.
    std::vector<std::size_t> unreadable;
    bool cancelled = false;
};

// Fills `rows` (indexes into the list) from their files' tags (tag_rows.h),
// telling the list once per batch. `reader` is shared with the worker
// threads, which may outlive the call after a cancel or a file past its
// bound.
TagFillOutcome fillRowsFromTags(MainList& list, const std::vector<std::size_t>& rows,
                                const std::shared_ptr<TagReader>& reader, const PathRules& rules,
                                TagReadProgress* progress, const TagReadLimits& limits = {});

}  // namespace listora
