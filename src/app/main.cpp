// Listora: start-up. The windows used again and again are created here in a
// fixed order (the search and playback windows are made on each opening);
// only the main window is shown, and closing it ends the program.

#include "app/tform1.h"
#include "fileops/tform2.h"
#include "fileops/tform8.h"
#include "gui/program_icon.h"
#include "gui/qt_prompts.h"
#include "gui/qt_shell.h"
#include "gui/ui_font.h"
#include "help/tform7.h"
#include "logview/tform5.h"
#include "platform/clock.h"
#include "platform/huge_page_heap.h"
#include "platform/native_file_system.h"
#include "platform/program_files.h"
#include "player/qt_media_player.h"
#include "search/tform3.h"
#include "search/tform6.h"

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

}  // namespace

int main(int argc, char* argv[]) {
    listora::restartWithHugePageHeap(argv);
    if (!displayAvailable()) {
        std::fputs(
            "listora: no display to open a window on (DISPLAY is not set); "
            "run it under a virtual one with: xvfb-run -a make run\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Listora"));
    QApplication::setWindowIcon(listora::programIcon());
    QApplication::setFont(listora::uiFont());
    // Qt's own texts (file dialogs, context menus of text boxes) in Japanese,
    // like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    listora::NativeFileSystem fs;
    listora::QtPrompts prompts;
    listora::NativeClock clock;
    listora::QtShell shell;
    listora::TForm1 form1(fs, prompts, clock, shell, listora::locateProgramFiles(listora::executableFolder()));
    prompts.setParentWidget(&form1);
    listora::TForm2 form2(&form1);
    listora::TForm3 form3(&form2, &form1);
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
    form1.show();
    return QApplication::exec();
}
