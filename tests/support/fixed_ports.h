#pragma once
// A clock stopped on one day, and a status line and a shell that keep
// every text given to them. No GoogleTest here: the benchmark uses them.

#include "core/ports/clock.h"
#include "core/ports/shell.h"
#include "core/ports/status_line.h"

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

class RecordingShell : public Shell {
public:
    std::vector<std::string> shown;      // in the file manager
    std::vector<std::string> documents;  // opened with their viewer
    std::vector<std::string> addresses;  // opened in the browser
    void showInFileManager(const std::string& path) override { shown.push_back(path); }
    void openDocument(const std::string& path) override { documents.push_back(path); }
    void openWebAddress(const std::string& address) override { addresses.push_back(address); }
};

}  // namespace listora::test
