#pragma once

#include <string>

#include "base/message_id.h"
#include "base/message_table.h"
#include "console/job_console.h"

namespace zelvo::shell {

// The shell's fixed titles and messages are rows of the message catalogue.
// The shell words them in English, as the command line prints them; the
// window shows each in its own language (shell/gui/shell_texts.h). The
// English texts are ASCII, so they are UTF-8 as they stand.
inline std::string shell_english(base::MessageId id) { return base::texts_of(id).english; }

inline const std::string kErrorTitle = shell_english(base::MessageId::kShellErrorTitle);
inline const std::string kNoWorkFolder = shell_english(base::MessageId::kShellNoWorkFolder);
inline const std::string kMissingFolder = shell_english(base::MessageId::kShellMissingFolder);
inline const std::string kWorkIsTemplate = shell_english(base::MessageId::kShellWorkIsTemplate);
inline const std::string kWorkIsProject = shell_english(base::MessageId::kShellWorkIsProject);
inline const std::string kNewWorkTitle = shell_english(base::MessageId::kShellNewWorkTitle);
inline const std::string kNewWorkQuestion = shell_english(base::MessageId::kShellNewWorkQuestion);
inline const std::string kSaveProjectTitle = shell_english(base::MessageId::kShellSaveProjectTitle);
inline const std::string kSaveProjectQuestion = shell_english(base::MessageId::kShellSaveProjectQuestion);
inline const std::string kLoadProjectTitle = shell_english(base::MessageId::kShellLoadProjectTitle);
inline const std::string kAboutTitle = shell_english(base::MessageId::kShellAboutTitle);
inline const std::string kSelectTemplateFolder = shell_english(base::MessageId::kShellSelectTemplateFolder);
inline const std::string kSelectWorkFolder = shell_english(base::MessageId::kShellSelectWorkFolder);
inline const std::string kSelectProjectFolder = shell_english(base::MessageId::kShellSelectProjectFolder);
inline const std::string kSelectProyectFolder = shell_english(base::MessageId::kShellSelectProyectFolder);

inline std::string about_text() {
  return std::string(console::kProductName) + " " + console::kVersion + "\n\n" +
         shell_english(base::MessageId::kShellAboutBody);
}

}  // namespace zelvo::shell
