// Board bytes (Windows-1252) to and from the strings the widgets show.
#pragma once

#include "Cp1252.h"

#include <QString>

#include <string>
#include <string_view>

namespace kesto::ui {

inline QString FromBoard(std::string_view bytes) {
    return QString::fromStdString(kesto::Cp1252ToUtf8(bytes));
}
inline std::string ToBoard(const QString& text) {
    return kesto::Utf8ToCp1252(text.toStdString());
}

} // namespace kesto::ui
