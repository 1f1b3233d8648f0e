#include "notation/voice_layout.h"

#include <algorithm>

namespace zelvo::notation {

namespace {

constexpr int kTrebleLowest = 55;  // G3: two ledger lines below the treble staff
constexpr int kBassHighest = 64;   // E4: two ledger lines above the bass staff
constexpr int kMiddleC = 60;

// Whether `to` holds a chord starting and ending with `chord` and no pitch of it.
Chord* partner(std::vector<Chord>& to, const Chord& chord, const MidiNotes& midi) {
  for (Chord& other : to) {
    if (other.start != chord.start || other.length != chord.length) continue;
    for (const int a : other.members) {
      for (const int b : chord.members) {
        if (midi.notes[static_cast<size_t>(a)].pitch == midi.notes[static_cast<size_t>(b)].pitch) return nullptr;
      }
    }
    return &other;
  }
  return nullptr;
}

}  // namespace

std::vector<std::vector<Chord>> channel_voices(const MidiNotes& midi, int channel) {
  std::vector<std::vector<Chord>> voices;
  for (int i = 0; i < static_cast<int>(midi.notes.size()); ++i) {
    const SoundingNote& note = midi.notes[static_cast<size_t>(i)];
    if (note.channel != channel || note.length <= 0) continue;
    bool placed = false;
    for (std::vector<Chord>& voice : voices) {
      Chord& last = voice.back();
      // A unison goes to another voice: notation programs tie only one
      // of two equal notes of a chord.
      const bool unison = std::any_of(last.members.begin(), last.members.end(), [&](int m) {
        return midi.notes[static_cast<size_t>(m)].pitch == note.pitch;
      });
      if (last.start == note.start && last.length == note.length && !unison) {
        last.members.push_back(i);
        placed = true;
      } else if (last.start + last.length <= note.start) {
        voice.push_back(Chord{note.start, note.length, {i}});
        placed = true;
      }
      if (placed) break;
    }
    if (!placed) voices.push_back({Chord{note.start, note.length, {i}}});
  }
  return voices;
}

int arrange_staves(const MidiNotes& midi, int channel, VoiceLayout& layout) {
  int lowest = 127;
  int highest = 0;
  for (const SoundingNote& note : midi.notes) {
    if (note.channel != channel) continue;
    lowest = std::min(lowest, note.pitch);
    highest = std::max(highest, note.pitch);
  }
  const bool grand = channel != kDrumChannel && lowest < kTrebleLowest && highest > kBassHighest;
  std::vector<std::vector<Chord>> staves[2];
  for (std::vector<Chord>& voice : layout.voices) {
    if (!grand) {
      staves[0].push_back(std::move(voice));
      continue;
    }
    int64_t sum = 0;
    int64_t count = 0;
    int low = 127;
    int high = 0;
    for (const Chord& chord : voice) {
      for (const int m : chord.members) {
        const int pitch = midi.notes[static_cast<size_t>(m)].pitch;
        sum += pitch;
        ++count;
        low = std::min(low, pitch);
        high = std::max(high, pitch);
      }
    }
    const bool treble_holds = low >= kTrebleLowest;
    const bool bass_holds = high <= kBassHighest;
    const bool treble = count > 0 && sum / count >= kMiddleC;
    if (treble ? treble_holds : bass_holds) {
      staves[treble ? 0 : 1].push_back(std::move(voice));
      continue;
    }
    if (treble_holds || bass_holds) {
      staves[treble_holds ? 0 : 1].push_back(std::move(voice));
      continue;
    }
    std::vector<Chord> parts[2];
    for (const Chord& chord : voice) {
      Chord split[2] = {{chord.start, chord.length, {}}, {chord.start, chord.length, {}}};
      for (const int m : chord.members) {
        split[midi.notes[static_cast<size_t>(m)].pitch >= kMiddleC ? 0 : 1].members.push_back(m);
      }
      for (int s = 0; s < 2; ++s) {
        if (!split[s].members.empty()) parts[s].push_back(std::move(split[s]));
      }
    }
    for (int s = 0; s < 2; ++s) {
      if (!parts[s].empty()) staves[s].push_back(std::move(parts[s]));
    }
  }
  layout.voices.clear();
  layout.staff.clear();
  layout.line.clear();
  for (int s = 0; s < 2; ++s) {
    std::vector<std::vector<Chord>>& voices = staves[s];
    // Past two voices, a chord joins one of the first two that moves with it.
    for (size_t v = 2; v < voices.size(); ++v) {
      std::vector<Chord> rest;
      for (Chord& chord : voices[v]) {
        Chord* with = partner(voices[0], chord, midi);
        if (with == nullptr) with = partner(voices[1], chord, midi);
        if (with == nullptr) {
          rest.push_back(std::move(chord));
          continue;
        }
        with->members.insert(with->members.end(), chord.members.begin(), chord.members.end());
      }
      voices[v] = std::move(rest);
    }
    int line = 0;
    for (std::vector<Chord>& voice : voices) {
      if (voice.empty()) continue;
      layout.voices.push_back(std::move(voice));
      layout.staff.push_back(s + 1);
      layout.line.push_back(++line);
    }
    if (grand && line == 0) {  // a staff without notes shows its rests
      layout.voices.emplace_back();
      layout.staff.push_back(s + 1);
      layout.line.push_back(1);
    }
  }
  return grand ? 2 : 1;
}

}  // namespace zelvo::notation
