#include "gui/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace listora {

QPixmap programIconPixmap(int size) {
    QSvgRenderer picture(QStringLiteral(":/listora/listora.svg"));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    picture.render(&painter);
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programIconPixmap(size));
    return icon;
}

}  // namespace listora
