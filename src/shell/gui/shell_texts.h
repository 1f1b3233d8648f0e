#pragma once

// The shell's message boxes and folder choosers in the window's language:
// the shell words them in English (it knows nothing of Qt); the window shows
// each fixed title and message through its translation. Texts that carry a
// folder's or a file's name stay as the shell wrote them.
#include <QString>
#include <string>

namespace zelvo::shell::gui {

// `text` (UTF-8) as the window shows it.
QString shell_text(const std::string& text);

}  // namespace zelvo::shell::gui
