#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/cli_runner.h"

// The folders a user starts from (the template and the examples) and the
// check of a work folder, through the zelvo command.
namespace zelvo::app {
namespace {

namespace fs = std::filesystem;

using test::read_file;
using test::write_file;

void copy_folder(const std::string& from, const std::string& to) {
  for (const auto& entry : fs::directory_iterator(from)) fs::copy(entry.path(), to + "/" + entry.path().filename().string());
}

const std::string kNothingFound = "No probable mistakes found.\n";

// Every example and the template in both languages: nothing to report,
// All runs to its end and writes both results, and then (with the
// composer's listing there to read) still nothing to report.
TEST(ExamplesTest, EveryExampleChecksComposesAndHarmonizes) {
  const std::string examples = std::string(ZELVO_SOURCE_DIR) + "/examples";
  const struct {
    std::string folder;
    std::string language;
  } cases[] = {{"demo", "en"},   {"canon", "en"},    {"generative", "en"},
               {"four-voices", "en"}, {"Template", "en"}, {"Template", "es"}};
  for (const auto& example : cases) {
    SCOPED_TRACE(example.folder + " " + example.language);
    TempFolder work;
    if (example.folder == "Template") {
      ASSERT_EQ(run_zelvo({"--lang", example.language, "project", "new", "--work", work.path(), "--template",
                           examples + "/Template"}).status, 0);
      EXPECT_FALSE(fs::exists(work.file("README.txt")));
    } else {
      copy_folder(examples + "/" + example.folder, work.path());
    }
    EXPECT_EQ(run_zelvo({"check", "--work", work.path()}).output, kNothingFound);
    EXPECT_EQ(run_zelvo({"--lang", example.language, "all"}, work.path()).status, 0);
    EXPECT_GT(fs::file_size(work.file("outco.mid")), 100u);
    EXPECT_GT(fs::file_size(work.file("outar.mid")), 100u);
    const CliResult again = run_zelvo({"check"}, work.path());
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output, kNothingFound);
  }
}

// The template's comments (paragraphs, text after // in a cell, comment
// lines of conar.txt) change nothing that is read: the two languages and
// the versions without any comment give the same bytes.
TEST(ExamplesTest, TemplateCommentsChangeNothingThatIsRead) {
  const std::string templ = std::string(ZELVO_SOURCE_DIR) + "/examples/Template";
  std::string results[4];
  for (int i = 0; i < 4; ++i) {
    TempFolder work;
    copy_folder(templ, work.path());
    std::string composition = read_file(templ + (i == 1 ? "/incom_spa.htm" : "/incom_eng.htm"));
    std::string configuration = read_file(templ + "/conar.txt");
    if (i >= 2) {
      composition = std::regex_replace(composition, std::regex("<(p|h1|h2)>.*\n"), "");
      composition = std::regex_replace(composition, std::regex(" *//[^<]*</td>"), "</td>");
      configuration = std::regex_replace(configuration, std::regex("(^|\n)//[^\n]*"), "$1");
    }
    if (i == 3) configuration = std::regex_replace(configuration, std::regex("MusicSource = 1"), "MusicSource=1");
    write_file(work.file("incom.htm"), composition);
    write_file(work.file("conar.txt"), configuration);
    ASSERT_EQ(run_zelvo({"all"}, work.path()).status, 0);
    results[i] = read_file(work.file("outco.mid")) + read_file(work.file("outar.mid"));
    if (i >= 2) {
      EXPECT_EQ(composition.find("//"), std::string::npos);
    }
  }
  EXPECT_EQ(results[1], results[0]);
  EXPECT_EQ(results[2], results[0]);
  EXPECT_EQ(results[3], results[0]);
}

}  // namespace
}  // namespace zelvo::app
