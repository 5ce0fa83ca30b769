#pragma once

#include <QFont>

namespace listora {

// A Japanese proportional Gothic at 12 pixels; IPA's comes with the set-up.
inline QFont uiFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(12);
    return font;
}

}  // namespace listora
