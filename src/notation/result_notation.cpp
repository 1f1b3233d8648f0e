#include "notation/result_notation.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/message_id.h"
#include "notation/midi_notation.h"
#include "notation/notation_grid.h"

namespace zelvo::notation {

using enum base::MessageId;

namespace {

using NoteKey = std::tuple<int32_t, int32_t, int64_t>;  // channel 1-16, pitch, start tick

// Each note's tone type; a type whose note is not struck at its tick (the
// part of a note tied over a bar line) goes to `held`, for the note sounding there.
std::vector<std::string> tone_type_lyrics(const MidiNotes& midi, const std::vector<harmonizer::ToneLine>& tones,
                                          std::vector<HeldLyric>& held) {
  std::map<NoteKey, const char*> types;
  for (const harmonizer::ToneLine& tone : tones) types.emplace(NoteKey{tone.channel, tone.chosen, tone.tick}, tone.type);
  const auto chord_tone = [](const char* type) { return harmonizer::kChordToneName == type; };
  std::vector<std::string> lyrics;
  for (const SoundingNote& note : midi.notes) {
    const auto found = types.find(NoteKey{note.channel + 1, note.pitch, note.start});
    const bool labelled = found != types.end() && !chord_tone(found->second);
    lyrics.push_back(labelled ? found->second : "");
    if (found != types.end()) types.erase(found);
  }
  for (const auto& [key, type] : types) {
    if (chord_tone(type)) continue;
    const auto [channel, pitch, tick] = key;
    for (size_t i = 0; i < midi.notes.size() && midi.notes[i].start < tick; ++i) {
      const SoundingNote& note = midi.notes[i];
      if (note.channel + 1 != channel || note.pitch != pitch || note.start + note.length <= tick) continue;
      held.push_back({static_cast<int>(i), tick, type});
      break;
    }
  }
  return lyrics;
}

// The key of every scale of the harmony, from where it starts; a scale in
// the key of the one before adds nothing.
std::vector<KeySignature> scale_keys(const std::vector<harmonizer::ResultScale>& scales) {
  std::vector<KeySignature> keys;
  for (const harmonizer::ResultScale& scale : scales) {
    bool present[12];
    std::copy(scale.marked.begin(), scale.marked.end(), present);
    const Key key = fit_key(present, scale.tonic);
    if (!keys.empty() && keys.back().key == key) continue;
    keys.push_back({std::max<int64_t>(0, scale.tick), key});
  }
  return keys;
}

}  // namespace

std::string result_notation(std::string_view bytes, const HarmonyLabels* labels, Grid grid) {
  MidiNotes midi;
  if (read_midi_with_labels(bytes, midi) != intake::MidiMerge::kMerged) return "";
  if (labels != nullptr) {
    midi.keys = scale_keys(labels->scales);
    for (size_t c = 0; c < labels->names.size(); ++c) {
      if (!labels->names[c].empty()) midi.names[c] = labels->names[c];
    }
  }
  add_key_from_notes(midi);
  std::vector<HeldLyric> held;
  const std::vector<std::string> lyrics =
      labels != nullptr ? tone_type_lyrics(midi, labels->tones, held) : std::vector<std::string>{};
  return write_notation(midi, lyrics, grid, held);
}

base::Status notate_result(const std::string* midi, const char* midi_name, const char* xml_name,
                              const HarmonyLabels* labels, Grid grid, const std::string& folder,
                              files::ResultWriter* results) {
  const std::string text = midi != nullptr ? result_notation(*midi, labels, grid) : std::string();
  if (text.empty() ||
      files::write_output(results, folder, xml_name, text, files::Replace::kWhole) != files::WriteResult::kWritten) {
    return base::Message(kNotationNotWritten, midi_name, xml_name);
  }
  return base::Status();
}

}  // namespace zelvo::notation
