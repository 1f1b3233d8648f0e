#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/folders.h"
#include "shell/platform.h"

namespace zelvo::shell {

constexpr const char* kDocumentationEnglish = "Zelvo_Documentation_eng.pdf";
constexpr const char* kDocumentationSpanish = "Zelvo_Documentation_spa.pdf";

// Edit Information: infor.rur, or infor.txt when the desktop cannot open it.
void edit_information(const Folders& folders, Platform& platform);
// Edit Harm. Options: conar.rur, else conar.txt.
void edit_harmonizer_options(const Folders& folders, Platform& platform);
// The work-folder menu item: the work folder in the file manager.
void explore_work_folder(const Folders& folders, Platform& platform);
// Help > Documentation: the start folder's documentation of the language.
void open_documentation(const std::string& start_folder, int32_t language, Platform& platform);

// What a desktop request acts on: `target` under `working_folder` (unless it
// is absolute), when it exists. A missing file is the failure that makes the
// editors fall back to the .txt file.
std::optional<std::string> resolve_shell_target(const std::string& target,
                                                const std::string& working_folder);

}  // namespace zelvo::shell
