#include "harmonizer/musicxml_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/message_id.h"
#include "harmonizer/meter_reading.h"
#include "harmonizer/note_time.h"
#include "music/note_letters.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using engine::MusicNote;
using engine::MusicNoteTable;

constexpr int32_t kLineBuffer = 400;   // a line of at most 399 characters
constexpr int32_t kPitchBuffer = 40;   // the alter and octave lines: 39 characters
constexpr int32_t kNumberReach = 100;  // a tag's number lies in its first 100 characters
constexpr int32_t kVelocity = 100;
// Tempo marks MIDI can carry: 24 bits of microseconds a quarter note.
constexpr double kMinTempo = 4;
constexpr double kMaxTempo = 1000;

bool starts_with(const char* line, const char* tag) {
  return std::strncmp(line, tag, std::strlen(tag)) == 0;
}

// The line from its first '<' on (indentation dropped); the whole line when
// it holds none.
const char* from_tag(const char* line) {
  const char* open = std::strchr(line, '<');
  return open != nullptr ? open : line;
}

// A click count kept to the 32 bits of a record field; absurd durations
// saturate instead of overflowing.
int32_t saturate(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// The reading of one file: the state that the tag lines change. A fault
// ends the reading at once, unwinding with its message (base::stop_with).
class XmlReading {
 public:
  XmlReading(MusicNoteTable& table, engine::TimeSettings& time, int32_t first, int32_t count,
             std::FILE* file, const char* name)
      : table_(table), time_(time), first_(first), last_(int64_t{first} + count), file_(file), name_(name) {}

  void run(bool follow_meter_changes) {
    table_.note_count = 0;
    time_.meters.count = 0;
    // The music's own tempo, never an earlier reading's.
    time_.tempo = engine::kDefaultTempo;
    time_.tempos.count = 0;
    char buffer[kLineBuffer];
    while (std::fgets(buffer, kLineBuffer, file_) != nullptr) line(from_tag(buffer));
    int32_t measure = 0;
    switch (meters_.finish(time_, follow_meter_changes, measure)) {
      case MeterReading::Problem::kNone:
        return;
      case MeterReading::Problem::kPartsDiffer:
        base::stop_with(base::Message(kPartsInOtherMeters, name_, measure));
      case MeterReading::Problem::kTooMany:
        base::stop_with(base::Message(kTooManyMeterChanges, name_, engine::kMaxMeterChanges, measure));
      case MeterReading::Problem::kOutOfOrder:
        base::stop_with(base::Message(kMeterOutOfOrder, name_, measure));
      case MeterReading::Problem::kUnusual:
        base::stop_with(base::Message(kUnusualMeter, name_, measure));
    }
  }

 private:
  bool in_range() const { return part_ >= first_ && part_ < last_; }

  void line(const char* text) {
    if (starts_with(text, "<part id=")) {
      part_ = tag_number(text);
      meters_.start_part();
    }
    if (starts_with(text, "<measure number=")) {
      measure_ = tag_number(text);
      position_ = 0;
    }
    if (starts_with(text, "<divisions")) divisions_ = tag_number(text);
    if (starts_with(text, "<sound ")) tempo_mark(text);
    if (starts_with(text, "<beats>")) time_.beats_per_bar = tag_number(text);
    if (starts_with(text, "<beat-type")) {
      const int32_t den = tag_number(text);
      if (den == 0) base::stop_with(base::Message(kZeroBeatType, name_));
      time_.beat_unit = den;
      time_.den_exponent = denominator_exponent(den);
      // A whole note in clicks, kept to 32 bits as it always was: an absurd
      // ClicksQuarter wraps here instead of overflowing.
      const auto whole = static_cast<int32_t>(16u * static_cast<uint32_t>(time_.clicks_per_sixteenth));
      time_.clicks_per_beat = whole / den;
      meters_.time_signature(measure_, time_.beats_per_bar, den);
    }
    // Note elements: notation programs write attributes into the start tag.
    if (starts_with(text, "<note>") || starts_with(text, "<note ")) {
      in_note_ = true;
      has_pitch_ = false;
    }
    if (!in_range()) {
      if (starts_with(text, "</note")) end_note();
      return;
    }
    if (starts_with(text, "<step")) step(text);
    if (starts_with(text, "<duration")) duration(text);
    if (starts_with(text, "<tie type=\"start") && table_.note_count > 0) {
      table_.notes[table_.note_count - 1].tie_flags |= engine::kTieContinues;
    }
    if (starts_with(text, "<tie type=\"stop") && table_.note_count > 0) {
      table_.notes[table_.note_count - 1].tie_flags |= engine::kTieContinued;
    }
    if (starts_with(text, "<chord/")) in_chord_ = true;
    if (starts_with(text, "<rest")) in_rest_ = true;
    if (starts_with(text, "<backup")) in_backup_ = true;
    if (starts_with(text, "</backup")) in_backup_ = false;
    if (starts_with(text, "</note")) {
      end_note();
      if (table_.note_count > 0 &&
          (table_.notes[table_.note_count - 1].tie_flags & engine::kTieContinued) != 0) {
        join_tie();
      }
    }
  }

  // A tempo mark: the first sets the tempo, later ones of the same part
  // become changes where they stand. Other parts repeat the first part's
  // marks, when they carry any. A mark out of the range MIDI can hold is
  // left out.
  void tempo_mark(const char* text) {
    const char* value = std::strstr(text, " tempo=\"");
    if (value == nullptr) return;
    const double quarters = std::strtod(value + 8, nullptr);
    if (!(quarters >= kMinTempo && quarters <= kMaxTempo)) return;
    const auto tempo = static_cast<int32_t>(quarters + 0.5);
    const auto micros = static_cast<uint32_t>(60000000 / tempo);
    if (!tempo_seen_) {
      tempo_seen_ = true;
      tempo_part_ = part_;
      time_.tempo = tempo;
      return;
    }
    if (part_ != tempo_part_) return;
    time_.tempos.add(measure_ > 0 ? measure_ : 1, in_range() ? saturate(position_) : 0, micros,
                     static_cast<uint32_t>(60000000 / time_.tempo));
  }

  void end_note() {
    in_chord_ = false;
    in_rest_ = false;
    in_note_ = false;
    has_pitch_ = false;
  }

  // A pitch line: fills the record at index note count except its duration.
  void step(const char* text) {
    if (measure_ == 0) base::stop_with(base::Message(kPickupMeasure, name_));
    if (table_.note_count >= engine::kMaxMusicNotes) base::stop_with(base::Message(kTooManyNotes, name_));
    table_.reserve(table_.note_count + 1);
    // A line cut by the buffer may end right after the tag's name.
    const char letter = text[5] != '\0' ? text[6] : '\0';
    char next[kPitchBuffer];
    read_pitch_line(next);
    const char* held = from_tag(next);
    int32_t alter = 0;
    if (starts_with(held, "<alter")) {
      alter = tag_number(held);
      if (held[6] != '\0' && held[7] == '-') alter = -alter;
      read_pitch_line(next);
      held = from_tag(next);
    }
    const int32_t octave = tag_number(held);
    MusicNote& note = table_.notes[table_.note_count];
    note.Note = static_cast<int32_t>(
        (int64_t{octave} + 1) * 12 + music::letter_semitones(letter) + alter);  // wraps only on absurd input
    note.Cpin = measure_;
    note.Inst = part_;
    note.Ckin = saturate(in_chord_ ? chord_start_ : position_);
    if (!in_chord_) chord_start_ = position_;
    note.tie_flags = 0;
    has_pitch_ = true;
  }

  void read_pitch_line(char* next) {
    if (std::fgets(next, kPitchBuffer, file_) == nullptr) next[0] = '\0';
  }

  void duration(const char* text) {
    if (divisions_ <= 0) base::stop_with(base::Message(kNoDivisions, name_));
    // d * clicks-semic * 4 / divisions in 64 bits; a product beyond them
    // could only saturate the 32-bit result anyway.
    const int64_t per_division = int64_t{time_.clicks_per_sixteenth} * 4;
    const int64_t count = tag_number(text);
    const int64_t magnitude = per_division < 0 ? -per_division : per_division;
    int32_t clicks = 0;
    if (magnitude == 0 || count <= INT64_MAX / magnitude) {
      clicks = saturate(count * per_division / divisions_);
    } else {
      clicks = per_division < 0 ? INT32_MIN : INT32_MAX;
    }
    if (in_backup_) {
      position_ -= clicks;
      return;
    }
    // A duration outside a note (a <forward>) or of a note without a pitch
    // moves the position and completes no record.
    if (in_note_ && has_pitch_ && !in_rest_) {
      MusicNote& note = table_.notes[table_.note_count];
      note.Dur = clicks;
      note.Vel = kVelocity;
      ++table_.note_count;
      has_pitch_ = false;
    }
    if (!in_chord_) position_ += clicks;
  }

  // The last record ends a tie: add it to the nearest earlier record of the
  // same part whose open tie ends where it starts.
  void join_tie() {
    const int32_t last = table_.note_count - 1;
    MusicNote& piece = table_.notes[last];
    const int64_t start = note_start(time_, piece);
    for (int32_t r = last - 1; r >= 0; --r) {
      MusicNote& head = table_.notes[r];
      if ((head.tie_flags & engine::kTieContinues) == 0 || head.Inst != piece.Inst ||
          note_end(time_, head) != start) {
        continue;
      }
      head.Dur = saturate(int64_t{head.Dur} + piece.Dur);
      if ((piece.tie_flags & engine::kTieContinues) == 0) head.tie_flags = 0;
      table_.note_count = last;
      return;
    }
  }

  MusicNoteTable& table_;
  engine::TimeSettings& time_;
  const int64_t first_;
  const int64_t last_;  // one past the last part read
  std::FILE* file_;
  const char* name_;  // the work file's name, as messages give it
  MeterReading meters_;
  int32_t part_ = 0;
  int32_t measure_ = 0;
  int32_t divisions_ = 0;
  int64_t position_ = 0;
  int64_t chord_start_ = 0;
  bool in_chord_ = false;
  bool in_rest_ = false;
  bool in_backup_ = false;
  bool in_note_ = false;
  bool has_pitch_ = false;  // the current note element's record holds its pitch
  bool tempo_seen_ = false;
  int32_t tempo_part_ = 0;  // the part whose tempo marks count
};

}  // namespace

int32_t tag_number(const char* line) {
  int32_t i = 0;
  while (i < kNumberReach && line[i] != '\0' && (line[i] < '0' || line[i] > '9')) ++i;
  if (i >= kNumberReach || line[i] == '\0') return 0;
  int64_t value = 0;
  for (; i < kNumberReach && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

base::Status read_musicxml(MusicNoteTable& table, engine::TimeSettings& time, int32_t first, int32_t count,
                           std::FILE* file, const char* name, bool follow_meter_changes) {
  if (file == nullptr) return base::Message(kErrorOpeningFile, name);
  return base::attempt([&] { XmlReading(table, time, first, count, file, name).run(follow_meter_changes); });
}

}  // namespace zelvo::harmonizer
