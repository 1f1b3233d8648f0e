#include "intake/score_document.h"

#include <fstream>
#include <sstream>

#include "intake/mxl_archive.h"

namespace zelvo::intake {

bool load_score(const std::string& path, pugi::xml_document& score, std::string& problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problem = "cannot be opened";
    return false;
  }
  std::ostringstream whole;
  whole << in.rdbuf();
  return read_score(whole.str(), score, problem);
}

bool read_score(std::string text, pugi::xml_document& score, std::string& problem) {
  if (looks_like_zip(text)) {
    std::string unpacked;
    switch (unpack_mxl(text, unpacked)) {
      case MxlResult::kRead: break;
      case MxlResult::kBrokenArchive: problem = "is not a readable zip archive"; return false;
      case MxlResult::kNoContainer: problem = "has no META-INF/container.xml naming its score"; return false;
      case MxlResult::kNoRootFile: problem = "lacks the score its container names"; return false;
      case MxlResult::kTooLarge: problem = "unpacks to more than 64 MB"; return false;
    }
    text = std::move(unpacked);
  }
  const pugi::xml_parse_result parsed = score.load_buffer(text.data(), text.size());
  if (!parsed) {
    int line = 1;
    for (ptrdiff_t i = 0; i < parsed.offset && i < static_cast<ptrdiff_t>(text.size()); ++i) {
      line += text[static_cast<size_t>(i)] == '\n' ? 1 : 0;
    }
    problem = "is not well-formed XML (line " + std::to_string(line) + ": " +
              parsed.description() + ")";
    return false;
  }
  if (!score.child("score-partwise")) {
    problem = "is not a part-wise MusicXML score";
    return false;
  }
  return true;
}

}  // namespace zelvo::intake
