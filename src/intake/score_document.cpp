#include "intake/score_document.h"

#include <utility>

#include "files/whole_file.h"
#include "intake/mxl_archive.h"

namespace zelvo::intake {

using enum base::MessageId;

base::Status load_score(const std::string& path, pugi::xml_document& score) {
  std::string whole;
  if (!files::read_whole(path, whole)) return base::Message(kScoreCannotOpen, path);
  return read_score(std::move(whole), score, path);
}

base::Status read_score(std::string text, pugi::xml_document& score, const std::string& name) {
  if (looks_like_zip(text)) {
    std::string unpacked;
    switch (unpack_mxl(text, unpacked)) {
      case MxlResult::kRead: break;
      case MxlResult::kBrokenArchive: return base::Message(kScoreNotZip, name);
      case MxlResult::kNoContainer: return base::Message(kScoreNoContainer, name);
      case MxlResult::kNoRootFile: return base::Message(kScoreNoRootFile, name);
      case MxlResult::kTooLarge: return base::Message(kScoreTooLarge, name);
      case MxlResult::kNoLibrary: return base::Message(kScoreNoArchiveLibrary, name, zip_library_file());
    }
    text = std::move(unpacked);
  }
  const pugi::xml_parse_result parsed = score.load_buffer(text.data(), text.size());
  if (!parsed) {
    int line = 1;
    for (ptrdiff_t i = 0; i < parsed.offset && i < static_cast<ptrdiff_t>(text.size()); ++i) {
      line += text[static_cast<size_t>(i)] == '\n' ? 1 : 0;
    }
    return base::Message(kScoreNotWellFormed, name, line, parsed.description());
  }
  if (!score.child("score-partwise")) return base::Message(kScoreNotPartwise, name);
  return base::Status();
}

}  // namespace zelvo::intake
