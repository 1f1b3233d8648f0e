#include "composer/sequence_reader.h"

#include <cstdio>
#include <cstring>

#include "base/message_id.h"
#include "music/note_letters.h"

namespace zelvo::composer {

using enum base::MessageId;

namespace {

// Reads one line, LF or CRLF ended, keeping at most `limit` characters (the
// rest of a longer line is skipped). Returns false at the end of the file.
bool read_line(std::FILE* file, char* buffer, int32_t limit) {
  int32_t length = 0;
  int c = std::getc(file);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (length < limit) buffer[length++] = static_cast<char>(c);
    c = std::getc(file);
  }
  if (length > 0 && buffer[length - 1] == '\r') --length;
  buffer[length] = '\0';
  return true;
}

// Drops everything before the first '<'; a line without one stays as it is.
const char* from_first_tag(const char* line) {
  const char* tag = std::strchr(line, '<');
  return tag != nullptr ? tag : line;
}

bool starts_with_nocase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    char a = *text;
    char b = *prefix;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The digits from the first digit of the line on; false when it has none.
// Absurdly long numbers stop growing at a billion.
bool take_number(const char* line, int32_t& number) {
  while (*line != '\0' && (*line < '0' || *line > '9')) ++line;
  if (*line == '\0') return false;
  int64_t value = 0;
  for (; *line >= '0' && *line <= '9'; ++line) {
    if (value < 1000000000) value = value * 10 + (*line - '0');
  }
  number = static_cast<int32_t>(value < 1000000000 ? value : 1000000000);
  return true;
}

int32_t saturate(int64_t value) {
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

int32_t number_or_zero(const char* line) {
  int32_t number = 0;
  return take_number(line, number) ? number : 0;
}

// The reader's position in the score and the flags of the note being read.
struct ReaderState {
  int32_t part = 0;
  int32_t measure = 0;
  int32_t divisions = 0;
  int64_t position = 0;     // click within the measure
  int64_t chord_start = 0;  // position of the last note that was not a chord note
  bool chord = false;
  bool rest = false;
  bool backup = false;
  bool in_note = false;
  bool pitch_pending = false;      // a <step was read and its note is not complete
  bool completed_in_note = false;  // this note element completed a note
  NoteEvent pending{};
};

// A tied note whose start meets the end of an earlier tie-start note of the
// same part is added to that note. Returns true when it was merged.
bool merge_tied_note(NoteTable& table, SequenceTables& sequences, const ComposerTiming& timing) {
  const int32_t last = table.count - 1;
  const NoteEvent& note = table.events[last];
  const int64_t clicks_per_bar = int64_t{timing.clicks_per_beat} * timing.beats_per_bar;
  const int64_t start = clicks_per_bar * note.Cpin + note.Ckin;
  for (int32_t k = last - 1; k >= 0; --k) {
    NoteEvent& found = table.events[k];
    if (!sequences.tie_start[k] || found.Inst != note.Inst) continue;
    if (clicks_per_bar * found.Cpin + found.Ckin + found.Dur != start) continue;
    found.Dur = saturate(int64_t{found.Dur} + note.Dur);
    if (!sequences.tie_start[last]) {
      sequences.tie_start[k] = 0;
      sequences.tie_stop[k] = 0;
    }
    return true;
  }
  return false;
}

}  // namespace

base::Status read_sequence_file(std::FILE* stream, const char* name, const ComposerTiming& timing, NoteTable& table,
                                SequenceTables& sequences) {
  table.count = 0;
  sequences.boundaries.fill(0);
  sequences.stored_boundaries = 0;
  sequences.sequence_count = 0;

  ReaderState r;
  char buffer[kSequenceLineLength + 1];
  char pitch_buffer[kPitchLineLength + 1];
  int32_t line_number = 0;
  const int64_t clicks_per_quarter = int64_t{timing.clicks_per_sixteenth} * 4;

  while (read_line(stream, buffer, kSequenceLineLength)) {
    ++line_number;
    const char* line = from_first_tag(buffer);

    if (starts_with_nocase(line, "<part id=")) {
      if (!take_number(line, r.part)) return base::Message(kSequenceMissingNumber, name, line_number);
    }
    if (starts_with_nocase(line, "<measure number=")) {
      if (!take_number(line, r.measure)) return base::Message(kSequenceMissingNumber, name, line_number);
      r.position = 0;
    }
    if (starts_with_nocase(line, "<divisions")) {
      if (!take_number(line, r.divisions)) return base::Message(kSequenceMissingNumber, name, line_number);
    }
    if (starts_with_nocase(line, "<note>") || starts_with_nocase(line, "<note ")) {
      r.in_note = true;
      r.completed_in_note = false;
    }
    if (starts_with_nocase(line, "<step")) {
      const char step = std::strlen(line) > 6 ? line[6] : '\0';
      int32_t alter = 0;
      const char* pitch_line = "";
      if (read_line(stream, pitch_buffer, kPitchLineLength)) {
        ++line_number;
        pitch_line = from_first_tag(pitch_buffer);
      } else {
        pitch_buffer[0] = '\0';
      }
      if (starts_with_nocase(pitch_line, "<alter")) {
        alter = number_or_zero(pitch_line);
        if (std::strlen(pitch_line) > 7 && pitch_line[7] == '-') alter = -alter;
        pitch_line = "";
        if (read_line(stream, pitch_buffer, kPitchLineLength)) {
          ++line_number;
          pitch_line = from_first_tag(pitch_buffer);
        }
      }
      const int32_t octave = number_or_zero(pitch_line);
      r.pending = NoteEvent{};
      r.pending.Note = saturate((int64_t{octave} + 1) * 12 + music::letter_semitones(step) + alter);
      r.pending.Cpin = r.measure;
      r.pending.Inst = r.part;
      r.pending.Ckin = saturate(r.chord ? r.chord_start : r.position);
      if (!r.chord) r.chord_start = r.position;
      r.pitch_pending = true;
    }
    if (starts_with_nocase(line, "<duration")) {
      if (r.divisions == 0) return base::Message(kSequenceNoDivisions, name, line_number);
      const int64_t wide = int64_t{number_or_zero(line)} * clicks_per_quarter / r.divisions;
      const int32_t clicks = saturate(wide);
      if (r.backup) {
        r.position -= clicks;
      } else if (!r.in_note) {
        // <forward> and other elements with a duration only move on.
        r.position += clicks;
      } else {
        if (!r.rest && r.pitch_pending) {
          if (table.count >= kMaxSequenceFileNotes) return base::Message(kSequenceTooManyNotes, name, kMaxSequenceFileNotes);
          reserve_events(table, table.count + 1);
          r.pending.Dur = clicks;
          r.pending.Vel = 100;
          table.events[table.count] = r.pending;
          sequences.tie_start[table.count] = 0;
          sequences.tie_stop[table.count] = 0;
          ++table.count;
          r.pitch_pending = false;
          r.completed_in_note = true;
        }
        if (!r.chord) r.position += clicks;
      }
    }
    if (starts_with_nocase(line, "<tie type=\"start") && table.count > 0) sequences.tie_start[table.count - 1] = 1;
    if (starts_with_nocase(line, "<tie type=\"stop") && table.count > 0) sequences.tie_stop[table.count - 1] = 1;
    if (starts_with_nocase(line, "<chord/")) r.chord = true;
    if (starts_with_nocase(line, "<rest")) r.rest = true;
    if (starts_with_nocase(line, "<backup")) r.backup = true;
    if (starts_with_nocase(line, "</backup")) r.backup = false;
    if (starts_with_nocase(line, "</note")) {
      r.chord = false;
      r.rest = false;
      r.in_note = false;
      if (r.completed_in_note && sequences.tie_stop[table.count - 1] &&
          merge_tied_note(table, sequences, timing)) {
        --table.count;
      }
      r.completed_in_note = false;
    }
    if (std::strncmp(line, "<bar-st", 7) == 0 && r.part == 1) {
      if (sequences.stored_boundaries >= kMaxBarStyleLines) {
        return base::Message(kSequenceTooManyBoundaries, name, line_number, kMaxBarStyleLines);
      }
      sequences.boundaries[++sequences.stored_boundaries] = r.measure + 1;
    }
  }
  return base::Status();
}

bool make_sequences(const NoteTable& table, SequenceTables& sequences) {
  const int32_t count = table.count;
  if (count > kMaxSequenceNotes) return false;
  auto& entry = sequences.boundaries;
  const int32_t stored = sequences.stored_boundaries;

  // Entries 1..stored hold bars; a note at or past entry i's bar opens
  // sequence i (at its own index), and skips every sequence left empty.
  // Past the last stored bar there is no further boundary.
  int32_t i = 0;
  for (int32_t n = 0; n < count; ++n) {
    const int32_t bar = table.events[n].Cpin;
    while (i <= stored && bar >= entry[i]) {
      const bool sequence_empty = i + 1 <= stored && bar >= entry[i + 1];
      entry[i] = n;
      ++i;
      if (!sequence_empty) break;
    }
  }
  entry[i] = count;
  sequences.sequence_count = i;

  int32_t sequence = 0;
  int32_t first_bar = count > 0 ? table.events[0].Cpin : 0;
  for (int32_t n = 0; n < count; ++n) {
    while (sequence + 1 < i && n >= entry[sequence + 1]) {
      ++sequence;
      first_bar = table.events[entry[sequence]].Cpin;
    }
    const NoteEvent& e = table.events[n];
    sequences.notes[n] = SequenceNote{e.Cpin - first_bar, e.Ckin, e.Dur, e.Note};
  }
  return true;
}

}  // namespace zelvo::composer
