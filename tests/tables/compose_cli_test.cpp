// zelvo compose on whole documents: the compile's console text and the
// exit status, through the real command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "app/cli_runner.h"

namespace zelvo::tables {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const char* const kCompileBlock =
    "\nReading variables in tables...\n\n"
    "\tProcessing table TCONF\n\tProcessing table TCAL\n\tProcessing table TGENC\n"
    "\tProcessing table TGENS\n\tProcessing table TSAL\n"
    "\nCompiling tables...\n\n"
    "\tProcessing table TCONF\n\tProcessing table TCAL\n\tProcessing table TGENC\n"
    "\tProcessing table TGENS\n\tProcessing table TSAL\n"
    "\n\tIn. Aleatory Numb... [ Seed: 1234 ]\n";

TEST(ComposeCliTest, FiveTablesCompileAndTheJobFinishes) {
  app::TempFolder folder;
  std::filesystem::copy_file(std::string(ZELVO_TEST_DATA) + "/tables/five_tables.htm", folder.file("incom.htm"));
  const app::CliResult result = app::run_zelvo({"compose"}, folder.path());
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find(kCompileBlock), std::string::npos) << result.output;
}

TEST(ComposeCliTest, CompileErrorAbortsWithExitOne) {
  app::TempFolder folder;
  std::string document = read_file(std::string(ZELVO_TEST_DATA) + "/tables/five_tables.htm");
  const std::string good = "<td>base+step</td>";
  document.replace(document.find(good), good.size(), "<td>base+stop</td>");
  std::ofstream(folder.file("incom.htm"), std::ios::binary) << document;
  const app::CliResult result = app::run_zelvo({"compose"}, folder.path());
  EXPECT_EQ(result.status, 1);
  const std::string tail =
      "\tProcessing table TGENC\n\nError: variable stop not declared, referenced in table TGENC, row 2"
      "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n";
  ASSERT_GE(result.output.size(), tail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail);
  EXPECT_FALSE(std::filesystem::exists(folder.file("outco.mid")));
}

// One table as HTML editors write it, one cell per line.
std::string table_rows(std::initializer_list<std::initializer_list<std::string>> rows) {
  std::string text = "<table border=1>\n";
  for (const auto& row : rows) {
    text += "<tr>\n";
    for (const std::string& cell : row) text += "<td>" + cell + "</td>\n";
    text += "</tr>\n";
  }
  return text + "</table>\n";
}

// A document saved with CR LF line ends composes exactly as the LF one:
// the same console text and byte-identical listing and MIDI file.
TEST(ComposeCliTest, CrlfDocumentComposesExactlyLikeTheLfOne) {
  // A remark cell of 798 characters before its line end is one line with LF
  // or CR LF alike, so the next row still starts a row of its own.
  const std::string remark(798 - 9, 'n');
  const std::string lf =
      "<html>\n<body>\n" +
      table_rows({{"TCONF", "bars", "tempo", "num", "den", "clicks", "seed"}, {"v", "2", "120", "4", "4", "0", "1234"}}) +
      table_rows({{"TCAL", "value", "remark"}, {"base", "60", remark}, {"tone", "base+nrand(12)"}}) +
      table_rows({{"TSAL", "inst", "note", "dur", "gate", "vel"}, {"", "1", "tone", "10", "1", "90"}}) +
      table_rows({{"TGENC", "mode", "sb", "sc", "pb", "pc", "pulse", "lb", "lc", "nl", "shape", "top", "bot", "step",
                   "order", "end"},
                  {"d", "0", "1", "0", "1", "0", "24", "2", "0", "24", "1", "72", "60", "0", "1", ""},
                  {"G", "0", "1", "0", "1", "0", "24", "2", "0", "24", "1", "72", "60", "0", "1", ""}}) +
      "</body>\n</html>\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  app::TempFolder lf_folder;
  app::TempFolder crlf_folder;
  std::ofstream(lf_folder.file("incom.htm"), std::ios::binary) << lf;
  std::ofstream(crlf_folder.file("incom.htm"), std::ios::binary) << crlf;
  const app::CliResult lf_result = app::run_zelvo({"compose"}, lf_folder.path());
  const app::CliResult crlf_result = app::run_zelvo({"compose"}, crlf_folder.path());
  EXPECT_EQ(lf_result.status, 0) << lf_result.output;
  EXPECT_EQ(crlf_result.status, 0) << crlf_result.output;
  EXPECT_EQ(crlf_result.output, lf_result.output);
  const std::string listing = read_file(lf_folder.file("outco.rur"));
  EXPECT_NE(listing.find("\n1\t1\t0\t10\t"), std::string::npos) << listing;  // the piece has notes
  EXPECT_EQ(read_file(crlf_folder.file("outco.rur")), listing);
  EXPECT_EQ(read_file(crlf_folder.file("outco.mid")), read_file(lf_folder.file("outco.mid")));
}

TEST(ComposeCliTest, SpanishOpenError) {
  app::TempFolder folder;
  const app::CliResult result = app::run_zelvo({"--lang", "es", "compose"}, folder.path());
  EXPECT_EQ(result.status, 1);
  const std::string tail = "\nImposible abrir el archivo de entrada HTML\n\nERROR: ABORTANDO COMPILACION\n\n\n\n\n";
  ASSERT_GE(result.output.size(), tail.size());
  EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail);
}

}  // namespace
}  // namespace zelvo::tables
