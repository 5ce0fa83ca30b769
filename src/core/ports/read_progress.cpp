#include "core/ports/read_progress.h"

#include <algorithm>
#include <limits>

namespace listora {

namespace {
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
}

ReadProgressMeter::ReadProgressMeter(ReadProgress* port, std::optional<std::uint64_t> fileBytes)
    : port_(port),
      fileBytes_(fileBytes.value_or(0)),
      next_(port && fileBytes && *fileBytes > kLongFile ? kStep : kNever) {}

ReadProgressMeter::~ReadProgressMeter() {
    if (advanced_) port_->ended();
}

void ReadProgressMeter::report(std::uint64_t bytesRead) {
    // A file that grew while it was read is shown full, never past full.
    const std::uint64_t shown = std::min(bytesRead, fileBytes_);
    advanced_ = true;
    port_->advanced(shown, fileBytes_);
    // The end of the file is reported as soon as it is reached.
    next_ = shown >= fileBytes_ ? kNever : std::min(bytesRead + kStep, fileBytes_);
}

}  // namespace listora
