// Draws the program's icon at the sizes the desktop's icon theme takes,
// from the same picture and code the windows use:
//   render_icon OUT_FOLDER SIZE...   writes OUT_FOLDER/SIZE.png for each size.

#include "ui/common/program_icon.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: render_icon OUT_FOLDER SIZE...\n", stderr);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = QString::fromLocal8Bit(argv[1]) + "/" + QString::number(size) + ".png";
        if (size <= 0 || !listora::programIconPixmap(size).save(path)) return 1;
    }
    return 0;
}
