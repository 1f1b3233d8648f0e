#include "notation/lead_sheet_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "notation/lead_sheet.h"
#include "notation/score_document.h"

namespace zelvo::notation {

bool write_lead_sheet_harmony(const std::string& score_path, const std::string& output,
                              int& first_part, std::string& problem) {
  pugi::xml_document score;
  if (!load_score(score_path, score, problem)) {
    problem = score_path + " " + problem;
    return false;
  }
  if (first_part == 0) {
    first_part = 1;
    for (const pugi::xml_node& part : score.child("score-partwise").children("part")) {
      (void)part;
      ++first_part;
    }
  }
  const std::string harmony = make_harmony_file(score, first_part, problem);
  if (harmony.empty()) {
    problem = score_path + " " + problem;
    return false;
  }
  // Written whole under a temporary name, then renamed: never half a file.
  const std::string temporary = output + ".part";
  {
    std::ofstream out(temporary, std::ios::binary);
    out << harmony;
    if (!out.flush()) {
      problem = "cannot write " + output;
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, output, error);
  if (error) {
    problem = "cannot write " + output + ": " + error.message();
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace zelvo::notation
