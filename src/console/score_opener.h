#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "base/progress_lines.h"
#include "base/status.h"
#include "files/work_reader.h"
#include "midi/song.h"

namespace zelvo::console {

// A score file as an opener hands it over.
struct OpenedScore {
  std::FILE* file = nullptr;  // the caller closes it; nullptr when there is no such file
  // A file that exists but cannot be used: the message naming it, after
  // which the job ends in the abort (Status::ending_in_abort).
  base::Status status;
  // A MIDI file of several tracks merged into one, handed over as it is
  // rather than written for the reader to parse again; `file` is then null.
  std::optional<midi::Song> merged_midi;
};

// How the readers of score files (insec.xml, inmus.xml, inarm.xml, outco.mid)
// get their bytes. The engines read files laid out one element per line;
// the application may hand them files of other layouts, compressed scores
// or other MIDI formats turned into that form first. Without an opener the
// engines open the file themselves.
class ScoreOpener {
 public:
  virtual ~ScoreOpener() = default;
  // A stream of the file `name` in the work folder `folder` (empty: the
  // current directory) ready to be read from its start, or the merged track
  // of a multi-track MIDI file (OpenedScore::merged_midi); no stream when
  // there is no such file (nor a compressed one in its place), nor when the
  // file exists but cannot be used (then the status says why). `progress`
  // receives what the opener tells on its way (a pickup it placed), and
  // may end the job on Stop.
  virtual OpenedScore open_score(const std::string& folder, const char* name, base::ProgressLines& progress) = 0;
  // Whether the file last opened was found sound: XML that is well formed,
  // or MIDI whose chunks all read. Its readers may then follow what only a
  // sound file is trusted with, such as changes of meter.
  virtual bool last_score_is_sound() const { return false; }
  // The music of this job is the composer's output (a listing or a MIDI
  // file), which has no pickup measure: a harmony file's pickup is left out.
  virtual void music_has_no_pickup() {}
};

// The file `name` of the work folder `folder` through `opener` when the
// application gave one, else as it is in the folder.
inline OpenedScore open_score(ScoreOpener* opener, const std::string& folder, const char* name,
                              base::ProgressLines& progress) {
  if (opener != nullptr) return opener->open_score(folder, name, progress);
  OpenedScore opened;
  opened.file = files::FolderReader(folder).open(name);
  return opened;
}

}  // namespace zelvo::console
