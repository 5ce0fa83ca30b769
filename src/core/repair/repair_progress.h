#pragma once
// How far a search for broken entries' files has come, told a few times a
// second: the window paints there and looks at its cancel button.

#include <chrono>
#include <cstddef>

namespace listora {

struct RepairStep {
    std::size_t filesIndexed = 0;
    std::size_t rowsChecked = 0;
    std::size_t rows = 0;
};

class RepairProgress {
public:
    virtual ~RepairProgress() = default;
    // False stops the search; nothing it found is used.
    virtual bool carryOn(const RepairStep& step) = 0;
};

// Tells the port at most every `tick`, however often it is asked.
class RepairTicker {
public:
    explicit RepairTicker(RepairProgress* progress, std::chrono::milliseconds tick = std::chrono::milliseconds(50))
        : progress_(progress), tick_(tick) {}

    // False once the port said stop.
    bool carryOn(const RepairStep& step) {
        if (!progress_) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < tick_) return true;
        last_ = now;
        return progress_->carryOn(step);
    }

private:
    RepairProgress* progress_;
    std::chrono::milliseconds tick_;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace listora
