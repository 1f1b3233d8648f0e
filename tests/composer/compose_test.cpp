// The Compose job end to end: its messages in order, its guards and its
// output files, read back by midicsv.
#include "composer/compose.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "composer/composer_test_util.h"
#include "composer/note_events.h"

namespace zelvo::composer {
namespace {

using test::Composed;
using test::Event;
using test::Row;

const std::string kAbort = "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n";

std::string simple_piece(const std::string& bars, const std::string& den = "4", const std::string& tempo = "120") {
  return test::html_document(
      {test::tconf(bars, tempo, "3", den, "0", "77"),
       test::tgenc({{"G", "0", "1", "0", "0", "48", "24", "100", "0", "24", "3", "72", "60", "0", "1"}}),
       test::tsal({{"", "1", "G", "Gu", "Gi", "100"}})});
}

// The text that midicsv should print for the listing's events: note-offs
// added, ordered by the composer's sort.
std::string expected_csv_events(const std::vector<Event>& events, const ComposerTiming& timing) {
  auto table = std::make_unique<NoteTable>();
  for (const Event& e : events) table->events[table->count++] = NoteEvent{e[0], e[1], e[2], e[3], e[4], e[5]};
  add_note_offs(*table);
  compute_times(*table, timing);
  sort_events(*table);
  std::string csv;
  for (int i = 0; i < table->count; ++i) {
    const NoteEvent& e = table->events[i];
    csv += "1, " + std::to_string(table->times[i]) + ", Note_on_c, " + std::to_string(e.Inst - 1) + ", " +
           std::to_string(e.Note) + ", " + std::to_string(e.Vel) + "\n";
  }
  return csv;
}

TEST(ComposeTest, MessagesInRunOrder) {
  Composed run;
  test::compose_in(run, simple_piece("2"));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  const std::string& out = run.result.output;
  const size_t seed = out.find("\n\tIn. Aleatory Numb... [ Seed: 77 ]\n");
  ASSERT_NE(seed, std::string::npos) << out;
  EXPECT_LT(out.find("\n** COMPOSING!!! ****"), out.find("Compiling tables"));
  EXPECT_EQ(out.substr(seed),
            "\n\tIn. Aleatory Numb... [ Seed: 77 ]\n"
            "\nNo access to XML sequence file...\n\n"
            "\nGenerating music information...\n\n"
            "\tProcesing bar 1\n"
            "\tProcesing bar 2\n"
            "\n\n GENERATING Midifile...\n\n");
}

TEST(ComposeTest, SpanishMessages) {
  Composed run;
  test::compose_in(run, simple_piece("1"), "", "es");
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  // The terminal shows the console in UTF-8.
  EXPECT_NE(run.result.output.find("\nGenerando informaci\xC3\xB3n musical...\n\n\tProcesando compas 1\n"),
            std::string::npos)
      << run.result.output;
  EXPECT_NE(run.result.output.find("\n\tIn. Nos Aleat... [ Semilla: 77 ]\n"), std::string::npos);
  EXPECT_NE(run.result.output.find("\n\n GENERANDO Midifile...\n\n"), std::string::npos);
}

TEST(ComposeTest, ListingAndMidiFileAgree) {
  Composed run;
  test::compose_in(run, simple_piece("2", "8"));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  // 3/8: 24 clicks a beat, 72 a bar; pulse 24.
  EXPECT_EQ(run.listing.substr(0, 93),
            "ZAZAD Output Data\n\n120,3,8,24,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n");
  ASSERT_EQ(run.events.size(), 6u);
  EXPECT_EQ(run.events[1], (Event{1, 1, 24, 24, 66, 100}));
  const ComposerTiming timing{2, 120, 3, 8, 24, 12, 3};
  EXPECT_EQ(test::midicsv(run.folder.file("outco.mid")),
            "0, 0, Header, 0, 1, 48\n1, 0, Start_track\n1, 0, Time_signature, 3, 3, 24, 8\n1, 0, Tempo, 500000\n" +
                expected_csv_events(run.events, timing) + "1, 144, End_track\n0, 0, End_of_file\n");
}

TEST(ComposeTest, ClicksOverrideSetsTheDivision) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "60", "4", "4", "96"),
                                             test::tgenc({{"G", "0", "1", "0", "1", "0", "96", "1", "0", "24", "3", "72", "60", "0", "1"}}),
                                             test::tsal({{"", "1", "G", "Gu", "Gi", "100"}})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(run.events.size(), 4u);  // 384 clicks a bar
  const std::string midi = test::read_file(run.folder.file("outco.mid"));
  ASSERT_GT(midi.size(), 14u);
  EXPECT_EQ(static_cast<unsigned char>(midi[12]), 0);
  EXPECT_EQ(static_cast<unsigned char>(midi[13]), 96);
  EXPECT_NE(test::midicsv(run.folder.file("outco.mid")).find("Header, 0, 1, 96\n"), std::string::npos);
}

TEST(ComposeTest, DenominatorGuardComesBeforeTheTempoGuard) {
  Composed run;
  test::compose_in(run, simple_piece("1", "3", "0"));
  EXPECT_EQ(run.result.status, 1);
  const std::string message =
      "\nError: the time signature denominator (TCONF column 4) must be 1, 2, 4, 8 or 16\n" + kAbort;
  ASSERT_GE(run.result.output.size(), message.size());
  EXPECT_EQ(run.result.output.substr(run.result.output.size() - message.size()), message);
  EXPECT_EQ(run.result.output.find("Seed"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(run.folder.file("outco.mid")));
}

TEST(ComposeTest, TempoGuard) {
  Composed run;
  test::compose_in(run, simple_piece("1", "4", "0"));
  EXPECT_EQ(run.result.status, 1);
  const std::string message = "\nError: the tempo (TCONF column 2) must be greater than 0\n" + kAbort;
  ASSERT_GE(run.result.output.size(), message.size());
  EXPECT_EQ(run.result.output.substr(run.result.output.size() - message.size()), message);
  Composed spanish;
  test::compose_in(spanish, simple_piece("1", "16", "-5"), "", "es");
  EXPECT_NE(spanish.result.output.find("\nError: el tempo (columna 2 de TCONF) debe ser mayor que 0\n"),
            std::string::npos);
}

TEST(ComposeTest, ListingThatCannotBeCreatedAbortsBeforeTheMidiFile) {
  Composed run;
  std::filesystem::create_directory(run.folder.file("outco.rur"));
  test::compose_in(run, simple_piece("1"));
  EXPECT_EQ(run.result.status, 1);
  EXPECT_NE(run.result.output.find("\nError: impossible to create output file outco.rur\n" + kAbort),
            std::string::npos)
      << run.result.output;
  EXPECT_EQ(run.result.output.find("GENERATING Midifile"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(run.folder.file("outco.mid")));
}

TEST(ComposeTest, MidiFileThatCannotBeWrittenFullyAborts) {
  Composed run;
  ASSERT_EQ(symlink("/dev/full", run.folder.file("outco.mid").c_str()), 0);
  test::compose_in(run, simple_piece("1"));
  EXPECT_EQ(run.result.status, 1);
  EXPECT_NE(run.result.output.find("\nError writing output file outco.mid: the file is incomplete\n" + kAbort),
            std::string::npos)
      << run.result.output;
}

TEST(ComposeTest, SequenceFileIsReadAfterTheSeedAndItsErrorsAbort) {
  const std::string xml =
      "<score-partwise>\n<part id=\"P1\">\n<measure number=\"1\">\n<attributes>\n<divisions>1</divisions>\n"
      "</attributes>\n<note>\n<pitch>\n<step>C</step>\n<octave>4</octave>\n</pitch>\n<duration>1</duration>\n"
      "</note>\n</measure>\n</part>\n</score-partwise>\n";
  Composed good;
  test::compose_in(good, simple_piece("1"), xml);
  ASSERT_EQ(good.result.status, 0) << good.result.output;
  EXPECT_NE(good.result.output.find("[ Seed: 77 ]\n\nReading XML sequence file...\n\n\nGenerating"), std::string::npos)
      << good.result.output;
  // The sequence's own notes never reach the listing.
  EXPECT_EQ(good.events.size(), 6u);

  Composed bad;
  std::string no_divisions = xml;
  no_divisions.replace(no_divisions.find("<divisions>1"), 12, "<divisions>0");
  test::compose_in(bad, simple_piece("1"), no_divisions);
  EXPECT_EQ(bad.result.status, 1);
  EXPECT_NE(bad.result.output.find("\nError in file insec.xml, line 12: a duration while the divisions are 0 or not "
                                   "yet given\n" + kAbort),
            std::string::npos)
      << bad.result.output;
}

TEST(ComposeTest, DemoComposesAndItsMidiFileReadsBack) {
  app::TempFolder folder;
  std::filesystem::copy(std::string(ZELVO_SOURCE_DIR) + "/examples/demo", folder.path(),
                        std::filesystem::copy_options::recursive);
  const app::CliResult result = app::run_zelvo({"--work", folder.path(), "compose"});
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("\nReading XML sequence file...\n\n"), std::string::npos);
  EXPECT_NE(result.output.find("[ Seed: 2024 ]"), std::string::npos);
  const std::vector<Event> events = test::listing_events(test::read_file(folder.file("outco.rur")));
  ASSERT_GT(events.size(), 250u);
  std::vector<bool> channels(17);
  for (const Event& e : events) channels[e[0]] = true;
  for (int channel : {1, 2, 3, 4, 10}) EXPECT_TRUE(channels[channel]) << channel;
  EXPECT_FALSE(channels[5]);  // the switched-off row
  const std::string csv = test::midicsv(folder.file("outco.mid"));
  const std::string head = "0, 0, Header, 0, 1, 48\n1, 0, Start_track\n1, 0, Time_signature, 4, 2, 24, 8\n"
                           "1, 0, Tempo, 625000\n";
  EXPECT_EQ(csv.substr(0, head.size()), head);
  const std::string body = expected_csv_events(events, ComposerTiming{16, 96, 4, 4, 48, 12, 2});
  EXPECT_EQ(csv.substr(head.size(), body.size()), body);
}

TEST(ComposeTest, CrLfAndLfInputsGiveTheSameFilesAndMessages) {
  const std::string source = std::string(ZELVO_SOURCE_DIR) + "/examples/demo/";
  auto with_line_ends = [](const std::string& text, bool crlf) {
    std::string out;
    for (char c : text) {
      if (c == '\r') continue;
      if (c == '\n' && crlf) out += '\r';
      out += c;
    }
    return out;
  };
  Composed lf;
  Composed crlf;
  test::compose_in(lf, with_line_ends(test::read_file(source + "incom.htm"), false),
                   with_line_ends(test::read_file(source + "insec.xml"), false));
  test::compose_in(crlf, with_line_ends(test::read_file(source + "incom.htm"), true),
                   with_line_ends(test::read_file(source + "insec.xml"), true));
  ASSERT_EQ(lf.result.status, 0) << lf.result.output;
  ASSERT_EQ(crlf.result.status, 0) << crlf.result.output;
  EXPECT_NE(lf.result.output.find("\nReading XML sequence file...\n\n"), std::string::npos);
  EXPECT_EQ(crlf.result.output, lf.result.output);
  EXPECT_GT(lf.events.size(), 250u);
  EXPECT_EQ(crlf.listing, lf.listing);
  EXPECT_EQ(test::read_file(crlf.folder.file("outco.mid")), test::read_file(lf.folder.file("outco.mid")));
}

}  // namespace
}  // namespace zelvo::composer
