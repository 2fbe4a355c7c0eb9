#pragma once
// Windows-1250 data text for Qt widgets, and back.
#include <QString>
#include <string>

namespace pabuko {

QString FromCp1250(const std::string& bytes);
// Characters Windows-1250 lacks become '?'.
std::string ToCp1250(const QString& text);

}  // namespace pabuko
