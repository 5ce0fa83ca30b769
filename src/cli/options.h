#pragma once
// The arguments after the command's name, as options and file names.

#include "cli/command.h"

namespace listora::cli {

// `--` ends the options, so that a file may be named "-x.m3u". An option the
// command does not take, or one without its value, is the fault noted.
Options parseOptions(const Command& command, const std::vector<std::string>& arguments);

}  // namespace listora::cli
