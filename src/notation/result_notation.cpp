#include "notation/result_notation.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/work_files.h"
#include "files/paths.h"
#include "files/whole_file.h"
#include "engine/context.h"
#include "harmonizer/note_time.h"
#include "intake/midi_merge.h"
#include "intake/score_document.h"
#include "notation/midi_notation.h"
#include "notation/notation_grid.h"
#include "notation/part_names.h"
#include "base/message_id.h"

namespace zelvo::notation {

using enum base::MessageId;

namespace {

using Key = std::tuple<int32_t, int32_t, int64_t>;  // instrument, pitch, start click

// Each note's tone type; a type whose note is not struck at its tick (the
// part of a note tied over a bar line) goes to `held`, for the note sounding there.
std::vector<std::string> tone_type_lyrics(const MidiNotes& midi, const harmonizer::HarmonizerState& state,
                                          std::vector<HeldLyric>& held) {
  const engine::EngineState& engine = state.engine;
  const engine::TimeSettings& time = state.settings.time;
  std::map<Key, int32_t> types;
  for (int32_t i = 0; i < engine.result_count; ++i) {
    const engine::MusicNote& n = engine.result[i];
    // Keyed by the tick the note has in outar.mid.
    types.emplace(Key{n.Inst, n.Note, harmonizer::midi_tick(time, n.Cpin, n.Ckin)},
                  engine.result_tones[i].tone_type);
  }
  std::vector<std::string> lyrics;
  for (const SoundingNote& note : midi.notes) {
    const auto found = types.find(Key{note.channel + 1, note.pitch, note.start});
    const bool labelled = found != types.end() && found->second != engine::kRe;
    lyrics.push_back(labelled ? engine::tone_type_name(found->second) : "");
    if (found != types.end()) types.erase(found);
  }
  for (const auto& [key, type] : types) {
    if (type == engine::kRe) continue;
    const auto [instrument, pitch, tick] = key;
    for (size_t i = 0; i < midi.notes.size() && midi.notes[i].start < tick; ++i) {
      const SoundingNote& note = midi.notes[i];
      if (note.channel + 1 != instrument || note.pitch != pitch || note.start + note.length <= tick) continue;
      held.push_back({static_cast<int>(i), tick, engine::tone_type_name(type)});
      break;
    }
  }
  return lyrics;
}

// Where a scale of the harmony starts in outar.mid, in ticks (the
// harmonizer's clicks).
int64_t scale_start_tick(const harmonizer::HarmonizerState& state, const engine::HarmonyEntry& scale) {
  return harmonizer::midi_tick(state.settings.time, scale.bar, scale.click);
}

// The key of every scale of the harmony, from where it starts. A scale
// written from its tonic to the octave above marks that pitch class twice,
// which tells a minor key from its relative major.
std::vector<KeySignature> scale_keys(const harmonizer::HarmonizerState& state) {
  std::vector<KeySignature> keys;
  for (int32_t k = 0; k < state.engine.scales.size(); ++k) {
    const engine::HarmonyEntry& scale = state.engine.scales.entries[k];
    if (scale.bar == 0) break;
    bool present[12] = {};
    int tonic = -1;
    int doubled = 0;
    for (int pc = 0; pc < 12; ++pc) {
      present[pc] = engine::is_pitch_class_marked(scale.marks[pc]);
      if (scale.marks[pc] >= '0' && scale.marks[pc] <= '9') {
        tonic = pc;
        ++doubled;
      }
    }
    const notation::Key key = fit_key(present, doubled == 1 ? tonic : -1);
    if (!keys.empty() && keys.back().key == key) continue;
    keys.push_back({std::max<int64_t>(0, scale_start_tick(state, scale)), key});
  }
  return keys;
}

// The part names of the score the harmonizer read its music from, as
// each part's channel: a score's part names, the composer's MIDI file's
// track names; the composer's listing names none.
void take_source_names(const harmonizer::HarmonizerState& state, MidiNotes& midi) {
  const auto path = [&](const char* name) { return base::work_path(state.work_folder, name); };
  const int source = state.settings.MusicSource;
  if (source == 0 || source == 2) {
    const char* file = source == 0 ? base::kMusicFile : base::kHarmonyFile;
    const char* archive = source == 0 ? base::kMusicArchive : base::kHarmonyArchive;
    pugi::xml_document score;
    std::string problem;
    if (intake::load_score(path(file), score, problem) || intake::load_score(path(archive), score, problem)) {
      read_score_part_names(score, midi);
    }
  } else if (source == 3) {
    std::ifstream in(path(base::kCompositionMidi), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    MidiNotes labels;
    read_midi_labels(bytes.str(), labels);
    for (size_t c = 0; c < labels.names.size(); ++c) {
      if (!labels.names[c].empty()) midi.names[c] = labels.names[c];
    }
  }
}

}  // namespace

bool write_result_notation(const std::string& folder, const char* midi_name, const char* xml_name,
                           const harmonizer::HarmonizerState* harmonizer, Grid grid, files::ResultWriter* results) {
  std::string bytes;
  if (!files::read_whole(files::join_path(folder, midi_name), bytes)) return false;
  midi::Song merged;
  if (intake::merge_any_midi(bytes, merged) != intake::MidiMerge::kMerged) return false;
  MidiNotes midi = read_midi_notes(merged);
  merged = midi::Song{};  // its memory serves the layout of the notes
  read_midi_labels(bytes, midi);
  if (harmonizer != nullptr) {
    midi.keys = scale_keys(*harmonizer);
    take_source_names(*harmonizer, midi);
  }
  add_key_from_notes(midi);
  std::vector<HeldLyric> held;
  const std::vector<std::string> lyrics =
      harmonizer != nullptr ? tone_type_lyrics(midi, *harmonizer, held) : std::vector<std::string>{};
  const std::string text = write_notation(midi, lyrics, grid, held);
  if (text.empty()) return false;
  return files::write_output(results, folder, xml_name, text, files::Replace::kWhole) == files::WriteResult::kWritten;
}

base::Status notate_result(const std::string& folder, const char* midi_name, const char* xml_name,
                              const harmonizer::HarmonizerState* harmonizer, Grid grid, files::ResultWriter* results) {
  if (!write_result_notation(folder, midi_name, xml_name, harmonizer, grid, results)) {
    return base::Message(kNotationNotWritten, midi_name, xml_name);
  }
  return base::Status();
}

}  // namespace zelvo::notation
