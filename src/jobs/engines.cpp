#include "jobs/engines.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "composer/compose.h"
#include "base/work_files.h"
#include "harmonizer/harmonize_job.h"
#include "notation/result_notation.h"

namespace zelvo::jobs {

namespace {

// The notation step of a job that asked for it: says where the score went,
// or ends the job with the message naming the files.
void report_notation(console::JobConsole& console, const base::Status& written, const char* xml_name) {
  if (!written.ok()) console::fail(console, written.error());
  console_print(console, base::MessageId::kNotationWritten, xml_name);
  check_stop(console);
}

}  // namespace

Engines::~Engines() {
  if (scratch_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(scratch_, ignored);
}

composer::ComposerState& Engines::composer_state() {
  if (composer_ == nullptr) {
    composer_ = make_zeroed<composer::ComposerState>();
    composer_->score_opener = &intake_;
    composer_->composition_opener = &composition_intake_;
  }
  return *composer_;
}

harmonizer::HarmonizerState& Engines::harmonizer_state() {
  if (harmonizer_ == nullptr) {
    harmonizer_ = make_zeroed<harmonizer::HarmonizerState>();
    harmonizer_->score_opener = &intake_;
  }
  return *harmonizer_;
}

const std::string& Engines::scratch_folder() {
  if (!scratch_.empty()) return scratch_;
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / "zelvo-job-XXXXXX").string();
  if (error) pattern = "/tmp/zelvo-job-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) scratch_ = pattern;
  return scratch_;
}

void compose_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console) {
  engines.intake().begin_job();
  composer::ComposerState& composer = engines.composer_state();
  composer.work_folder = options.folder;
  composer.results = options.results;
  composer.named_folder = options.folder_name;
  composer::compose(composer, console);
  if (options.notation) {
    report_notation(console,
                    notation::notate_result(options.folder, base::kCompositionMidi, base::kCompositionNotation,
                                            nullptr, options.grid, options.results),
                    base::kCompositionNotation);
  }
}

void harmonize_in_folder(Engines& engines, const FolderJobOptions& options, console::JobConsole& console) {
  engines.intake().begin_job();
  harmonizer::HarmonizerState& harmonizer = engines.harmonizer_state();
  harmonizer.work_folder = options.folder;
  harmonizer.named_folder = options.folder_name;
  harmonizer.progress = options.progress;
  harmonizer.results = options.results;
  harmonizer::harmonize(harmonizer, console);
  if (options.notation) {
    report_notation(console,
                    notation::notate_result(options.folder, base::kHarmonyMidi, base::kHarmonyNotation,
                                            &harmonizer, options.grid, options.results),
                    base::kHarmonyNotation);
  }
}

}  // namespace zelvo::jobs
