// Listora: start-up. The windows used again and again are created here in a
// fixed order (the search and playback windows are made on each opening);
// only the main window is shown, and closing it ends the program.

#include "core/app/heap_settings.h"
#include "core/app/program_files.h"
#include "core/app/start_arguments.h"
#include "core/help/about_settings.h"
#include "core/native/native_clock.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "core/tags/taglib/taglib_reader.h"
#include "ui/common/program_icon.h"
#include "ui/common/qt_prompts.h"
#include "ui/common/qt_shell.h"
#include "ui/common/ui_font.h"
#include "ui/fileops/folder_chooser_window.h"
#include "ui/fileops/name_input_window.h"
#include "ui/help/about_window.h"
#include "ui/logview/log_window.h"
#include "ui/main/main_window.h"
#include "ui/media/qt_media_player.h"
#include "ui/search/comparison_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && value[0] != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

listora::StartArguments startArguments(int argc, char* argv[], listora::FileSystem& fs) {
    return listora::parseStartArguments(std::vector<std::string>(argv + 1, argv + argc), fs.currentDirectory(),
                                        listora::PathRules::native());
}

}  // namespace

int main(int argc, char* argv[]) {
    listora::applyHeapSettings();
    listora::NativeFileSystem fs;
    // The usage and the version need no window, nor a display.
    switch (startArguments(argc, argv, fs).action) {
        case listora::StartArguments::Action::Help:
            std::fputs(listora::startUsageText().c_str(), stdout);
            return 0;
        case listora::StartArguments::Action::Version:
            std::fputs(listora::versionText().c_str(), stdout);
            return 0;
        default:
            break;  // an unknown option may be one of Qt's, which Qt takes below
    }
    if (!displayAvailable()) {
        std::fputs(
            "listora: no display to open a window on (DISPLAY is not set); "
            "run it under a virtual one with: xvfb-run -a listora\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);  // takes its own options out of argv
    const listora::StartArguments start = startArguments(argc, argv, fs);
    if (start.action == listora::StartArguments::Action::Bad) {
        std::fprintf(stderr, "listora: unknown option %s\n%s", start.badOption.c_str(),
                     listora::startUsageText().c_str());
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Listora"));
    QApplication::setDesktopFileName(QString::fromUtf8(listora::about::kAppId));
    QApplication::setApplicationVersion(QString::fromUtf8(listora::versionText()).trimmed());
    QApplication::setWindowIcon(listora::programIcon());
    QApplication::setFont(listora::uiFont());
    // Qt's own texts (file dialogs, context menus of text boxes) in Japanese,
    // like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    listora::QtPrompts prompts;
    listora::NativeClock clock;
    listora::QtShell shell;
    listora::TForm1 form1(fs, prompts, clock, shell, listora::locateProgramFiles(listora::executableFolder()));
    prompts.setParentWidget(&form1);
    listora::TForm2 form2(&form1);
    listora::TForm5 form5(fs, prompts, form1.programFiles().logFolder, &form1);
    listora::TForm6 form6(prompts, form1.state().dialogs, &form1);
    listora::TForm7 form7(fs, shell, form1.programFiles().helpFile, &form1);
    listora::TForm8 form8(prompts, &form1);
    form2.setNameAsker(&form8);
    form1.setFolderPicker(&form2);
    form1.setNameAsker(&form8);
    form1.setComparisonWindow(&form6);
    form1.setLogWindow(&form5);
    form1.setAboutWindow(&form7);
    form1.setPlayerFactory([] { return std::make_unique<listora::QtMediaPlayer>(); });
    form1.setTagReader(std::make_shared<listora::TagLibReader>(fs));
    form1.show();
    // The paths given are gathered once the window is up, as a drop is.
    form1.state().playlistsByName = start.playlists;
    if (!start.paths.empty()) form1.dropPathsSoon(start.paths);
    return QApplication::exec();
}
