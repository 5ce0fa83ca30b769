#include "cli/console_ports.h"

#include "core/text/codepage.h"

#include <cstdio>
#include <unistd.h>

namespace listora {
namespace {

// The program's texts are in its code page; the terminal shows its own.
void writeLine(std::FILE* stream, const std::string& text) {
    const std::string shown = terminalText(text);
    std::fwrite(shown.data(), 1, shown.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void ConsolePrompts::information(const std::string& text) {
    progress_.clear();
    writeLine(messages, text);
}

void ConsolePrompts::error(const std::string& text) {
    progress_.clear();
    writeLine(stderr, text);
}

Answer ConsolePrompts::confirm(Question question, const std::string& text, Buttons) {
    switch (question) {
        case Question::ReadWithoutHeader:
            if (headerAnswer != Answer::Yes) {
                refused = true;
                error(text);
            }
            return headerAnswer;
        case Question::RewriteCopiedPaths:
            return copyAnswer;
        default:
            // No option answers it: as a closed box does.
            return Answer::Cancel;
    }
}

// Nothing on the command line asks these; they answer as a closed box does.
Answer ConsolePrompts::warn(Question, const std::string&, Buttons) { return Answer::Cancel; }
std::optional<FileChoice> ConsolePrompts::askOpenFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<FileChoice> ConsolePrompts::askSaveFile(const FileDialogRequest&) { return std::nullopt; }

ConsoleProgress::ConsoleProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}

ConsoleProgress::~ConsoleProgress() { clear(); }

void ConsoleProgress::show(const std::string& text) { draw(text, text.empty()); }

// The row being worked on, counted from 1: "3/10" while the third file moves.
void ConsoleProgress::rowStarting(std::size_t finished, std::size_t checked) {
    draw(std::to_string(finished + 1) + "/" + std::to_string(checked), false);
}

// Redrawn in place at most five times a second; an empty text clears it.
void ConsoleProgress::draw(const std::string& text, bool always) {
    if (!terminal_ || (text.empty() && !drawn_)) return;
    const auto now = std::chrono::steady_clock::now();
    if (!always && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    std::fprintf(stderr, "\r%s\033[K", terminalText(text).c_str());
    std::fflush(stderr);
    drawn_ = !text.empty();
}

}  // namespace listora
