#include "temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace bench {

TempFolder::TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp ? tmp : "/tmp";
    base = std::filesystem::absolute(base).string();
    std::string pattern = base + "/listora-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder under " + base);
    path_ = pattern;

    // Reading a playlist with #EXTINF lines enters the playlist's folder;
    // the start folder is remembered so the folder can be left before it goes.
    startDirectory_ = std::filesystem::current_path().string();
    if (const char* pwd = std::getenv("PWD")) startPwd_ = pwd;
}

TempFolder::~TempFolder() {
    if (::chdir(startDirectory_.c_str()) == 0 && !startPwd_.empty()) ::setenv("PWD", startPwd_.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace bench
