#pragma once
// The ports of the core for a terminal: message texts on standard output,
// errors on standard error, questions answered by the command's options
// (each option answers one question, known by its identity; any other is
// answered as a closed box answers),
// and a progress line on standard error when it is a terminal.

#include "core/fileops/transfer_engine.h"
#include "core/ports/prompts.h"
#include "core/ports/status_line.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace listora {

class ConsoleProgress;

class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(ConsoleProgress& progress) : progress_(progress) {}

    // Whether a playlist without "#EXTM3U" is read (--force).
    Answer headerAnswer = Answer::No;
    // Whether copied rows name the copies (--rewrite-paths).
    Answer copyAnswer = Answer::No;
    // A header question was answered No: a playlist was refused. Its text
    // goes to standard error at once.
    bool refused = false;
    // Where message texts go: standard error while a playlist is written to
    // standard output, so that they stay out of it.
    std::FILE* messages = stdout;

    void information(const std::string& text) override;
    Answer confirm(Question question, const std::string& text, Buttons buttons) override;
    Answer warn(Question question, const std::string& text, Buttons buttons) override;
    void error(const std::string& text) override;
    std::optional<FileChoice> askOpenFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> askSaveFile(const FileDialogRequest& request) override;

private:
    ConsoleProgress& progress_;
};

class ConsoleProgress : public StatusLine, public TransferProgress {
public:
    ConsoleProgress();
    ~ConsoleProgress() override;
    ConsoleProgress(const ConsoleProgress&) = delete;
    ConsoleProgress& operator=(const ConsoleProgress&) = delete;

    void show(const std::string& text) override;
    void rowStarting(std::size_t finished, std::size_t checked) override;
    // Takes the progress line away, so that a message starts on a clean line.
    void clear() { draw("", true); }

private:
    void draw(const std::string& text, bool always);

    bool terminal_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace listora
