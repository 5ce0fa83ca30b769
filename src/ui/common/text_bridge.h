#pragma once
// The screen's edge: byte strings of the system code page become QString
// only to be shown, and typed text becomes bytes when it enters the core.
// Bytes invalid in the code page show as replacement characters.

#include "core/text/codepage.h"

#include <QString>
#include <string>
#include <string_view>

namespace listora {

inline QString toQt(std::string_view bytes) {
    if (systemCodePage() == CodePage::Utf8)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::u16string wide = codePageToUtf16(bytes, systemCodePage());
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

inline std::string fromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCodePage(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), systemCodePage());
}

}  // namespace listora
