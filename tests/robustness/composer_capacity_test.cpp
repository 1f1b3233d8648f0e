// Every table of the composer fed just over its capacity: the job ends with
// its message in either language and aborts, and nothing lands beyond a
// table (the sanitizer build runs these too).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "composer/composer_messages.h"
#include "composer/note_events.h"
#include "composer/sequence_reader.h"
#include "robustness_support.h"
#include "tables/table_messages.h"

namespace zelvo::robustness {
namespace {

using console::JobKind;
using console::JobOutcome;

std::vector<std::pair<std::string, std::string>> numbered_variables(int32_t count, const std::string& expression) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (int32_t i = 1; i <= count; ++i) rows.emplace_back("v" + std::to_string(i), expression);
  return rows;
}

std::vector<std::string> numbered_generators(int32_t count) {
  std::vector<std::string> names;
  for (int32_t i = 1; i <= count; ++i) names.push_back("gen" + std::to_string(i));
  return names;
}

std::string one_output() { return output_table({{"1", "60", "12", "1", "100"}}); }

// Compiles and runs a document; true when the job finished.
bool composes(const std::string& document) {
  write_file("incom.htm", document);
  Jobs jobs;
  const JobOutcome outcome = jobs.run(JobKind::kCompose);
  EXPECT_EQ(outcome, JobOutcome::kFinished) << jobs.output();
  return outcome == JobOutcome::kFinished;
}

TEST(ComposerCapacity, CellLongerThanTheLineBufferIsRefused) {
  WorkFolder folder;
  // The reader's buffer holds 799 characters of a line.
  const std::string at_limit = sum_of("1", 300).substr(0, 599);  // 599 characters, 300 terms
  EXPECT_TRUE(composes(html_document(config_table(1) + variables_table({{"a", at_limit}}) + one_output())));

  const std::string document =
      html_document(config_table(1) + variables_table({{"a", "1"}, {"b", std::string(900, '1')}}) + one_output());
  std::filesystem::remove("outco.mid");
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kCellTooLong, "TCAL", 2, 1);
  EXPECT_FALSE(exists("outco.mid"));

  // A cell spread over several lines that together pass the buffer.
  std::string spread = "<html>\n<body>\n<table>\n<tr>\n<td>TCAL</td>\n<td>value</td>\n</tr>\n<tr>\n<td>a</td>\n<td>1";
  for (int32_t line = 0; line < 8; ++line) spread += "\n" + std::string(150, ' ') + "+1";
  spread += "</td>\n</tr>\n</table>\n</body>\n</html>\n";
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", spread); }, tables::kCellTooLong, "TCAL", 1, 1);
}

TEST(ComposerCapacity, SymbolTable) {
  WorkFolder folder;
  EXPECT_TRUE(composes(html_document(config_table(1) + variables_table(numbered_variables(996, "1")) + one_output())));
  const std::string document =
      html_document(config_table(1) + variables_table(numbered_variables(997, "1")) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManySymbols);
}

TEST(ComposerCapacity, NinetyNineGenerators) {
  WorkFolder folder;
  EXPECT_TRUE(composes(html_document(config_table(1) + generator_table(2, numbered_generators(99)) + one_output())));
  const std::string document =
      html_document(config_table(1) + generator_table(2, numbered_generators(100)) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManyGenerators, "TGENC",
                 101);
}

TEST(ComposerCapacity, FifteenParameterColumns) {
  WorkFolder folder;
  EXPECT_TRUE(composes(html_document(config_table(1) + generator_table(15, {"g"}) + one_output())));
  const std::string document = html_document(config_table(1) + generator_table(16, {"g"}) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManyParameterColumns,
                 "TGENC", 1, 1);
}

TEST(ComposerCapacity, FiftyOutputChannels) {
  WorkFolder folder;
  std::vector<Row> channels(50, Row{"1", "60", "12", "0", "100"});
  EXPECT_TRUE(composes(html_document(config_table(1) + output_table(channels))));
  channels.push_back(Row{"1", "60", "12", "0", "100"});
  const std::string document = html_document(config_table(1) + output_table(channels));
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManyOutputRows, "TSAL",
                 51);
}

TEST(ComposerCapacity, TenConfigurationValues) {
  WorkFolder folder;
  EXPECT_TRUE(composes(html_document(config_table(1, 4) + one_output())));
  const std::string document = html_document(config_table(1, 5) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManyConfigValues, "TCONF",
                 1, 11);
}

TEST(ComposerCapacity, ConstantTable) {
  WorkFolder folder;
  // 200 constants a cell: ten cells fill the table to 2000.
  EXPECT_TRUE(composes(html_document(config_table(1) + variables_table(numbered_variables(10, sum_of("1", 200))) +
                                     one_output())));
  const std::string document =
      html_document(config_table(1) + variables_table(numbered_variables(11, sum_of("1", 200))) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kTooManyConstants);
}

TEST(ComposerCapacity, ProgramStore) {
  WorkFolder folder;
  // A 250-term sum of a variable takes about 750 words.
  auto rows = numbered_variables(11, sum_of("x", 250));
  rows.insert(rows.begin(), {"x", "1"});
  const std::string document = html_document(config_table(1) + variables_table(rows) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kProgramMemory);
}

TEST(ComposerCapacity, StackDepth) {
  WorkFolder folder;
  // Operators group to the right: every term of a sum waits on the stack.
  EXPECT_TRUE(composes(html_document(config_table(1) + variables_table({{"a", sum_of("1", 300)}}) + one_output())));
  const std::string document =
      html_document(config_table(1) + variables_table({{"a", "2"}, {"b", sum_of("1", 301)}}) + one_output());
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, tables::kStackMemory, "TCAL", 2, 1);
}

// 50 channels sounding at every click of 4-click bars: 200 events a bar.
// After bar 75 the table holds 15000 events, the most that leaves room for
// their note-offs, and the loop starts no bar at 14998 or more: the piece
// ends there, as the configuration's 100 bars could not fit.
TEST(ComposerCapacity, EventTableStopsTheLoopAndKeepsRoomForNoteOffs) {
  WorkFolder folder;
  std::vector<Row> channels(50, Row{"1", "60", "1", "1", "100"});
  write_file("incom.htm", html_document(config_table(100, 0, 1) + every_click_generator() + output_table(channels)));
  Jobs jobs;
  ASSERT_EQ(jobs.run(JobKind::kCompose), JobOutcome::kFinished) << jobs.output();
  EXPECT_NE(jobs.output().find("\tProcesing bar 76\n"), std::string::npos);
  EXPECT_EQ(jobs.output().find("\tProcesing bar 77\n"), std::string::npos);
  const std::string listing_text = read_file("outco.rur");
  int32_t lines = 0;
  for (char c : listing_text) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 6 + composer::kMaxGeneratedEvents);
  EXPECT_EQ(listing_text.find("\t76\t0\t"), std::string::npos) << "bar 76 was generated";
  // Every event and its note-off, four bytes each at least.
  EXPECT_GT(read_file("outco.mid").size(), size_t{2} * composer::kMaxGeneratedEvents * 4);
}

// 192-click bars: 9600 events in bar 1, and bar 2 would pass 15000.
TEST(ComposerCapacity, EventTableOverflowInsideABarIsRefused) {
  WorkFolder folder;
  std::vector<Row> channels(50, Row{"1", "60", "1", "1", "100"});
  const std::string document = html_document(config_table(5) + every_click_generator() + output_table(channels));
  expect_refused(JobKind::kCompose, [&] { write_file("incom.htm", document); }, composer::kTooManyNoteEvents,
                 composer::kMaxGeneratedEvents, 2);
}

// --- The sequence file ----------------------------------------------------------

std::string sequence_document() {
  return html_document(config_table(1) + one_output());
}

std::vector<XmlNote> quarter_notes(int32_t count) {
  std::vector<XmlNote> notes;
  for (int32_t i = 0; i < count; ++i) notes.push_back({1 + i / 4, "C", 4, 1});
  return notes;
}

TEST(ComposerCapacity, SequenceFileEventTable) {
  WorkFolder folder;
  // Two parts share the event table: 30001 notes in all.
  const std::string file = musicxml({quarter_notes(9000), quarter_notes(21001)});
  expect_refused(
      JobKind::kCompose,
      [&] {
        write_file("incom.htm", sequence_document());
        write_file("insec.xml", file);
      },
      composer::kSequenceTooManyNotes, "insec.xml", composer::kMaxEvents);
}

TEST(ComposerCapacity, SequenceNoteTable) {
  WorkFolder folder;
  write_file("incom.htm", sequence_document());
  // 250 sequences of ten bars.
  write_file("insec.xml", musicxml({quarter_notes(composer::kMaxSequenceNotes)}, 10));
  EXPECT_TRUE(composes(sequence_document()));
  const std::string file = musicxml({quarter_notes(composer::kMaxSequenceNotes + 1)}, 10);
  expect_refused(
      JobKind::kCompose,
      [&] {
        write_file("incom.htm", sequence_document());
        write_file("insec.xml", file);
      },
      composer::kSequenceTooManySequenceNotes, "insec.xml", composer::kMaxSequenceNotes);
}

TEST(ComposerCapacity, SequenceBoundaries) {
  WorkFolder folder;
  const int32_t limit = composer::kMaxBarStyleLines;
  write_file("insec.xml", musicxml({quarter_notes(4 * limit)}, 1));
  EXPECT_TRUE(composes(sequence_document()));
  const std::string file = musicxml({quarter_notes(4 * (limit + 1))}, 1);
  // The line of the first bar-style line too many.
  const size_t at = [&] {
    size_t position = 0;
    for (int32_t i = 0; i <= limit; ++i) position = file.find("<bar-style>", position + 1);
    return position;
  }();
  int32_t line = 1;
  for (size_t i = 0; i < at; ++i) line += file[i] == '\n' ? 1 : 0;
  expect_refused(
      JobKind::kCompose,
      [&] {
        write_file("incom.htm", sequence_document());
        write_file("insec.xml", file);
      },
      composer::kSequenceTooManyBoundaries, "insec.xml", line, limit);
}

}  // namespace
}  // namespace zelvo::robustness
