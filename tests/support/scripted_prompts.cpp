#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace listora::test {

Answer ScriptedPrompts::nextAnswer() {
    if (answers.empty()) {
        ADD_FAILURE() << "a question was asked that the test did not expect: " << shown.back();
        return Answer::Cancel;
    }
    const Answer next = answers.front();
    answers.pop_front();
    return next;
}

std::optional<FileChoice> ScriptedPrompts::nextChoice(const FileDialogRequest& request) {
    dialogs.push_back(request);
    if (choices.empty()) {
        ADD_FAILURE() << "a file dialog was shown that the test did not expect";
        return std::nullopt;
    }
    std::optional<FileChoice> next = choices.front();
    choices.pop_front();
    return next;
}

void ScriptedPrompts::information(const std::string& text) { shown.push_back("info: " + text); }

namespace {

std::string buttonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo:
            return "[YN]";
        case Buttons::YesNoCancel:
            return "[YNC]";
        case Buttons::YesCancel:
            return "[YC]";
    }
    return "[?]";
}

}  // namespace

Answer ScriptedPrompts::confirm(Question question, const std::string& text, Buttons buttons) {
    questions.push_back(question);
    shown.push_back("confirm" + buttonsOf(buttons) + ": " + text);
    return nextAnswer();
}

Answer ScriptedPrompts::warn(Question question, const std::string& text, Buttons buttons) {
    questions.push_back(question);
    shown.push_back("warn" + buttonsOf(buttons) + ": " + text);
    return nextAnswer();
}

void ScriptedPrompts::error(const std::string& text) { shown.push_back("error: " + text); }

std::optional<FileChoice> ScriptedPrompts::askOpenFile(const FileDialogRequest& request) {
    shown.push_back("open");
    return nextChoice(request);
}

std::optional<FileChoice> ScriptedPrompts::askSaveFile(const FileDialogRequest& request) {
    shown.push_back("save");
    return nextChoice(request);
}

}  // namespace listora::test
