#pragma once
// The system's clock, in the local time zone.

#include "core/ports/clock.h"

namespace listora {

class NativeClock : public Clock {
public:
    Date today() const override;
};

}  // namespace listora
