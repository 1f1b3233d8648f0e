#include "jobs/engines.h"

#include "composer/compose.h"
#include "base/work_files.h"
#include "harmonizer/harmonize_job.h"
#include "harmonizer/tones_file.h"
#include "notation/result_notation.h"
#include "notation/source_names.h"

namespace zelvo::jobs {

namespace {

// Passes every output on as the job's writer would take it, and keeps the
// bytes of one: the MIDI file the notation is made from, as the job made it.
class KeepingWriter : public files::ResultWriter {
 public:
  KeepingWriter(const FolderJobOptions& options, const char* kept)
      : folder_(options.folder), next_(options.results), kept_name_(kept) {}
  files::WriteResult write(const std::string& name, std::string_view bytes, files::Replace replace) override {
    if (name == kept_name_) kept_.assign(bytes), has_kept_ = true;
    return files::write_output(next_, folder_, name, bytes, replace);
  }
  // The kept file's bytes; null when the job wrote none.
  const std::string* kept() const { return has_kept_ ? &kept_ : nullptr; }

 private:
  const std::string& folder_;
  files::ResultWriter* next_;
  std::string kept_name_;
  std::string kept_;
  bool has_kept_ = false;
};

// The notation step of a job that asked for it: says where the score went,
// or ends the job with the message naming the files.
void report_notation(console::JobConsole& console, const base::Status& written, const char* xml_name) {
  if (!written.ok()) console::fail(console, written.error());
  console_print(console, base::MessageId::kNotationWritten, xml_name);
  check_stop(console);
}

}  // namespace

composer::ComposerState& Engines::composer_state() {
  if (composer_ == nullptr) {
    composer_ = console::make_zeroed<composer::ComposerState>();
    composer_->score_opener = &intake_;
    composer_->composition_opener = &composition_intake_;
  }
  return *composer_;
}

harmonizer::HarmonizerState& Engines::harmonizer_state() {
  if (harmonizer_ == nullptr) {
    harmonizer_ = console::make_zeroed<harmonizer::HarmonizerState>();
    harmonizer_->score_opener = &intake_;
  }
  return *harmonizer_;
}

void Engines::set_inputs(const files::WorkReader* inputs) {
  intake_.set_reader(inputs);
  composition_intake_.set_reader(inputs);
  if (harmonizer_ != nullptr) harmonizer_->inputs = inputs;
}

void compose_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console) {
  engines.set_inputs(options.inputs);
  engines.intake().begin_job();
  composer::ComposerState& composer = engines.composer_state();
  composer.work_folder = options.folder;
  KeepingWriter results(options, base::kCompositionMidi);
  composer.results = &results;
  composer.named_folder = options.folder_name;
  composer::compose(composer, console);
  if (options.notation) {
    report_notation(console,
                    notation::notate_result(results.kept(), base::kCompositionMidi, base::kCompositionNotation,
                                            nullptr, options.grid, options.folder, options.results),
                    base::kCompositionNotation);
  }
}

void harmonize_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console) {
  harmonizer::HarmonizerState& harmonizer = engines.harmonizer_state();
  engines.set_inputs(options.inputs);
  engines.intake().begin_job();
  harmonizer.work_folder = options.folder;
  harmonizer.named_folder = options.folder_name;
  harmonizer.progress = options.progress;
  KeepingWriter results(options, base::kHarmonyMidi);
  harmonizer.results = &results;
  harmonizer::harmonize(harmonizer, console);
  if (options.notation) {
    notation::HarmonyLabels labels;
    labels.tones = harmonizer::result_tones(harmonizer);
    labels.scales = harmonizer::result_scales(harmonizer);
    labels.names = notation::source_part_names(*files::ReaderOrFolder(options.inputs, options.folder),
                                               harmonizer.settings.MusicSource);
    report_notation(console,
                    notation::notate_result(results.kept(), base::kHarmonyMidi, base::kHarmonyNotation,
                                            &labels, options.grid, options.folder, options.results),
                    base::kHarmonyNotation);
  }
}

}  // namespace zelvo::jobs
