#include "notation/source_names.h"

#include <pugixml.hpp>

#include "base/work_files.h"
#include "intake/score_document.h"
#include "notation/midi_notation.h"
#include "notation/part_names.h"

namespace zelvo::notation {

std::array<std::string, 16> source_part_names(const files::WorkReader& inputs, int music_source) {
  MidiNotes labels;
  if (music_source == 0 || music_source == 2) {
    const char* file = music_source == 0 ? base::kMusicFile : base::kHarmonyFile;
    const char* archive = music_source == 0 ? base::kMusicArchive : base::kHarmonyArchive;
    pugi::xml_document score;
    const auto load = [&](const char* name) {
      std::string bytes;
      return inputs.read(name, bytes) && intake::read_score(std::move(bytes), score, name).ok();
    };
    if (load(file) || load(archive)) {
      read_score_part_names(score, labels);
    }
  } else if (music_source == 3) {
    std::string bytes;
    // A file that cannot be read names nothing, as an empty one.
    if (!inputs.read(base::kCompositionMidi, bytes)) bytes.clear();
    read_midi_labels(bytes, labels);
  }
  return labels.names;
}

}  // namespace zelvo::notation
