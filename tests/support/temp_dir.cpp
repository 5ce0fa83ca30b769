#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace listora::test {

namespace fs = std::filesystem;

TempDir::TempDir(std::string_view prefix) {
    std::string pattern = (fs::absolute(fs::temp_directory_path()) / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    previousCwd_ = fs::current_path().string();
    if (const char* pwd = std::getenv("PWD")) previousPwd_ = pwd;
    hadPwd_ = std::getenv("PWD") != nullptr;
    fs::current_path(path_);
    ::setenv("PWD", path_.c_str(), 1);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::current_path(previousCwd_, ignored);
    if (hadPwd_)
        ::setenv("PWD", previousPwd_.c_str(), 1);
    else
        ::unsetenv("PWD");
    fs::remove_all(path_, ignored);
}

std::string TempDir::write(std::string_view relative, std::string_view bytes) const {
    const fs::path target = fs::path(path_) / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << bytes;
    return target.string();
}

std::string TempDir::makeFolder(std::string_view relative) const {
    fs::create_directories(fs::path(path_) / relative);
    return path(relative);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (std::string_view line : lines) (out += line) += "\r\n";
    return out;
}

}  // namespace listora::test
