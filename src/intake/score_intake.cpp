#include "intake/score_intake.h"

#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <string_view>
#include <sys/stat.h>

#include "base/work_files.h"
#include "intake/layout_check.h"
#include "intake/memory_stream.h"
#include "intake/midi_merge.h"
#include "intake/mxl_archive.h"
#include "base/message_id.h"
#include "intake/score_edits.h"
#include "intake/xml_layout.h"

namespace zelvo::intake {

using enum base::MessageId;

namespace {

// Files beyond this size are handed on as they are, unexamined.
constexpr std::streamoff kMaxExamined = 256 * 1024 * 1024;

bool file_exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The name to open in `folder`: the file itself, or its compressed stand-in.
std::string resolve(const std::string& folder, const std::string& name) {
  if (file_exists(base::work_path(folder, name)) || !name.ends_with(".xml")) return name;
  const std::string compressed = name.substr(0, name.size() - 4) + ".mxl";
  return file_exists(base::work_path(folder, compressed)) ? compressed : name;
}

// The whole file, or nothing when it cannot be read or is too large to
// examine.
std::optional<std::string> read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxExamined) return std::nullopt;
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) return std::nullopt;
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

console::OpenedScore open_as_is(const std::string& path, const char* mode) {
  return console::OpenedScore{std::fopen(path.c_str(), mode), base::Status()};
}

console::OpenedScore open_memory(std::string bytes) {
  return console::OpenedScore{open_memory_stream(std::move(bytes)), base::Status()};
}

template <typename... Args>
console::OpenedScore refused(base::MessageId id, const Args&... args) {
  return console::OpenedScore{nullptr, base::Status::ending_in_abort(base::Message(id, args...))};
}

}  // namespace

void ScoreIntake::begin_job() {
  music_pickup_.reset();
  pickup_told_ = false;
}

console::OpenedScore ScoreIntake::open_score(const std::string& folder, const char* name,
                                             console::JobConsole& console) {
  const std::string given = name;
  sound_ = false;
  if (given.ends_with(".mid")) return open_midi(folder, given);
  const std::string path = resolve(folder, given);  // as messages name it
  const std::string full = base::work_path(folder, path);
  const bool harmonizer_file = given != base::kSequenceFile;
  const bool is_music = given == base::kMusicFile;
  const std::optional<std::string> bytes = read_whole(full);
  if (!bytes) return open_as_is(full, "r");

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
    return open_as_is(full, "r");
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
      return open_as_is(full, "r");
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
        console.note(base::Message(kPickup, path));
        check_stop(console);
      }
    }
  }
  if (!must_lay_out && !edited) return open_as_is(full, "r");
  return open_memory(lay_out(score));
}

console::OpenedScore ScoreIntake::open_midi(const std::string& folder, const std::string& path) {
  const std::string full = base::work_path(folder, path);
  const std::optional<std::string> bytes = read_whole(full);
  if (!bytes) return open_as_is(full, "rb");
  std::string format0;
  bool any_merges = false;
  switch (merge_midi_tracks(*bytes, format0, any_merges)) {
    case MidiMerge::kNotFormat1:
      // A format 0 file is read as it is; that it would merge cleanly
      // shows it sound.
      sound_ = any_merges;
      return open_as_is(full, "rb");
    case MidiMerge::kMerged:
      sound_ = true;
      return open_memory(std::move(format0));
    case MidiMerge::kSmpte: return refused(kSmpteDivision, path);
    case MidiMerge::kDamaged: return refused(kDamagedMidi, path);
  }
  return open_as_is(full, "rb");
}

}  // namespace zelvo::intake
