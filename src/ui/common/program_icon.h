#pragma once
// The program's own pictures: its icon, drawn from the one picture the
// desktop files install too, and the strip's buttons, which take the
// desktop theme's icons where the theme has them.

#include <QIcon>
#include <QPixmap>

namespace listora {

QPixmap programIconPixmap(int size);
// The sizes a window's title bar and a task bar take.
QIcon programIcon();

// The theme's icon of that freedesktop name, or else the program's own
// 16 × 16 picture data/tools/<picture>.svg, so that a bare desktop shows the
// same strip.
QIcon toolIcon(const char* themeName, const char* picture);

}  // namespace listora
