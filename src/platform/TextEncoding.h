#pragma once
// Windows-1250 ⇄ UTF-8. Data files keep their Windows-1250 bytes; text is converted
// only where it is shown or typed.
#include <optional>
#include <string>
#include <string_view>

namespace pabuko {

// Every byte converts; the five bytes Windows-1250 leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view bytes);
// nullopt when the text is not valid UTF-8 or holds a character Windows-1250 lacks.
std::optional<std::string> Utf8ToCp1250(std::string_view utf8);
// As above, but a character Windows-1250 lacks becomes '?'.
std::string Utf8ToCp1250Lossy(std::string_view utf8);
// The Unicode code point of a Windows-1250 byte (0 for the undefined ones).
char32_t Cp1250ToCodePoint(unsigned char byte);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace pabuko
