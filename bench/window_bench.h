#pragma once

#include "core/native/native_clock.h"
#include "core/native/native_file_system.h"
#include "selection_bench.h"
#include "support/fixed_ports.h"
#include "ui/main/main_window.h"
#include "yes_prompts.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    std::size_t paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The real main window, shown on the offscreen platform, its settings file
// and log in `folder`. Needs a QApplication.
class BenchWindow {
public:
    explicit BenchWindow(const std::string& folder);

    // Throws unless the view's selection model shows as many selected rows
    // as the list holds; gives their number.
    std::size_t checkViewSelection(const std::string& what);

    // The seconds from the start of `work` until the list's viewport has
    // painted what it left; throws when no paint came.
    double secondsUntilPainted(const std::string& what, const std::function<void()>& work);

private:
    listora::NativeFileSystem fs;
    YesPrompts prompts;
    listora::NativeClock clock;
    listora::test::RecordingShell shell;
    PaintCounter viewportPaints;

public:
    listora::TForm1 form;
};

// The selection and check commands as the user runs them: from the main
// window's menus, until the view has painted the list's marks, on the
// offscreen platform; each from a few rows selected and from every third.
// Then a scroll step and a Page Down over every third row selected. The
// same rows as the core's table; `folder` takes the window's settings
// file. Needs a QApplication.
std::vector<SelectionTiming> timeWindowSelection(std::size_t rows, int runs, const std::string& folder);

}  // namespace bench
