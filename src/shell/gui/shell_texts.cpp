#include "shell/gui/shell_texts.h"

#include "base/message.h"
#include "base/message_id.h"
#include "base/message_table.h"
#include "base/windows1252.h"

namespace zelvo::shell::gui {

namespace {

using base::MessageId;

// The rows the shell words its fixed texts from (shell/shell_messages.h).
constexpr MessageId kShellTexts[] = {
    MessageId::kShellErrorTitle,           MessageId::kShellNoWorkFolder,
    MessageId::kShellMissingFolder,        MessageId::kShellWorkIsTemplate,
    MessageId::kShellWorkIsProject,        MessageId::kShellNewWorkTitle,
    MessageId::kShellNewWorkQuestion,      MessageId::kShellSaveProjectTitle,
    MessageId::kShellSaveProjectQuestion,  MessageId::kShellLoadProjectTitle,
    MessageId::kShellAboutTitle,           MessageId::kShellAboutBody,
    MessageId::kShellSelectTemplateFolder, MessageId::kShellSelectWorkFolder,
    MessageId::kShellSelectProjectFolder,  MessageId::kShellSelectProyectFolder,
};

QString shown(MessageId id, int32_t language) {
  const base::MessagePair texts = base::texts_of(id);
  return QString::fromStdString(base::to_utf8(language == base::kSpanish ? texts.spanish : texts.english));
}

}  // namespace

QString shell_text(const std::string& text, int32_t language) {
  for (const MessageId id : kShellTexts) {
    const std::string english = base::texts_of(id).english;
    if (text == english) return shown(id, language);
    // The about box's body follows the program's name and version.
    if (text.size() > english.size() + 2 && text.compare(text.size() - english.size() - 2, std::string::npos,
                                                          "\n\n" + english) == 0) {
      return QString::fromStdString(text.substr(0, text.size() - english.size())) + shown(id, language);
    }
  }
  return QString::fromStdString(text);
}

}  // namespace zelvo::shell::gui
