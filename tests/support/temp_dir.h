#pragma once
// A fresh folder under $TMPDIR (or /tmp), removed with everything in it
// when the object goes, also when a run ends with an exception. It is the
// current directory meanwhile; the one before is entered again at the end
// (the playlist reader changes it).

#include <string>
#include <string_view>

namespace listora::test {

class TempDir {
public:
    explicit TempDir(std::string_view prefix = "listora-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing "/".
    const std::string& path() const { return path_; }
    std::string path(std::string_view relative) const { return path_ + "/" + std::string(relative); }

    // Writes a file (making its folders) and returns its full path.
    std::string write(std::string_view relative, std::string_view bytes) const;
    std::string makeFolder(std::string_view relative) const;

private:
    std::string path_;
    std::string previousCwd_;
    std::string previousPwd_;
    bool hadPwd_ = false;
};

std::string readFile(const std::string& path);
std::string crlf(std::initializer_list<std::string_view> lines);

}  // namespace listora::test
