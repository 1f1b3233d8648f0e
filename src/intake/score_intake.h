#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "console/score_opener.h"
#include "files/work_reader.h"

namespace zelvo::intake {

// The application's score opener. A file the line readers already read as
// it is (laid out one element per line, as notation programs and the
// examples write it) reaches them untouched, byte for byte. Compressed
// MusicXML (by content, whatever the name; insec.mxl, inmus.mxl and
// inarm.mxl stand in for missing .xml files), UTF-16 and files of any other
// layout are parsed and laid out first. For the harmonizer's files a pickup
// is placed at the end of bar 1 and a change of time signature is refused;
// a format 1 outco.mid is merged into one track. One object serves every
// job of the application; begin_job is called before each. The files come
// from the reader a job sets, else from the folder each call names.
class ScoreIntake : public console::ScoreOpener {
 public:
  void begin_job();
  // The work's files for the jobs to come (null: each call's folder).
  void set_reader(const files::WorkReader* reader) { reader_ = reader; }
  console::OpenedScore open_score(const std::string& folder, const char* name, base::ProgressLines& progress) override;
  bool last_score_is_sound() const override { return sound_; }
  void music_has_no_pickup() override { music_pickup_ = false; }

 private:
  console::OpenedScore open_midi(const files::WorkReader& reader, const std::string& name);

  const files::WorkReader* reader_ = nullptr;
  // Whether inmus.xml, read in this job, has a pickup: inarm.xml follows it.
  std::optional<bool> music_pickup_;
  bool pickup_told_ = false;
  bool sound_ = false;  // the file last opened parsed (XML) or merged (MIDI) cleanly
};

}  // namespace zelvo::intake
