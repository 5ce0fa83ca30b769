#include "core/help/help_command.h"

#include "core/files/file_system.h"
#include "core/help/about_settings.h"
#include "core/ports/shell.h"

namespace listora {

void openHelpText(FileSystem& fs, Shell& shell, const std::string& helpFile) {
    if (fs.isFile(helpFile)) shell.openDocument(helpFile);
}

AboutInfo builtAboutInfo() {
    return {about::kVersion, about::kAuthor, about::kPageTitle, about::kPageAddress, about::kContact};
}

void openHomePage(FileSystem& fs, Shell& shell, const AboutInfo& about, const std::string& helpFile) {
    if (about.pageAddress.empty())
        openHelpText(fs, shell, helpFile);
    else
        shell.openWebAddress(about.pageAddress);
}

}  // namespace listora
