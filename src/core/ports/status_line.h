#pragma once

#include <string>

namespace listora {

// The main window's one-field status line. A command that runs long (a copy
// of many files) sets it as it goes, and the window shows each text at once.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void show(const std::string& text) = 0;
};

}  // namespace listora
