#include "harmonizer/harmony_reader.h"

#include <cstring>

#include "base/work_files.h"
#include "base/message_id.h"
#include "harmonizer/harmony_parts.h"
#include "harmonizer/musicxml_reader.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/score_files.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using engine::HarmonyEntry;
using engine::HarmonyTable;
using engine::MusicNote;
using engine::MusicNoteTable;

using base::kHarmonyFile;

int32_t pitch_class(int32_t note) { return ((note % 12) + 12) % 12; }

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The name a present pitch class shows: its letter, or '#' for a chromatic
// one.
constexpr char kPresentNames[] = "C#D#EF#G#A#B";

void mark_digit_bit(char* marks, int32_t note, int32_t bit) {
  char& c = marks[pitch_class(note)];
  if (!is_digit(c)) c = '0';
  c = static_cast<char>(c | bit);
}

bool same_time(const MusicNote& a, const MusicNote& b) {
  return a.Cpin == b.Cpin && a.Ckin == b.Ckin;
}

void open_entry(HarmonyEntry& entry, const MusicNote& note) {
  entry.bar = note.Cpin;
  entry.click = note.Ckin;
  std::memset(entry.marks, 0, sizeof entry.marks);
  std::memcpy(entry.marks, engine::kEmptyMarks, engine::kPitchClasses);
}

// False when the file has no note in the scale part.
bool build_scales(HarmonizerState& state) {
  const MusicNoteTable& music = state.engine.music;
  HarmonyTable& scales = state.engine.scales;
  const int32_t part = state.settings.FirstHarmIns;
  int32_t k = 0;
  bool open_group = true;
  bool any = false;
  for (int32_t i = 0; i < music.note_count; ++i) {
    const MusicNote& note = music.notes[i];
    if (note.Inst != part) continue;
    any = true;
    if (open_group) {
      if (k >= engine::kMaxHarmonyEntries) base::stop_with(base::Message(kTooManyScales, kHarmonyFile));
      scales.reserve_entry(k);
      open_entry(scales.entries[k], note);
      open_group = false;
    }
    mark_pitch_class(scales.entries[k].marks, note.Note);
    if (ends_group(music, i)) {
      open_group = true;
      ++k;
    }
  }
  return any;
}

void build_chords(HarmonizerState& state) {
  const MusicNoteTable& music = state.engine.music;
  HarmonyTable& chords = state.engine.chords;
  int32_t k = 0;
  bool open_group = true;
  int32_t lowest = 200;
  int32_t highest = 0;
  for (int32_t i = 0; i < music.note_count; ++i) {
    const MusicNote& note = music.notes[i];
    if (open_group) {
      if (k >= engine::kMaxHarmonyEntries) base::stop_with(base::Message(kTooManyChords, kHarmonyFile));
      chords.reserve_entry(k);
      open_entry(chords.entries[k], note);
      open_group = false;
    }
    char* marks = chords.entries[k].marks;
    mark_pitch_class(marks, note.Note);
    if (note.Note < lowest) lowest = note.Note;
    if (note.Note > highest) highest = note.Note;
    if (ends_group(music, i) || i == music.note_count - 1) {
      mark_bass(marks, lowest);
      mark_top(marks, highest);
      open_group = true;
      ++k;
      lowest = 200;
      highest = 0;
    }
  }
}

}  // namespace

void mark_pitch_class(char* marks, int32_t note) {
  const int32_t p = pitch_class(note);
  char& c = marks[p];
  if (is_upper(c) || c == '#') c = '1';
  if (is_lower(c) || c == '_') c = kPresentNames[p];
}

void mark_bass(char* marks, int32_t note) { mark_digit_bit(marks, note, 2); }
void mark_top(char* marks, int32_t note) { mark_digit_bit(marks, note, 4); }

bool ends_group(const MusicNoteTable& music, int32_t i) {
  const int32_t n = music.note_count;
  if (i == 0 || i >= n - 2) return false;
  const MusicNote* t = music.notes.data();
  if (same_time(t[i + 1], t[i + 2]) && !same_time(t[i], t[i + 1])) return true;
  if (same_time(t[i - 1], t[i]) && !same_time(t[i], t[i + 1])) return true;
  if (same_time(t[i], t[i - 1]) || same_time(t[i], t[i + 1])) return false;
  return t[i].Note > t[i + 1].Note;
}

namespace {
void read_harmony_file(HarmonizerState& state, base::ProgressLines& progress);
}  // namespace

base::Status read_harmony(HarmonizerState& state, base::ProgressLines& progress) {
  return base::attempt([&] { read_harmony_file(state, progress); });
}

namespace {

void read_harmony_file(HarmonizerState& state, base::ProgressLines& progress) {
  engine::HarmonizerSettings& settings = state.settings;
  MusicNoteTable& music = state.engine.music;
  music.empty();
  if (settings.FirstHarmIns < 0) {
    // LastMusicIns + 1 in 32 bits: the largest value wraps round, never overflows.
    settings.FirstHarmIns = static_cast<int32_t>(int64_t{settings.LastMusicIns} + 1);
  }
  const ScoreFile file = open_score_file(state.score_opener, progress, state.work_folder, kHarmonyFile);
  if (base::Status read = read_musicxml(music, settings.time, settings.FirstHarmIns, settings.HarmInsNum, file.get(),
                                       kHarmonyFile, follows_meter_changes(state.score_opener));
      !read.ok()) {
    base::stop_with(read);
  }
  state.harmony_time = settings.time;
  state.engine.scales = HarmonyTable{};
  state.engine.chords = HarmonyTable{};
  if (!build_scales(state)) refuse_missing_harmony(progress, settings, file.get());
  // Only the chord parts stay, moved down in order.
  const int64_t first_chord_part = int64_t{settings.FirstHarmIns} + 1;
  const int64_t end_part = int64_t{settings.FirstHarmIns} + settings.HarmInsNum;
  int32_t kept = 0;
  for (int32_t i = 0; i < music.note_count; ++i) {
    const int32_t inst = music.notes[i].Inst;
    if (inst >= first_chord_part && inst < end_part) music.notes[kept++] = music.notes[i];
  }
  music.note_count = kept;
  if (kept == 0) refuse_missing_harmony(progress, settings, file.get());
  sort_notes(state);
  build_chords(state);
}

}  // namespace

}  // namespace zelvo::harmonizer
