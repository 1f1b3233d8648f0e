#include "harmonizer/listing_reader.h"

#include <cstdio>
#include <cstring>

#include "base/message_id.h"
#include "harmonizer/note_time.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

constexpr int32_t kLineBuffer = 400;  // a line of at most 399 characters

// The text after the n-th occurrence of `separator`, or the empty text at
// the line's end when there are fewer.
const char* after_nth(const char* line, char separator, int32_t n) {
  const char* p = line;
  for (int32_t k = 0; k < n; ++k) {
    const char* found = std::strchr(p, separator);
    if (found == nullptr) return line + std::strlen(line);
    p = found + 1;
  }
  return p;
}

bool read_line(char* buffer, std::FILE* file) {
  return std::fgets(buffer, kLineBuffer, file) != nullptr;
}

}  // namespace

int32_t listing_integer(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  const bool negative = *p == '-';
  if (negative) ++p;
  int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > INT64_C(2147483648)) value = INT64_C(2147483648);
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

base::Status read_composer_listing(engine::MusicNoteTable& table, engine::TimeSettings& time, int32_t first,
                                   int32_t count, std::FILE* stream, const char* name) {
  if (stream == nullptr) return base::Message(kErrorOpeningFile, name);
  table.note_count = 0;
  char line[kLineBuffer];
  for (int32_t skip = 0; skip < 2; ++skip) {
    if (!read_line(line, stream)) return base::Status();
  }
  if (!read_line(line, stream)) return base::Status();
  time.tempo = listing_integer(line);
  time.beats_per_bar = listing_integer(after_nth(line, ',', 1));
  time.beat_unit = listing_integer(after_nth(line, ',', 2));
  time.clicks_per_beat = listing_integer(after_nth(line, ',', 3));
  time.clicks_per_sixteenth = listing_integer(after_nth(line, ',', 4));
  time.den_exponent = denominator_exponent(time.beat_unit);
  for (int32_t skip = 0; skip < 3; ++skip) {
    if (!read_line(line, stream)) return base::Status();
  }
  const int64_t last = int64_t{first} + count;
  while (read_line(line, stream)) {
    const int32_t inst = listing_integer(line);
    if (inst < first || inst >= last) continue;
    if (table.note_count >= engine::kMaxMusicNotes) return base::Message(kTooManyNotes, name);
    table.reserve(table.note_count + 1);
    engine::MusicNote& note = table.notes[table.note_count];
    note.Inst = inst;
    note.Cpin = listing_integer(after_nth(line, '\t', 1));
    note.Ckin = listing_integer(after_nth(line, '\t', 2));
    note.Dur = listing_integer(after_nth(line, '\t', 3));
    note.Note = listing_integer(after_nth(line, '\t', 4));
    note.Vel = listing_integer(after_nth(line, '\t', 5));
    note.tie_flags = 0;
    ++table.note_count;
  }
  return base::Status();
}

}  // namespace zelvo::harmonizer
