#include "harmonizer/output.h"

#include <algorithm>

#include "base/work_files.h"
#include "base/message_id.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/note_time.h"
#include "midi/engine_track.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using engine::MusicNote;

static_assert(engine::kMaxMusicNotes <= midi::kMaxTrackEvents, "every record fits the track");
static_assert(engine::kMaxMusicNotes / 2 == 8388608, "kTooManyResultNotes names this limit in its text");
static_assert(engine::kMaxMeterChanges <= midi::kMaxMeterEvents, "every meter change fits too");

bool removed(const MusicNote& note) { return note.Cpin == 0; }

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

base::Status write_notes_midi(HarmonizerState& state, engine::MusicNoteTable& music, engine::ZeroedTable<int32_t>& times,
                                 const char* path) {
  const engine::TimeSettings& time = state.settings.time;
  const int32_t n = music.note_count;
  if (n > engine::kMaxMusicNotes / 2) return base::Message(kTooManyResultNotes, n);
  music.reserve(2 * n);
  times.resize(std::max(times.size(), static_cast<size_t>(2 * n)));
  if (time.tempo <= 0) return base::Message(kHarmonizerBadTempo, time.tempo);
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
  sort_note_table(music, times.data(), time, state.sort);

  midi::TrackEvents& track = state.track;
  track.reserve(music.note_count);
  for (int32_t i = 0; i < music.note_count; ++i) {
    const MusicNote& note = music.notes[i];
    track.events[i] = midi::TrackEvent{times[i], note.Inst - 1, note.Note, note.Vel};
  }
  track.count = music.note_count;
  midi::MeterEvent meters[midi::kMaxMeterEvents];
  const int32_t meter_count = time.meters.count;
  for (int32_t k = 0; k < meter_count; ++k) {
    const engine::MeterChange& change = time.meters.changes[k];
    meters[k] = midi::MeterEvent{midi_tick(time, change.bar, 0), static_cast<uint32_t>(change.beats),
                                 static_cast<uint32_t>(change.den_exponent)};
  }
  midi::TempoEvent tempos[midi::kMaxTempoEvents];
  const int32_t tempo_count = time.tempos.count;
  for (int32_t k = 0; k < tempo_count; ++k) {
    const engine::TempoChange& change = time.tempos.changes[k];
    tempos[k] = midi::TempoEvent{midi_tick(time, change.bar, change.click), change.micros_per_quarter};
  }
  const midi::TrackSettings settings{4u * static_cast<uint32_t>(time.clicks_per_sixteenth),
                                     static_cast<uint32_t>(time.beats_per_bar),
                                     static_cast<uint32_t>(time.den_exponent),
                                     static_cast<uint32_t>(60000000 / time.tempo),
                                     meters,
                                     meter_count,
                                     tempos,
                                     tempo_count};
  const midi::EncodeResult encoded = midi::encode_file(settings, track, state.image);
  // The file is created before a delta too long is reported, and keeps the
  // events before it.
  const files::WriteResult written =
      files::write_output(state.results, state.work_folder, path, state.image.bytes, files::Replace::kInPlace);
  if (written == files::WriteResult::kNotCreated) return base::Message(kErrorCreatingFile, path);
  if (!encoded.ok) {
    return base::Message(kTimeStepTooLong, path, static_cast<uint32_t>(encoded.bad_delta));
  }
  if (written == files::WriteResult::kNotWritten) return base::Message(kErrorWritingFile, path);
  return base::Status();
}

base::Status write_harmony_midi(HarmonizerState& state) {
  return write_notes_midi(state, state.engine.music, state.note_times, state.output_name);
}

}  // namespace zelvo::harmonizer
