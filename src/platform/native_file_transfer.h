#pragma once
// Moving and copying single files on Linux without ever replacing a file at
// the target, and without leaving a partial file behind on failure.

#include <string>

namespace listora {

bool moveFileNoReplace(const std::string& source, const std::string& target);
bool copyFileNoReplace(const std::string& source, const std::string& target);

}  // namespace listora
