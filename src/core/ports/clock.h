#pragma once

namespace listora {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Today's local date; a port so that tests can fix the day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
};

}  // namespace listora
