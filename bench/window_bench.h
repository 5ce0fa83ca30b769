#pragma once

#include "app/tform1.h"
#include "platform/clock.h"
#include "platform/native_file_system.h"
#include "selection_bench.h"
#include "support/fixed_ports.h"
#include "yes_prompts.h"

#include <string>
#include <vector>

namespace bench {

// The real main window, shown on the offscreen platform, its settings file
// and log in `folder`. Needs a QApplication.
class BenchWindow {
public:
    explicit BenchWindow(const std::string& folder)
        : form(fs, prompts, clock, shell,
               listora::ProgramFiles{folder + "/Inf.ini", folder + "/Log/", folder + "/ReadMe.txt"}) {
        form.show();
    }

    // Throws unless the view shows as many selected rows as the list holds;
    // gives their number.
    std::size_t checkViewSelection(const std::string& what);

private:
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::NativeClock clock;
    listora::test::RecordingShell shell;

public:
    listora::TForm1 form;
};

// The selection and check commands as the user runs them: from the main
// window's menus, until the view's selection stands as the list's, on the
// offscreen platform. The same rows and start marks as the core's table;
// `folder` takes the window's settings file. Needs a QApplication.
std::vector<SelectionTiming> timeWindowSelection(std::size_t rows, int runs, const std::string& folder);

}  // namespace bench
