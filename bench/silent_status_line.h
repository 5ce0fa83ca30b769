#pragma once

#include "core/ports/status_line.h"

namespace bench {

// The benchmark has no window: what a long command shows as it goes is
// dropped, though the command still makes the texts.
class SilentStatusLine : public listora::StatusLine {
public:
    void show(const std::string&) override {}
};

}  // namespace bench
