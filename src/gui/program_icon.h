#pragma once
// The program's own icon, drawn from the one picture the desktop files
// install too, at whatever size is asked for.

#include <QIcon>
#include <QPixmap>

namespace listora {

QPixmap programIconPixmap(int size);
// The sizes a window's title bar and a task bar take.
QIcon programIcon();

}  // namespace listora
