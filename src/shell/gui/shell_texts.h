#pragma once

// The shell's message boxes and folder choosers in the window's language:
// the shell words its fixed titles and messages in English (it knows
// nothing of the window); the window shows each through the catalogue row
// it comes from. Texts that carry a folder's or a file's name stay as the
// shell wrote them.
#include <QString>
#include <cstdint>
#include <string>

namespace zelvo::shell::gui {

// `text` (UTF-8) as the window shows it in `language` (base::kEnglish or
// base::kSpanish).
QString shell_text(const std::string& text, int32_t language);

}  // namespace zelvo::shell::gui
