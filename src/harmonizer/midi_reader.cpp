#include "harmonizer/midi_reader.h"

namespace zelvo::harmonizer {

namespace {

using engine::MusicNote;

// The file's events as music note records and time settings.
class MusicFromMidi final : public midi::EventSink {
 public:
  MusicFromMidi(engine::MusicNoteTable& table, engine::TimeSettings& time)
      : table_(table), time_(time) {}

  void division(int32_t ticks) override {
    division_ = ticks;
    time_.clicks_semic = ticks / 4;
  }
  void tempo(int32_t micros_per_quarter) override { time_.tempo = 60000000 / micros_per_quarter; }
  void time_signature(int32_t numerator, int32_t exponent) override {
    time_.compas_num = numerator;
    time_.den_exponent = exponent;
    time_.compas_den = 1 << exponent;
  }
  MidiResult leading_events_read(int32_t timing_events) override {
    time_.clicks_parte = division_ * 4 / time_.compas_den;
    if (timing_events != 2) return MidiResult::kBarOrTempo;
    clicks_per_bar_ = int64_t{time_.compas_num} * time_.clicks_parte;
    if (clicks_per_bar_ <= 0) return MidiResult::kBarOrTempo;
    return MidiResult::kRead;
  }

  void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) override {
    if (table_.note_count >= kMaxMidiNotes) return;
    MusicNote& record = table_.notes[table_.note_count];
    record.Inst = channel;
    record.Cpin = static_cast<int32_t>(tick / clicks_per_bar_ + 1);
    record.Ckin = static_cast<int32_t>(tick % clicks_per_bar_);
    record.Dur = 0;
    record.Note = note;
    record.Vel = velocity;
    record.tie_flags = 0;
    ++table_.note_count;
  }

  void note_off(int64_t tick, int32_t channel, int32_t note) override {
    for (int32_t i = 0; i < table_.note_count; ++i) {
      MusicNote& record = table_.notes[i];
      if (record.Inst != channel || record.Note != note || record.Dur != 0) continue;
      const int64_t start = (int64_t{record.Cpin} - 1) * clicks_per_bar_ + record.Ckin;
      record.Dur = static_cast<int32_t>(tick - start);
      return;
    }
  }

 private:
  engine::MusicNoteTable& table_;
  engine::TimeSettings& time_;
  int32_t division_ = 0;
  int64_t clicks_per_bar_ = 0;
};

}  // namespace

MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time,
                     const char* file_name) {
  table.note_count = 0;
  MusicFromMidi music(table, time);
  return midi::read_file(file_name, music);
}

MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, std::FILE* file) {
  table.note_count = 0;
  MusicFromMidi music(table, time);
  return midi::read_file(file, music);
}

}  // namespace zelvo::harmonizer
