#pragma once
// Prompts with answers scripted by the test; every text shown is recorded
// with its kind, so a test can check the exact messages and their order.

#include "core/ports/prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace listora::test {

class ScriptedPrompts : public Prompts {
public:
    // Answers for confirm() and warn(), taken in order.
    ScriptedPrompts& answer(Answer next) {
        answers.push_back(next);
        return *this;
    }
    // Results of the next file dialogs (open or save), taken in order;
    // std::nullopt cancels the dialog.
    ScriptedPrompts& choose(std::optional<FileChoice> next) {
        choices.push_back(std::move(next));
        return *this;
    }

    void information(const std::string& text) override;
    Answer confirm(Question question, const std::string& text, Buttons buttons) override;
    Answer warn(Question question, const std::string& text, Buttons buttons) override;
    void error(const std::string& text) override;
    std::optional<FileChoice> askOpenFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> askSaveFile(const FileDialogRequest& request) override;

    // "info: …", "confirm[YNC]: …" (with the buttons offered: Y, N, C),
    // "warn[YC]: …", "error: …", "open", "save".
    std::vector<std::string> shown;
    std::vector<Question> questions;  // of confirm() and warn(), in order
    std::vector<FileDialogRequest> dialogs;
    std::deque<Answer> answers;
    std::deque<std::optional<FileChoice>> choices;

private:
    Answer nextAnswer();
    std::optional<FileChoice> nextChoice(const FileDialogRequest& request);
};

}  // namespace listora::test
