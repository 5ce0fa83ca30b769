#pragma once
// Every message box and file dialog the core shows goes through this port,
// so each question flow runs in tests with scripted answers and every text
// shown can be checked. Texts are in the system code page.

#include <optional>
#include <string>
#include <vector>

namespace listora {

enum class Answer { Yes, No, Cancel };

// Which question is asked. Each question carries its identity beside its
// text, so that answers that come from no person (the command line's
// options) are given to the question they were meant for.
enum class Question {
    SaveFirst,           // save the playlist before it goes?
    AddToList,           // add the playlist to the list, or replace it?
    ReadWithoutHeader,   // read a file without the #EXTM3U header anyway?
    RewriteCopiedPaths,  // should the copied rows name the copies?
    DeleteFiles,         // delete the selected files for good?
};

// Which buttons a question offers. Escape answers Cancel where it is offered
// and No otherwise; closing the box answers Cancel.
enum class Buttons { YesNo, YesNoCancel, YesCancel };

struct FileFilter {
    std::string caption;
    std::string pattern;  // "*.m3u"
};

struct FileDialogRequest {
    std::vector<FileFilter> filters;
    int filterIndex = 1;  // 1-based, as the dialog reports it
    std::string fileName;
    std::string defaultExtension;
};

struct FileChoice {
    std::string path;
    int filterIndex = 1;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Information box: the text, caption "Listora", one "OK" button.
    virtual void information(const std::string& text) = 0;
    // Confirmation box captioned "確認".
    virtual Answer confirm(Question question, const std::string& text, Buttons buttons) = 0;
    // Warning box captioned "警告".
    virtual Answer warn(Question question, const std::string& text, Buttons buttons) = 0;
    // Standard error box; the text arrives with its "." already applied.
    virtual void error(const std::string& text) = 0;

    // The Open dialog: the file and its folder must exist.
    virtual std::optional<FileChoice> askOpenFile(const FileDialogRequest& request) = 0;
    // The Save dialog: asks before replacing an existing file.
    virtual std::optional<FileChoice> askSaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace listora
