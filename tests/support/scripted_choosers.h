#pragma once
// A folder chooser and a name input window that answer from the test and
// keep what they were asked.

#include "core/ports/choosers.h"

#include <string>
#include <vector>

namespace listora::test {

class ScriptedPicker : public FolderPicker {
public:
    std::optional<std::string> next;  // the answer to every pick
    std::vector<FolderPurpose> purposes;

    std::optional<std::string> pickFolder(FolderPurpose purpose) override {
        purposes.push_back(purpose);
        return next;
    }
};

class ScriptedNameAsker : public NameAsker {
public:
    std::optional<std::string> next;  // the answer to every question
    std::vector<std::string> asked;   // "mode name extension", the mode as its number

    std::optional<std::string> askName(NameMode mode, const std::string& name, const std::string& extension) override {
        asked.push_back(std::to_string(static_cast<int>(mode)) + " " + name + " " + extension);
        return next;
    }
};

}  // namespace listora::test
