// Conversions between the core's UTF-16 strings and QString, used only at the window boundary.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace tamrel {

inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

inline QString PathToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace tamrel
