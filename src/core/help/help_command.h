#pragma once
// The help menu's rules: the help text opened with the desktop's viewer,
// and what the About window says and where its link leads.

#include <string>

namespace listora {

class FileSystem;
class Shell;

// Opens the help text with the desktop's viewer for text files. A missing
// file, or one nothing opens, leaves the program as it was, without a
// message of its own.
void openHelpText(FileSystem& fs, Shell& shell, const std::string& helpFile);

// The About window's texts, as the build set them (UTF-8).
struct AboutInfo {
    std::string version;
    std::string author;
    std::string pageTitle;
    std::string pageAddress;  // empty: the help text is the page
    std::string contact;
};
AboutInfo builtAboutInfo();

// The link's click: the page in the desktop's browser, or the help text when
// the build names no page. Failures are the desktop's to show.
void openHomePage(FileSystem& fs, Shell& shell, const AboutInfo& about, const std::string& helpFile);

}  // namespace listora
