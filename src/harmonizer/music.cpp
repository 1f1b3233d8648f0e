#include "harmonizer/music.h"

#include <cstdint>

#include "base/work_files.h"
#include "base/message_id.h"
#include "harmonizer/listing_reader.h"
#include "harmonizer/midi_reader.h"
#include "harmonizer/musicxml_reader.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/note_time.h"
#include "harmonizer/score_files.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using base::kHarmonyFile;
constexpr const char* kListingFile = base::kCompositionListing;
constexpr const char* kMidiFile = base::kCompositionMidi;

}  // namespace

void read_source_parts(HarmonizerState& state, base::ProgressLines& progress, engine::MusicNoteTable& music,
                       engine::TimeSettings& time, int32_t first, int32_t count) {
  const engine::HarmonizerSettings& settings = state.settings;
  time.tempos.count = 0;
  switch (settings.MusicSource) {
    case 0:
    case 2: {
      const char* name = base::kMusicSourceFiles[settings.MusicSource];
      const ScoreFile file = open_score_file(state.score_opener, progress, state.work_folder, name);
      const bool follow = follows_meter_changes(state.score_opener);
      if (base::Status read = read_musicxml(music, time, first, count, file.get(), name, follow); !read.ok()) {
        base::stop_with(read);
      }
      return;
    }
    case 1: {
      if (state.score_opener != nullptr) state.score_opener->music_has_no_pickup();
      time.meters.count = 0;
      const ScoreFile listing(files::ReaderOrFolder(state.inputs, state.work_folder)->open(kListingFile), &std::fclose);
      if (base::Status read = read_composer_listing(music, time, first, count, listing.get(), kListingFile);
          !read.ok()) {
        base::stop_with(read);
      }
      return;
    }
    case 3: {
      if (state.score_opener != nullptr) state.score_opener->music_has_no_pickup();
      const ScoreInput file = open_score_input(state.score_opener, progress, state.work_folder, kMidiFile);
      const bool follow = follows_meter_changes(state.score_opener);
      const base::Status read = file.merged ? read_midi(music, time, *file.merged, kMidiFile, follow)
                                            : read_midi(music, time, file.file.get(), kMidiFile, follow);
      if (!read.ok()) base::stop_with(read);
      return;
    }
    default:
      base::stop_with(base::Message(kBadMusicSource));
  }
}

namespace {

void read_source(HarmonizerState& state, base::ProgressLines& progress) {
  const int32_t first = state.settings.FirstMusicIns;
  const int32_t count = static_cast<int32_t>(int64_t{state.settings.LastMusicIns} - first + 1);
  read_source_parts(state, progress, state.engine.music, state.settings.time, first, count);
}

// Harmony read in the music's meters: a harmony file that changes meter
// itself must do so where the music does.
void check_harmony_meters(const HarmonizerState& state) {
  const engine::TimeSettings& harmony = state.harmony_time;
  if (!engine::has_meter_changes(harmony)) return;
  const int64_t bar = engine::first_meter_difference(harmony, state.settings.time);
  if (bar != 0) {
    base::stop_with(base::Message(kHarmonyMeterDiffers, kHarmonyFile, static_cast<int>(bar)));
  }
}

// A harmony file in one meter is read bar by bar in the music's meters: a
// chord written past the end of a shorter bar of the music starts in the
// next bar, and is placed there, so that its beat is weighed where it sounds.
void place_in_music_bars(engine::HarmonyTable& table, const engine::TimeSettings& time) {
  for (engine::HarmonyEntry& entry : table.entries) {
    if (entry.bar == 0) break;
    const int64_t start = engine::bar_start(time, entry.bar);
    if (entry.click < 0 || entry.click < engine::bar_start(time, entry.bar + 1) - start) continue;
    const engine::BarPosition at = engine::position_at(time, start + entry.click);
    if (at.bar < 1 || at.bar > INT32_MAX) continue;
    entry.bar = static_cast<int32_t>(at.bar);
    entry.click = static_cast<int32_t>(at.click);
  }
}

}  // namespace

bool cut_notes(engine::MusicNoteTable& music, const engine::HarmonyTable& table,
               const engine::TimeSettings& time) {
  for (int32_t i = 0; i < music.note_count; ++i) {
    const int64_t s = note_start(time, music.notes[i]);
    const int64_t e = s + music.notes[i].Dur;
    for (const engine::HarmonyEntry& entry : table.entries) {
      if (entry.bar == 0) break;
      const int64_t b = absolute_time(time, entry.bar, entry.click);
      if (!(s < b && b < e)) continue;
      if (music.note_count >= engine::kMaxMusicNotes) return false;
      music.reserve(music.note_count + 1);
      engine::MusicNote& head = music.notes[i];
      engine::MusicNote& piece = music.notes[music.note_count];
      piece.Inst = head.Inst;
      piece.Note = head.Note;
      piece.Vel = head.Vel;
      piece.Cpin = entry.bar;
      piece.Ckin = entry.click;
      piece.Dur = static_cast<int32_t>(e - b);
      piece.tie_flags = head.tie_flags | engine::kTieContinued;
      ++music.note_count;
      head.Dur = static_cast<int32_t>(b - s);
      head.tie_flags |= engine::kTieContinues;
      break;
    }
  }
  return true;
}

namespace {

void read_and_prepare(HarmonizerState& state, base::ProgressLines& progress, Preparation preparation) {
  read_source(state, progress);
  engine::MusicNoteTable& music = state.engine.music;
  if (music.note_count == 0) base::stop_with(base::Message(kNoMusic));
  if (preparation == Preparation::kCheckOnly) return;
  check_harmony_meters(state);
  if (engine::has_meter_changes(state.settings.time)) {
    place_in_music_bars(state.engine.chords, state.settings.time);
    place_in_music_bars(state.engine.scales, state.settings.time);
  }
  if (state.settings.DivideNotes != 0) {
    const engine::TimeSettings& time = state.settings.time;
    if (!cut_notes(music, state.engine.chords, time) ||
        !cut_notes(music, state.engine.scales, time)) {
      base::stop_with(base::Message(kTooManyPieces));
    }
  }
  sort_notes(state);
}

}  // namespace

base::Status read_music(HarmonizerState& state, base::ProgressLines& progress, Preparation preparation) {
  return base::attempt([&] { read_and_prepare(state, progress, preparation); });
}

}  // namespace zelvo::harmonizer
