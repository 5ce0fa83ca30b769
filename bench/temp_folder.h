#pragma once

#include <string>

namespace bench {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when
// the object goes, also when the run ends with an exception.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string startDirectory_;
    std::string startPwd_;
};

}  // namespace bench
