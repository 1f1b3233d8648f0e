// The sequence file reader over the table of cases in
// data/composer/sequence_cases.txt (4/4, 48 clicks a beat): the result and
// the events read, then, after a good read, the sorted events and the
// sequence boundaries that the composer makes of them.
#include <cstdio>
#include <memory>
#include <string>

#include "composer/note_events.h"
#include "composer/sequence_reader.h"
#include "support/cases.h"
#include "support/status_text.h"

namespace zelvo::composer {
namespace {

std::string events_text(const NoteTable& table) {
  std::string text;
  for (int32_t i = 0; i < table.count; ++i) {
    if (table.count > 64 && i == 32) {  // a full table: its ends
      text += "... " + std::to_string(table.count - 64) + " events\n";
      i = table.count - 32;
    }
    const NoteEvent& e = table.events[i];
    text += "event " + std::to_string(e.Inst) + " " + std::to_string(e.Cpin) + " " + std::to_string(e.Ckin) + " " +
            std::to_string(e.Dur) + " " + std::to_string(e.Note) + " " + std::to_string(e.Vel) + "\n";
  }
  return text;
}

std::string run_case(const test::Case& c) {
  test::TempFolder folder;
  for (const auto& [name, bytes] : c.files) test::write_file(folder.file(name), bytes);
  const ComposerTiming timing{1, 120, 4, 4, 48, 12, 2};
  auto table = std::make_unique<NoteTable>();
  auto sequences = std::make_unique<SequenceTables>();
  const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(folder.file("insec.xml").c_str(), "rb"),
                                                                &std::fclose);
  if (file == nullptr) return "not opened\n";
  const base::Status read = read_sequence_file(file.get(), "insec.xml", timing, *table, *sequences);
  std::string text = (read.ok() ? "read" : "refused: " + test::english_line(read)) + "\n" +
                     events_text(*table);
  if (!read.ok()) return text;
  compute_times(*table, timing);
  sort_events(*table);
  text += "made " + std::to_string(make_sequences(*table, *sequences)) + "\n" + events_text(*table) + "boundaries";
  for (int32_t s = 0; s <= sequences->sequence_count; ++s) text += " " + std::to_string(sequences->boundaries[s]);
  return text + "\n";
}

TEST(SequenceCasesTest, EveryCaseReadsAsRecorded) {
  test::check_cases(test::test_data("composer/sequence_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::composer
