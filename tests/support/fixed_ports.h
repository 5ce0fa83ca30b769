#pragma once
// A clock stopped on one day and a status line that keeps every text shown.

#include "platform/clock.h"
#include "platform/status_line.h"

#include <string>
#include <vector>

namespace listora::test {

class FixedClock : public Clock {
public:
    Date day{2026, 12, 7};
    Date today() const override { return day; }
};

class RecordingStatusLine : public StatusLine {
public:
    std::vector<std::string> texts;
    void show(const std::string& text) override { texts.push_back(text); }
    std::string current() const { return texts.empty() ? std::string() : texts.back(); }
};

}  // namespace listora::test
