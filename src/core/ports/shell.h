#pragma once

#include <string>

namespace listora {

// The desktop around the program. Failures are the desktop's affair and are
// not reported: what it shows of them is its own.
class Shell {
public:
    virtual ~Shell() = default;
    // Shows the folder that holds the file in the file manager, with the
    // file selected where the file manager can do that.
    virtual void showInFileManager(const std::string& path) = 0;
    // Opens a document (a path in the system code page) with the desktop's
    // viewer for its kind.
    virtual void openDocument(const std::string& path) = 0;
    // Opens a web address in the desktop's browser.
    virtual void openWebAddress(const std::string& address) = 0;
};

}  // namespace listora
