#pragma once
// Moving and copying single files on Linux without ever replacing a file at
// the target, and without leaving a partial file behind on failure.

#include <functional>
#include <string>

namespace listora {

// `copied` runs, in a move to another file system, once the copy is complete
// and before the source is checked and removed: the moment another program
// could still change the source, which a test takes.
bool moveFileNoReplace(const std::string& source, const std::string& target, const std::function<void()>& copied = {});
bool copyFileNoReplace(const std::string& source, const std::string& target);

}  // namespace listora
