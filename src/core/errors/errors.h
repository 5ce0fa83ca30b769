#pragma once
// An error that a command does not handle itself ends the command where it
// arose; the dispatcher shows its text in the standard error box and the
// program goes on. What the command did before the error stays done.

#include "core/ports/prompts.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace listora {

// What went wrong, for callers that act on it (the command line's exit
// status); the text is what the user is shown.
enum class ErrorKind {
    CannotOpen,    // a file could not be opened or read
    CannotCreate,  // a file could not be written
    BadContent,    // a file was read, but a line of it could not be taken
};

class ListoraError : public std::runtime_error {
public:
    ListoraError(ErrorKind kind, const std::string& text) : std::runtime_error(text), kind_(kind) {}
    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_;
};

// The texts of the standard errors, in the system code page.
std::string cannotOpenText(std::string_view path);
std::string cannotCreateText(std::string_view path);
std::string invalidIntegerText(std::string_view text);
std::string indexOutOfRangeText(long long index);

// The standard errors, each with its kind and text.
ListoraError cannotOpenError(std::string_view path);
// A file larger than the program can hold.
ListoraError tooLargeError(std::string_view path);
ListoraError cannotCreateError(std::string_view path);
ListoraError invalidIntegerError(std::string_view text);
ListoraError indexOutOfRangeError(long long index);
// A playlist that breaks its format's rules at `where` ("12 行目", or a line
// and column of XML), for the reason `why` (in the system code page).
ListoraError malformedPlaylistError(std::string_view path, std::string_view where, std::string_view why);

// The standard error box appends "." when the text's last byte sorts after
// ".": every text ending in a multi-byte character gets it, one ending in
// ")" does not.
std::string standardErrorText(std::string text);

// Runs one command; a ListoraError it throws is shown in the standard error
// box. Returns false when the command ended that way.
template <typename Command>
bool runReportingErrors(Prompts& prompts, Command&& command) {
    try {
        command();
        return true;
    } catch (const ListoraError& error) {
        prompts.error(standardErrorText(error.what()));
        return false;
    } catch (const std::exception& error) {
        // Nothing else should arrive here; if it does, the user sees it and
        // the program goes on instead of ending.
        prompts.error(standardErrorText(error.what()));
        return false;
    }
}

}  // namespace listora
