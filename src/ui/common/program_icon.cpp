#include "ui/common/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace listora {
namespace {

QPixmap drawn(const QString& picture, int size) {
    QSvgRenderer renderer(picture);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

QPixmap programIconPixmap(int size) { return drawn(QStringLiteral(":/listora/listora.svg"), size); }

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programIconPixmap(size));
    return icon;
}

QIcon toolIcon(const char* themeName, const char* picture) {
    const QString name = QString::fromLatin1(themeName);
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    const QString file = QStringLiteral(":/listora/tools/%1.svg").arg(QLatin1String(picture));
    QIcon icon;
    // 32 pixels for a screen that doubles its pixels.
    for (const int size : {16, 32}) icon.addPixmap(drawn(file, size));
    return icon;
}

}  // namespace listora
