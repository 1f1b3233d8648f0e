// zelvo compose on whole documents: the compile's console text and the
// exit status, through the real command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
