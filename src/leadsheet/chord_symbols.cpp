#include "leadsheet/chord_symbols.h"

#include "music/note_letters.h"

namespace zelvo::leadsheet {

namespace {

// Where each degree lies in the major scale above the root (index = degree).
constexpr int kDegreeSemitones[] = {0, 0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21};

struct Tone {
  int degree;
  int semitones;
};

struct Kind {
  std::string_view name;
  Tone tones[7];
  int count;
};

// MusicXML's kind list, one row per kind: its tones by degree.
constexpr Kind kKinds[] = {
    {"major", {{1, 0}, {3, 4}, {5, 7}}, 3},
    {"minor", {{1, 0}, {3, 3}, {5, 7}}, 3},
    {"augmented", {{1, 0}, {3, 4}, {5, 8}}, 3},
    {"diminished", {{1, 0}, {3, 3}, {5, 6}}, 3},
    {"dominant", {{1, 0}, {3, 4}, {5, 7}, {7, 10}}, 4},
    {"major-seventh", {{1, 0}, {3, 4}, {5, 7}, {7, 11}}, 4},
    {"minor-seventh", {{1, 0}, {3, 3}, {5, 7}, {7, 10}}, 4},
    {"diminished-seventh", {{1, 0}, {3, 3}, {5, 6}, {7, 9}}, 4},
    {"augmented-seventh", {{1, 0}, {3, 4}, {5, 8}, {7, 10}}, 4},
    {"half-diminished", {{1, 0}, {3, 3}, {5, 6}, {7, 10}}, 4},
    {"major-minor", {{1, 0}, {3, 3}, {5, 7}, {7, 11}}, 4},
    {"major-sixth", {{1, 0}, {3, 4}, {5, 7}, {6, 9}}, 4},
    {"minor-sixth", {{1, 0}, {3, 3}, {5, 7}, {6, 9}}, 4},
    {"dominant-ninth", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}}, 5},
    {"major-ninth", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}}, 5},
    {"minor-ninth", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}}, 5},
    {"dominant-11th", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}, {11, 17}}, 6},
    {"major-11th", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}, {11, 17}}, 6},
    {"minor-11th", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}, {11, 17}}, 6},
    {"dominant-13th", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}, {11, 17}, {13, 21}}, 7},
    {"major-13th", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}, {11, 17}, {13, 21}}, 7},
    {"minor-13th", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}, {11, 17}, {13, 21}}, 7},
    {"suspended-second", {{1, 0}, {2, 2}, {5, 7}}, 3},
    {"suspended-fourth", {{1, 0}, {4, 5}, {5, 7}}, 3},
    {"Neapolitan", {{1, 0}, {3, 4}, {5, 7}}, 3},
    {"Italian", {{1, 0}, {3, 4}, {6, 10}}, 3},  // root on the lowered sixth degree
    {"French", {{1, 0}, {3, 4}, {4, 6}, {6, 10}}, 4},
    {"German", {{1, 0}, {3, 4}, {5, 7}, {6, 10}}, 4},
    {"pedal", {{1, 0}}, 1},
    {"power", {{1, 0}, {5, 7}}, 2},
    {"Tristan", {{1, 0}, {3, 3}, {5, 6}, {7, 10}}, 4},
    {"other", {{1, 0}}, 1},
};

int wrap(int semitones) { return ((semitones % 12) + 12) % 12; }

int degree_semitones(int degree) {
  return degree >= 1 && degree <= 13 ? kDegreeSemitones[degree] : 0;
}

}  // namespace

int step_pitch_class(char step, int alter) {
  const int base = music::letter_semitones(step);
  return wrap(base + alter);
}

uint16_t chord_pitch_classes(const ChordSymbol& chord) {
  const Kind* kind = nullptr;
  for (const Kind& row : kKinds) {
    if (row.name == chord.kind) kind = &row;
  }
  if (kind == nullptr) return 0;
  Tone tones[7 + kMaxDegrees];
  int count = 0;
  for (int i = 0; i < kind->count; ++i) tones[count++] = kind->tones[i];
  for (int d = 0; d < chord.degree_count && d < kMaxDegrees; ++d) {
    const ChordDegree& degree = chord.degrees[d];
    if (degree.type != ChordDegree::Type::kAdd) {
      int kept = 0;
      for (int i = 0; i < count; ++i) {
        if (tones[i].degree != degree.value) tones[kept++] = tones[i];
      }
      count = kept;
    }
    if (degree.type != ChordDegree::Type::kSubtract) {
      tones[count++] = Tone{degree.value, degree_semitones(degree.value) + degree.alter};
    }
  }
  uint16_t classes = 0;
  for (int i = 0; i < count; ++i) classes |= 1u << wrap(chord.root + tones[i].semitones);
  if (chord.bass >= 0) classes |= 1u << wrap(chord.bass);
  return classes;
}

uint16_t key_scale(int fifths, std::string_view mode, int& tonic) {
  // The seven pitch classes of the signature: F C G D A E B, moved by fifths.
  const int major_tonic = wrap(7 * fifths);
  uint16_t classes = 0;
  for (const int step : {0, 2, 4, 5, 7, 9, 11}) classes |= 1u << wrap(major_tonic + step);
  struct Mode {
    std::string_view name;
    int from_major;  // the tonic above the major key's tonic
  };
  static constexpr Mode kModes[] = {{"minor", 9},  {"aeolian", 9},    {"dorian", 2},
                                    {"phrygian", 4}, {"lydian", 5},    {"mixolydian", 7},
                                    {"locrian", 11}, {"ionian", 0},    {"major", 0}};
  tonic = major_tonic;
  for (const Mode& m : kModes) {
    if (m.name == mode) tonic = wrap(major_tonic + m.from_major);
  }
  if (mode == "minor") {
    // The leading tone of the dominant chords, in place of the natural seventh.
    classes = static_cast<uint16_t>((classes & ~(1u << wrap(tonic + 10))) | (1u << wrap(tonic + 11)));
  }
  return classes;
}

}  // namespace zelvo::leadsheet
