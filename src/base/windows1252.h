#pragma once

#include <string>
#include <string_view>

namespace zelvo::base {

// Text inside the system is one byte per character, Windows-1252. These
// convert at the edges (terminal, window toolkit).
std::string to_utf8(std::string_view windows1252);
// Characters with no Windows-1252 byte become '?'.
std::string from_utf8(std::string_view utf8);
// The Windows-1252 byte of code point `c`; false when there is none.
bool to_windows1252(char32_t c, char& byte);

}  // namespace zelvo::base
