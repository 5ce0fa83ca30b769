#pragma once
// How far a long read has come, for a window that the read holds: the
// reader tells a port now and then, and nothing at all for a file that is
// read in a moment.

#include <cstdint>
#include <optional>

namespace listora {

class ReadProgress {
public:
    virtual ~ReadProgress() = default;
    // So many of the file's bytes are read; the figures grow from call to
    // call and come to the file's size when the read reaches its end.
    virtual void advanced(std::uint64_t bytesRead, std::uint64_t fileBytes) = 0;
    // The read that advanced is over: read through, broken off or refused.
    virtual void ended() = 0;
};

// Tells the port a mebibyte at a time during a read of a long file, and once
// more at the file's end; a comparison a line costs the read nothing it
// could measure. Ends what it began when it goes, however the read ends.
class ReadProgressMeter {
public:
    // Files up to this size are read too quickly for an indicator to be seen.
    static constexpr std::uint64_t kLongFile = std::uint64_t{16} << 20;
    static constexpr std::uint64_t kStep = std::uint64_t{1} << 20;

    // No port, or a size that cannot be had, reports nothing.
    ReadProgressMeter(ReadProgress* port, std::optional<std::uint64_t> fileBytes);
    ~ReadProgressMeter();
    ReadProgressMeter(const ReadProgressMeter&) = delete;
    ReadProgressMeter& operator=(const ReadProgressMeter&) = delete;

    void at(std::uint64_t bytesRead) {
        if (bytesRead >= next_) report(bytesRead);
    }

private:
    void report(std::uint64_t bytesRead);

    ReadProgress* port_;
    std::uint64_t fileBytes_;
    std::uint64_t next_;  // never reached when nothing is to be reported
    bool advanced_ = false;
};

}  // namespace listora
