#include "harmonizer/output.h"

#include <cstdio>
#include <initializer_list>
#include <memory>

#include "console/midi_bytes.h"
#include "harmonizer/harmonizer_messages.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/note_time.h"
#include "harmonizer/stage_error.h"

namespace zelvo::harmonizer {

namespace {

using engine::MusicNote;

constexpr long kTrackLengthOffset = 18;
constexpr long kChunkHeadBytes = 22;  // header chunk and the track's type and length

bool removed(const MusicNote& note) { return note.Cpin == 0; }

// Writes to a file and remembers whether every byte went out.
class MidiOutput {
 public:
  explicit MidiOutput(std::FILE* file) : file_(file) {}
  void bytes(const uint8_t* data, size_t count) {
    if (std::fwrite(data, 1, count, file_) != count) ok_ = false;
  }
  void bytes(std::initializer_list<uint8_t> data) { bytes(data.begin(), data.size()); }
  void be32(uint32_t value) {
    bytes({static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
           static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
  }
  void patch_track_length() {
    const long end = std::ftell(file_);
    if (end < 0 || std::fseek(file_, kTrackLengthOffset, SEEK_SET) != 0) {
      ok_ = false;
      return;
    }
    be32(static_cast<uint32_t>(end - kChunkHeadBytes));
  }
  bool ok() const { return ok_; }

 private:
  std::FILE* file_;
  bool ok_ = true;
};

}  // namespace

void rejoin_notes(HarmonizerState& state) {
  engine::MusicNoteTable& music = state.engine.music;
  const engine::TimeSettings& time = state.settings.time;
  for (int32_t i = 0; i < music.note_count; ++i) {
    MusicNote& head = music.notes[i];
    if (removed(head) || (head.tie_flags & engine::kTieContinues) == 0) continue;
    const int64_t end = note_end(time, head);
    // Only the first match is joined: two lines of one instrument cut at the
    // same moment with the same pitch each keep their own continuation.
    for (int32_t j = i + 1; j < music.note_count; ++j) {
      const MusicNote& piece = music.notes[j];
      if (removed(piece) || note_start(time, piece) != end || piece.Inst != head.Inst ||
          piece.Note != head.Note || (piece.tie_flags & engine::kTieContinued) == 0) {
        continue;
      }
      head.Dur = static_cast<int32_t>(int64_t{head.Dur} + piece.Dur);  // wraps, never UB
      const bool goes_on = (piece.tie_flags & engine::kTieContinues) != 0;
      music.notes[j].Cpin = 0;
      if (goes_on) {
        --i;  // visit the head again from its new end
      } else {
        head.tie_flags = 0;
      }
      break;
    }
  }
  for (int32_t k = 0; k < music.note_count; ++k) {
    if (!removed(music.notes[k])) continue;
    while (music.note_count > 0 && removed(music.notes[music.note_count - 1])) {
      --music.note_count;
    }
    if (k < music.note_count) {
      music.notes[k] = music.notes[music.note_count - 1];
      --music.note_count;
    }
  }
  sort_notes(state);
}

void write_harmony_midi(HarmonizerState& state, console::Console& console) {
  engine::MusicNoteTable& music = state.engine.music;
  const engine::TimeSettings& time = state.settings.time;
  const int32_t n = music.note_count;
  if (n > engine::kMaxMusicNotes / 2) stage_error(console, kTooManyResultNotes, n);
  if (time.tempo <= 0) stage_error(console, kBadTempo, time.tempo);
  for (int32_t i = 0; i < n; ++i) {
    const MusicNote& note = music.notes[i];
    MusicNote& off = music.notes[n + i];
    off.Inst = note.Inst;
    off.Cpin = note.Cpin;
    off.Note = note.Note;
    // A negative duration (a listing can carry one) ends at the onset: MIDI
    // has no negative times.
    off.Ckin = note.Dur > 0 ? static_cast<int32_t>(int64_t{note.Ckin} + note.Dur) : note.Ckin;
    off.Vel = 0;
    off.Dur = 0;
    off.tie_flags = 0;
  }
  music.note_count = 2 * n;
  sort_notes(state);

  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(state.output_name, "wb"),
                                                         &std::fclose);
  if (!file) stage_error(console, kErrorCreatingFile, state.output_name);
  MidiOutput out(file.get());
  const uint32_t division = 4u * static_cast<uint32_t>(time.clicks_semic);
  out.bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1});
  out.bytes({static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)});
  out.bytes({'M', 'T', 'r', 'k', 0, 0, 0, 0});
  out.bytes({0x00, 0xFF, 0x58, 0x04, static_cast<uint8_t>(time.compas_num),
             static_cast<uint8_t>(time.den_exponent), 0x18, 0x08});
  const uint32_t micros = static_cast<uint32_t>(60000000 / time.tempo);
  out.bytes({0x00, 0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
             static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)});
  int32_t previous = 0;
  for (int32_t i = 0; i < music.note_count; ++i) {
    const MusicNote& note = music.notes[i];
    const uint32_t delta =
        static_cast<uint32_t>(static_cast<int64_t>(state.note_times[i]) - previous);
    if (delta > midi::kMaxVarLength) stage_error(console, kTimeStepTooLong, state.output_name, delta);
    previous = state.note_times[i];
    uint8_t event[7];
    int32_t size = midi::put_var_length(event, delta);
    event[size++] = static_cast<uint8_t>(0x90 + note.Inst - 1);
    event[size++] = static_cast<uint8_t>(note.Note);
    event[size++] = static_cast<uint8_t>(note.Vel);
    out.bytes(event, static_cast<size_t>(size));
  }
  out.bytes({0x00, 0xFF, 0x2F, 0x00});
  out.patch_track_length();
  const bool written = out.ok();
  const int closed = std::fclose(file.release());
  if (!written || closed != 0) stage_error(console, kErrorWritingFile, state.output_name);
}

}  // namespace zelvo::harmonizer
