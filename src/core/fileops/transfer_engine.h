#pragma once
// The program's main job: move or copy the file of every checked row into
// the destination folder, bring the rows up to date, log each transfer and
// report the outcome once.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace listora {

class Clock;
class FileSystem;
class MainList;
class PathRules;
class Prompts;
class StatusLine;

// Why a checked row was not done.
enum class RowFailure {
    NoSuchFile,     // nothing at the row's path (a link pointing nowhere, for a copy)
    AlreadyExists,  // the destination holds an entry of that name
    SystemError,    // the system refused; its text comes with it
    NotLocalFile,   // the row is a stream's address, not a file here
};

struct RowNotDone {
    std::string source;
    std::string target;
    RowFailure reason;
    std::string systemText;  // for SystemError: the system's own text, when it gave one
};

// Told before each checked row is worked on, with the number of checked
// rows already finished, for a progress display of long runs; and of each
// row that was not done, and why.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual void rowStarting(std::size_t finished, std::size_t checked) = 0;
    virtual void rowNotDone(const RowNotDone&) {}
};

struct TransferPorts {
    FileSystem& fs;
    Prompts& prompts;
    const Clock& clock;
    StatusLine& status;
    const PathRules& rules;
    std::string logFolder;
    TransferProgress* progress = nullptr;
};

// The destination with one trailing separator dropped, then a separator and
// the file name: "/music/" and "/music" give the same target. The separator
// is found on whole characters, so a CP932 character ending in 0x5C stays.
std::string targetPathFor(std::string_view destination, std::string_view fileName, const PathRules& rules);

enum class TransferMode { Move, Copy };

// Moves or copies; a copy first asks whether the rows should name the copies. Failed rows stay checked, so running it
// again retries exactly those. Log errors are thrown as ListoraError. Returns the number of rows that failed.
long long SaveToFile(MainList& list, const std::string& destination, TransferMode mode, const TransferPorts& ports);

// What a run would do with each checked row, changing nothing: `planned`
// is told of each row the run would do (nothing when it would be done) or
// why it would not. A row whose target an earlier row of the run would take
// is foreseen as already existing there. Returns the rows that would fail.
long long planTransfer(const MainList& list, const std::string& destination, TransferMode mode, FileSystem& fs,
                       const PathRules& rules,
                       const std::function<void(const std::string& source, const std::string& target,
                                                const std::optional<RowNotDone>& failure)>& planned);

// Shown when the destination box is empty.
std::string noDestinationText();

}  // namespace listora
