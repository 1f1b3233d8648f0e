#include "harmonizer/midi_reader.h"

#include <string>
#include <vector>

#include "base/message_id.h"
#include "engine/bar_time.h"
#include "files/whole_file.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using engine::MusicNote;

// The notes whose length is still 0, by channel (1 to 16) and pitch (a
// data byte), each in the order of the table: a note-off finds its note
// at once where a scan of the table from its start took time in the
// square of the notes (a piece of 30,000 notes: 2.6 G instructions).
class OpenNotes {
 public:
  void opened(int32_t record, int32_t channel, int32_t note) {
    next_.resize(static_cast<size_t>(record) + 1, -1);
    const size_t key = key_of(channel, note);
    if (last_[key] >= 0) {
      next_[static_cast<size_t>(last_[key])] = record;
    } else {
      first_[key] = record;
    }
    last_[key] = record;
  }
  // The first still open; -1 for none.
  int32_t first(int32_t channel, int32_t note) const { return first_[key_of(channel, note)]; }
  void close_first(int32_t channel, int32_t note) {
    const size_t key = key_of(channel, note);
    first_[key] = next_[static_cast<size_t>(first_[key])];
    if (first_[key] < 0) last_[key] = -1;
  }

 private:
  static constexpr size_t kKeys = 16 * 256;
  static size_t key_of(int32_t channel, int32_t note) {
    return static_cast<size_t>((channel - 1) & 15) * 256 + static_cast<size_t>(note & 255);
  }
  std::vector<int32_t> first_ = std::vector<int32_t>(kKeys, -1);
  std::vector<int32_t> last_ = std::vector<int32_t>(kKeys, -1);
  std::vector<int32_t> next_;  // by record: the next open one of its key
};

// The file's events as music note records and time settings.
class MusicFromMidi final : public MidiEventSink {
 public:
  MusicFromMidi(engine::MusicNoteTable& table, engine::TimeSettings& time, const char* name, bool follow)
      : table_(table), time_(time), name_(name), follow_(follow) {}

  void division(int32_t ticks) override {
    division_ = ticks;
    time_.clicks_per_sixteenth = ticks / 4;
  }
  void tempo(int32_t micros_per_quarter) override {
    time_.tempo = 60000000 / micros_per_quarter;
    leading_micros_ = static_cast<uint32_t>(micros_per_quarter);
  }
  void time_signature(int32_t numerator, int32_t exponent) override {
    time_.beats_per_bar = numerator;
    time_.den_exponent = exponent;
    time_.beat_unit = 1 << exponent;
  }
  base::Status leading_events_read(int32_t timing_events) override {
    time_.clicks_per_beat = division_ * 4 / time_.beat_unit;
    if (timing_events != 2) return base::Message(kMidiBarOrTempo, name_);
    clicks_per_bar_ = int64_t{time_.beats_per_bar} * time_.clicks_per_beat;
    if (clicks_per_bar_ <= 0) return base::Message(kMidiBarOrTempo, name_);
    return base::Status();
  }

  // A change of meter must come at the start of a bar; the bars after it
  // take its length.
  base::Status later_time_signature(int64_t tick, int32_t numerator, int32_t exponent) override {
    if (!follow_) return base::Status();
    const engine::MeterMap& map = time_.meters;
    const int32_t beats = map.count == 0 ? time_.beats_per_bar : map.changes[map.count - 1].beats;
    const int32_t exponent_now =
        map.count == 0 ? time_.den_exponent : map.changes[map.count - 1].den_exponent;
    if (numerator == beats && exponent == exponent_now) return base::Status();
    const int64_t whole = int64_t{division_} * 4;
    if (map.count == 0 &&
        engine::set_first_meter(time_, time_.beats_per_bar, time_.beat_unit, whole) !=
            engine::MeterProblem::kNone) {
      return base::Message(kMidiMeterNotFollowed, name_, 1);
    }
    const engine::BarPosition at = engine::position_at(time_, tick);
    // The bar as the message has always shown it: its low 32 bits.
    const auto bar = static_cast<int32_t>(at.bar);
    if (at.click != 0 || at.bar > INT32_MAX || exponent > 30) return base::Message(kMidiMeterNotFollowed, name_, bar);
    if (engine::add_meter_change(time_, bar, numerator, 1 << exponent, whole) != engine::MeterProblem::kNone) {
      return base::Message(kMidiMeterNotFollowed, name_, bar);
    }
    return base::Status();
  }

  // Kept for the result, at its bar and click.
  void later_tempo(int64_t tick, int32_t micros_per_quarter) override {
    if (clicks_per_bar_ <= 0 || tick < 0) return;
    int64_t bar = tick / clicks_per_bar_ + 1;
    int64_t click = tick % clicks_per_bar_;
    if (engine::has_meter_changes(time_)) {
      const engine::BarPosition at = engine::position_at(time_, tick);
      bar = at.bar;
      click = at.click;
    }
    if (bar > INT32_MAX || click > INT32_MAX) return;
    time_.tempos.add(static_cast<int32_t>(bar), static_cast<int32_t>(click),
                     static_cast<uint32_t>(micros_per_quarter), leading_micros_);
  }

  void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) override {
    if (table_.note_count >= kMaxMidiNotes) return;
    table_.reserve(table_.note_count + 1);
    MusicNote& record = table_.notes[table_.note_count];
    record.Inst = channel;
    if (engine::has_meter_changes(time_)) {
      const engine::BarPosition at = engine::position_at(time_, tick);
      record.Cpin = static_cast<int32_t>(at.bar);
      record.Ckin = static_cast<int32_t>(at.click);
    } else {
      record.Cpin = static_cast<int32_t>(tick / clicks_per_bar_ + 1);
      record.Ckin = static_cast<int32_t>(tick % clicks_per_bar_);
    }
    record.Dur = 0;
    record.Note = note;
    record.Vel = velocity;
    record.tie_flags = 0;
    open_notes_.opened(table_.note_count, channel, note);
    ++table_.note_count;
  }

  // Closes the first note of the table, in its order, of this channel and
  // pitch whose length is still 0.
  void note_off(int64_t tick, int32_t channel, int32_t note) override {
    const int32_t i = open_notes_.first(channel, note);
    if (i < 0) return;
    MusicNote& record = table_.notes[i];
    const int64_t start = engine::has_meter_changes(time_)
                              ? engine::bar_start(time_, record.Cpin) + record.Ckin
                              : (int64_t{record.Cpin} - 1) * clicks_per_bar_ + record.Ckin;
    record.Dur = static_cast<int32_t>(tick - start);
    // A note that ends where it starts keeps its length 0: the next
    // note-off of its pitch finds it again.
    if (record.Dur != 0) open_notes_.close_first(channel, note);
  }

 private:
  engine::MusicNoteTable& table_;
  engine::TimeSettings& time_;
  const char* name_;  // the file's name in messages
  int32_t division_ = 0;
  int64_t clicks_per_bar_ = 0;
  bool follow_;
  uint32_t leading_micros_ = 0;
  OpenNotes open_notes_;
};

}  // namespace

base::Status read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, std::FILE* file, const char* name,
                       bool follow_meter_changes) {
  table.note_count = 0;
  time.meters.count = 0;
  time.tempos.count = 0;
  if (file == nullptr) return base::Message(kMidiCannotRead, name);
  MusicFromMidi music(table, time, name, follow_meter_changes);
  std::string bytes;
  files::read_whole(file, bytes);  // what a failing read gave is read as the file
  return read_midi_events(bytes, music, name);
}

base::Status read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, const midi::Song& merged,
                       const char* name, bool follow_meter_changes) {
  table.note_count = 0;
  time.meters.count = 0;
  time.tempos.count = 0;
  MusicFromMidi music(table, time, name, follow_meter_changes);
  return read_midi_events(merged, music, name);
}

}  // namespace zelvo::harmonizer
