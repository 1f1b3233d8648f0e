#pragma once

#include <string>
#include <string_view>

namespace zelvo::console {

// Text inside the system is one byte per character, Windows-1252. These
// convert at the edges (terminal, window toolkit).
std::string to_utf8(std::string_view windows1252);
// Characters with no Windows-1252 byte become '?'.
std::string from_utf8(std::string_view utf8);

}  // namespace zelvo::console
