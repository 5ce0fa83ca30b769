#include "file_set.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <string_view>
#include <unistd.h>

namespace bench {
namespace {

constexpr std::array<std::string_view, 6> kSongs = {"Blue Morning", "night drive", "Echoes",
                                                    "Paper Moon",   "Quiet Storm", "Afterglow"};
constexpr std::array<std::string_view, 3> kJapaneseSongs = {"桜の歌", "夜明けのワルツ", "星空の手紙"};

bool writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::vector<std::string> fileNames(std::size_t count) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string_view song =
            i % 10 == 0 ? kJapaneseSongs[i / 10 % kJapaneseSongs.size()] : kSongs[i % kSongs.size()];
        char number[24];
        std::snprintf(number, sizeof number, "%05zu ", i);
        names.push_back(number + std::string(song) + ".mp3");
    }
    return names;
}

void writeFiles(const std::string& folder, const std::vector<std::string>& names, std::size_t bytes) {
    std::string content(bytes, '\0');
    std::mt19937_64 engine(20240611);
    std::generate(content.begin(), content.end(), [&] { return static_cast<char>(engine()); });

    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string number = std::to_string(i + 1) + "\n";
        std::memcpy(content.data(), number.data(), std::min(number.size(), content.size()));

        const std::string path = folder + "/" + names[i];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        const bool written = fd >= 0 && writeAll(fd, content);
        if (fd < 0 || ::close(fd) != 0 || !written) throw std::runtime_error("cannot create " + path);
    }
}

}  // namespace bench
