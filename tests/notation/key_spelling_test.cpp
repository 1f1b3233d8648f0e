#include "notation/key_spelling.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/files.h"

namespace {

using zelvo::notation::Key;

int pitch_class(const std::string& name) {
  static constexpr int kNaturals[] = {9, 11, 0, 2, 4, 5, 7};  // A to G
  int pc = kNaturals[name[0] - 'A'];
  for (size_t i = 1; i < name.size(); ++i) pc += name[i] == '#' ? 1 : name[i] == 'b' ? -1 : 0;
  return (pc + 12) % 12;
}

Key read_key(std::istream& in) {
  Key key;
  std::string mode;
  in >> key.fifths >> mode;
  key.minor = mode == "minor";
  return key;
}

std::string text(Key key) { return std::to_string(key.fifths) + (key.minor ? " minor" : " major"); }

// Every row of the table: a pitch spelled in a key, a harmony's scale and
// the key fitted to it, or notes and the key estimated from them.
TEST(KeySpelling, TableOfKeysAndSpellings) {
  for (const std::string& row : zelvo::test::table_rows("notation/key_cases.txt", 51)) {
    SCOPED_TRACE(row);
    const size_t bar = row.find('|');
    ASSERT_NE(bar, std::string::npos);
    std::istringstream fields(row.substr(0, bar));
    std::istringstream expected(row.substr(bar + 1));
    std::string kind;
    fields >> kind;
    if (kind == "spell") {
      const Key key = read_key(fields);
      int pitch = 0;
      fields >> pitch;
      const zelvo::notation::Spelling spelling = zelvo::notation::spell_pitch(pitch, key);
      const int octave = (pitch - spelling.alter) / 12 - 1;
      std::string step;
      int alter = 0;
      int written_octave = 0;
      expected >> step >> alter >> written_octave;
      EXPECT_EQ(std::string(1, spelling.step) + " " + std::to_string(spelling.alter) + " " + std::to_string(octave),
                step + " " + std::to_string(alter) + " " + std::to_string(written_octave));
    } else if (kind == "fit") {
      bool present[12] = {};
      int tonic = -1;
      for (std::string name; fields >> name;) {
        if (name == "tonic") {
          fields >> name;
          tonic = pitch_class(name);
        } else {
          present[pitch_class(name)] = true;
        }
      }
      EXPECT_EQ(text(zelvo::notation::fit_key(present, tonic)), text(read_key(expected)));
    } else {
      ASSERT_EQ(kind, "estimate");
      std::vector<int> pitches;
      std::vector<int64_t> lengths;
      for (std::string note; fields >> note;) {
        const size_t colon = note.find(':');
        pitches.push_back(60 + pitch_class(note.substr(0, colon)));
        lengths.push_back(std::stoll(note.substr(colon + 1)));
      }
      EXPECT_EQ(text(zelvo::notation::estimate_key(pitches, lengths)), text(read_key(expected)));
    }
  }
}

}  // namespace
