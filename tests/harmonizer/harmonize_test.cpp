#include "harmonizer/harmonize_job.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::copy_test_data;
using test::WorkFolder;
using test::write_file;

const std::string kBanner =
    "\n  - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
    "  Zelvo 1.160611\n\n";
const std::string kStart =
    "\n** HARMONIZING!!! "
    "****************************************************************************\n\n";
const std::string kAbort = "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n";

std::string demo_file(const std::string& name) {
  return std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name;
}

void copy_demo(const std::string& name) { write_file(name, test::read_file(demo_file(name))); }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(HarmonizeCliTest, WithoutConfiguration) {
  app::TempFolder work;
  const app::CliResult result = app::run_zelvo({"harmonize"}, work.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, kBanner + kStart + "\nError opening file conar\n" + kAbort);
}

TEST(HarmonizeCliTest, MusicErrorComesBeforeTheHarmony) {
  app::TempFolder work;
  write_file(work.file("conar.txt"), "MusicSource=0\n");
  write_file(work.file("inarm.xml"), "<part id=\"P3\">\n");
  const app::CliResult result = app::run_zelvo({"harmonize"}, work.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, kBanner + kStart + "Reading Music to be harmonized...\n" +
                               "\nError opening file inmus.xml\n" + kAbort);
}

TEST(HarmonizeCliTest, BadConfigurationLineInSpanish) {
  app::TempFolder work;
  write_file(work.file("conar.rur"), "Debug=1\nMusicSurce=2\n");
  write_file(work.file("conar.txt"), "Debug=1\n");
  const app::CliResult result = app::run_zelvo({"--lang", "es", "harmonize"}, work.path());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("\n** ARMONIZANDO!!! "
                               "*************************************************************"
                               "***************\n\n\nError en el archivo de Configuracion de "
                               "Armonia, en la linea:\n\n\t\tMusicSurce=2\n\n\n\n"
                               "ERROR: ABORTANDO COMPILACION\n"),
            std::string::npos)
      << result.output;
}

TEST(HarmonizeCliTest, DemoIsHarmonized) {
  app::TempFolder work;
  for (const char* name : {"inmus.xml", "inarm.xml"}) {
    write_file(work.file(name), test::read_file(demo_file(name)));
  }
  // The demo harmonizes the composer's listing; this test, inmus.xml.
  write_file(work.file("conar.txt"), test::read_file(demo_file("conar.txt")) + "MusicSource=0\n");
  const app::CliResult result = app::run_zelvo({"harmonize"}, work.path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("Reading Music to be harmonized...\nReading Harmony "
                               "Information...\n"),
            std::string::npos);
  EXPECT_NE(result.output.find("\n\n GENERATING Midifile...\n\n"), std::string::npos);
  const std::string csv = test::midicsv(work.file("outar.mid"));
  EXPECT_EQ(csv.rfind("0, 0, Header, 0, 1, 1024\n1, 0, Start_track\n"
                      "1, 0, Time_signature, 4, 2, 24, 8\n1, 0, Tempo, 500000\n",
                      0),
            0u)
      << csv;
  // Three voices of the demo: 51 melody notes (the tie joined), 23 bass
  // and 18 inner notes, each with its note-off; 16 bars.
  EXPECT_EQ(count(csv, "Note_on_c, 0, "), 2 * 51);
  EXPECT_EQ(count(csv, "Note_on_c, 1, "), 2 * 23);
  EXPECT_EQ(count(csv, "Note_on_c, 2, "), 2 * 18);
  EXPECT_NE(csv.find("1, 65536, End_track\n"), std::string::npos);
}

// Two runs in one program: the second configuration leaves out a key, which
// keeps the first run's value; ShowLineInfo and the clicks start afresh.
TEST(HarmonizeDriverTest, SettingsOutliveARun) {
  WorkFolder folder;
  console::Console console;
  auto state = test::make_state();
  for (const char* name : {"inmus.xml", "inarm.xml"}) copy_demo(name);
  write_file("conar.txt",
             "FirstMusicIns=1\nLastMusicIns=3\nHarmInsNum=2\nClicksQuarter=480\nShowLineInfo=0\n"
             "LinkLimit=1\n");
  harmonize(*state, console);
  EXPECT_EQ(state->settings.FirstHarmIns, 4);  // resolved from LastMusicIns and kept
  EXPECT_EQ(state->settings.time.clicks_semic, 120);
  EXPECT_EQ(std::string(state->output_name), "outar.mid");
  const std::string first = test::read_file("outar.mid");
  EXPECT_EQ(first.substr(12, 2), std::string("\x01\xE0", 2));  // division 480

  state->settings.ShowLineInfo = 1;
  write_file("conar.txt", "FirstMusicIns=1\nLastMusicIns=3\nHarmInsNum=2\n");
  harmonize(*state, console);
  EXPECT_EQ(state->settings.LinkLimit, 1);
  EXPECT_EQ(state->settings.ShowLineInfo, 0);
  EXPECT_EQ(state->settings.time.clicks_semic, 256);  // reset, then not set by MusicXML
  EXPECT_EQ(test::read_file("outar.mid").substr(12, 2), std::string("\x04\x00", 2));
}

TEST(HarmonizeDriverTest, ClicksPerSixteenthOfZeroIsRefused) {
  WorkFolder folder;
  console::Console console;
  auto state = test::make_state();
  for (const char* name : {"inmus.xml", "inarm.xml"}) copy_demo(name);
  write_file("conar.txt", "LastMusicIns=3\nHarmInsNum=2\nClicksQuarter=3\n");
  EXPECT_THROW(harmonize(*state, console), console::JobEnded);
  EXPECT_NE(console.contents().find("Reading Harmony Information...\n\nError: clicks per "
                                    "sixteenth (0) and clicks per beat (0) must be greater than "
                                    "0 to harmonize\n"),
            std::string::npos)
      << console.contents();
}

// A bar of no beats divides nothing: the music is harmonized as it reads,
// every bar on top of the first.
TEST(HarmonizeDriverTest, BarOfNoBeatsIsNotRefused) {
  WorkFolder folder;
  console::Console console;
  auto state = test::make_state();
  copy_demo("inarm.xml");
  std::string music = test::read_file(demo_file("inmus.xml"));
  for (size_t at = music.find("<beats>4<"); at != std::string::npos;
       at = music.find("<beats>4<", at)) {
    music.replace(at, 9, "<beats>0<");
  }
  write_file("inmus.xml", music);
  write_file("conar.txt", "LastMusicIns=3\nHarmInsNum=2\n");
  harmonize(*state, console);
  EXPECT_EQ(state->settings.time.compas_num, 0);
  EXPECT_EQ(test::read_file("outar.mid").substr(22, 8),
            std::string("\x00\xFF\x58\x04\x00\x02\x18\x08", 8));
}

}  // namespace
}  // namespace zelvo::harmonizer
