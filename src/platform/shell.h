#pragma once

#include <string>

namespace listora {

// The desktop around the program.
class Shell {
public:
    virtual ~Shell() = default;
    // Shows the folder that holds the file in the file manager, with the
    // file selected where the file manager can do that. Failures are the
    // file manager's affair and are not reported.
    virtual void showInFileManager(const std::string& path) = 0;
};

}  // namespace listora
