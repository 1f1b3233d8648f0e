#include "intake/score_intake.h"

#include <pugixml.hpp>
#include <string_view>

#include "base/work_files.h"
#include "files/memory_stream.h"
#include "intake/layout_check.h"
#include "intake/midi_merge.h"
#include "intake/mxl_archive.h"
#include "base/message_id.h"
#include "intake/score_edits.h"
#include "intake/xml_layout.h"

namespace zelvo::intake {

using enum base::MessageId;

namespace {

// Files beyond this size are handed on as they are, unexamined.
constexpr size_t kMaxExamined = 256 * 1024 * 1024;

// The name to open: the file itself, or its compressed stand-in.
std::string resolve(const files::WorkReader& reader, const std::string& name) {
  if (reader.has_file(name) || !name.ends_with(".xml")) return name;
  const std::string compressed = name.substr(0, name.size() - 4) + ".mxl";
  return reader.has_file(compressed) ? compressed : name;
}

// The whole file, or nothing when it cannot be read or is too large to
// examine.
std::optional<std::string> read_whole(const files::WorkReader& reader, const std::string& name) {
  std::string bytes;
  if (!reader.read(name, bytes) || bytes.size() > kMaxExamined) return std::nullopt;
  return bytes;
}

bool is_utf16(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
         (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0'));
}

int line_of(std::string_view bytes, ptrdiff_t offset, bool utf16) {
  const size_t end = std::min<size_t>(offset < 0 ? 0 : static_cast<size_t>(offset) * (utf16 ? 2 : 1),
                                      bytes.size());
  int line = 1;
  for (size_t i = 0; i < end; ++i) line += bytes[i] == '\n' ? 1 : 0;
  return line;
}

console::OpenedScore open_as_is(const files::WorkReader& reader, const std::string& name) {
  console::OpenedScore opened;
  opened.file = reader.open(name);
  return opened;
}

console::OpenedScore open_memory(std::string bytes) {
  console::OpenedScore opened;
  opened.file = files::open_memory_stream(std::move(bytes));
  return opened;
}

template <typename... Args>
console::OpenedScore refused(base::MessageId id, const Args&... args) {
  console::OpenedScore opened;
  opened.status = base::Status::ending_in_abort(base::Message(id, args...));
  return opened;
}

}  // namespace

void ScoreIntake::begin_job() {
  music_pickup_.reset();
  pickup_told_ = false;
}

console::OpenedScore ScoreIntake::open_score(const std::string& folder, const char* name,
                                             base::ProgressLines& progress) {
  const std::string given = name;
  sound_ = false;
  const files::ReaderOrFolder reader(reader_, folder);
  if (given.ends_with(".mid")) return open_midi(*reader, given);
  const std::string path = resolve(*reader, given);  // as messages name it
  const bool harmonizer_file = given != base::kSequenceFile;
  const bool is_music = given == base::kMusicFile;
  const std::optional<std::string> bytes = read_whole(*reader, path);
  if (!bytes) return open_as_is(*reader, path);

  if (bytes->starts_with("MThd")) return refused(kMidiNotMusicXml, path);
  std::string text = *bytes;
  const bool zipped = looks_like_zip(text);
  bool must_lay_out = zipped;
  if (zipped) {
    switch (unpack_mxl(*bytes, text)) {
      case MxlResult::kRead: break;
      case MxlResult::kBrokenArchive: return refused(kBrokenArchive, path);
      case MxlResult::kNoContainer: return refused(kNoContainer, path);
      case MxlResult::kNoRootFile: return refused(kNoRootFile, path);
      case MxlResult::kTooLarge:
        return refused(kTooLarge, path, static_cast<int>(kMaxUnpackedScore / (1024 * 1024)));
      case MxlResult::kNoLibrary: return refused(kNoArchiveLibrary, path, zip_library_file());
    }
  }
  const bool utf16 = is_utf16(text);
  LayoutCheck check;
  if (!utf16) check = check_layout(text);
  // A plain file laid out on the whole goes to the line readers untouched,
  // a stray compound line included: that is how they have always read it.
  must_lay_out = must_lay_out || utf16 || !mostly_laid_out(check);
  const bool may_edit = harmonizer_file && (check.pickup || check.meter_changes || utf16 ||
                                            must_lay_out);
  if (!must_lay_out && !may_edit) {
    if (is_music) music_pickup_ = false;
    return open_as_is(*reader, path);
  }

  pugi::xml_document score;
  const pugi::xml_parse_result parsed = score.load_buffer(text.data(), text.size());
  if (!parsed) {
    // Damage in a file laid out on the whole, or in a file that is no
    // score at all, is left to the line readers, which have always read
    // past it (and found no notes in what is no score).
    const bool score = text.find("<score-partwise") != std::string::npos ||
                       text.find("<score-timewise") != std::string::npos;
    if (!zipped && !utf16 && (mostly_laid_out(check) || !score)) {
      if (is_music) music_pickup_ = false;
      return open_as_is(*reader, path);
    }
    return refused(kMalformedXml, path, line_of(text, parsed.offset, utf16));
  }
  sound_ = true;
  bool edited = false;
  if (harmonizer_file) {
    const bool pickup = has_pickup(score);
    const bool follows_music = given == base::kHarmonyFile && music_pickup_.has_value();
    if (is_music) music_pickup_ = pickup;
    if (follows_music && *music_pickup_ && !pickup) {
      add_pickup_bar(score);
      edited = true;
    } else if (follows_music && !*music_pickup_ && pickup) {
      drop_pickup(score);
      edited = true;
    } else if (pickup) {
      place_pickup(score);
      edited = true;
      if (!pickup_told_) {
        pickup_told_ = true;
        progress.note(base::Message(kPickup, path));
        progress.check_stop();
      }
    }
  }
  if (!must_lay_out && !edited) return open_as_is(*reader, path);
  return open_memory(lay_out(score));
}

console::OpenedScore ScoreIntake::open_midi(const files::WorkReader& reader, const std::string& path) {
  const std::optional<std::string> bytes = read_whole(reader, path);
  if (!bytes) return open_as_is(reader, path);
  midi::Song merged;
  bool any_merges = false;
  switch (merge_midi_tracks(*bytes, merged, any_merges)) {
    case MidiMerge::kNotFormat1:
      // A format 0 file is read as it is; that it would merge cleanly
      // shows it sound.
      sound_ = any_merges;
      return open_as_is(reader, path);
    case MidiMerge::kMerged: {
      sound_ = true;
      // Handed over unwritten: the harmonizer reads the track as it would
      // have read its bytes, without parsing them again.
      console::OpenedScore opened;
      opened.merged_midi = std::move(merged);
      return opened;
    }
    case MidiMerge::kSmpte: return refused(kSmpteDivision, path);
    case MidiMerge::kDamaged: return refused(kDamagedMidi, path);
  }
  return open_as_is(reader, path);
}

}  // namespace zelvo::intake
