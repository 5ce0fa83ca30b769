#pragma once
// Prompts for a read that must never ask: any question is a fault.

#include "core/ports/prompts.h"

#include <cstdlib>

namespace listora::fuzz {

class NoPrompts : public Prompts {
public:
    void information(const std::string&) override { std::abort(); }
    Answer confirm(Question, const std::string&, Buttons) override { std::abort(); }
    Answer warn(Question, const std::string&, Buttons) override { std::abort(); }
    void error(const std::string&) override { std::abort(); }
    std::optional<FileChoice> askOpenFile(const FileDialogRequest&) override { std::abort(); }
    std::optional<FileChoice> askSaveFile(const FileDialogRequest&) override { std::abort(); }
};

}  // namespace listora::fuzz
