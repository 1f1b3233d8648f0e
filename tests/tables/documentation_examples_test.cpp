#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "machine/machine_state.h"
#include "console/job_console.h"
#include "support/files.h"
#include "tables/composition.h"
#include "tables/table_compiler.h"

// Every table-language example of both documents compiles, and every
// expression that states its value ("x+1 // = 7") computes that value. The
// examples are written as a file holds them (`x&gt;5`) and go into the
// document as they are.
namespace zelvo::tables {
namespace {

// Documents built from rows of cells, written into a scratch folder and
// compiled with a fresh composition and machine.
using Rows = std::vector<std::vector<std::string>>;

// A table the way HTML editors write it: tags on their own lines, one cell
// per line.
inline std::string html_table(const Rows& rows) {
  std::string text = "<table border=1>\n";
  for (const auto& row : rows) {
    text += "<tr>\n";
    for (const std::string& cell : row) text += "<td>" + cell + "</td>\n";
    text += "</tr>\n";
  }
  return text + "</table>\n";
}

inline std::string html_document(const std::string& tables) {
  return "<html>\n<head><title>piece</title></head>\n<body>\n" + tables + "</body>\n</html>\n";
}

// One compile of a document, with everything it filled.
struct CompileRun {
  std::unique_ptr<Composition> composition = std::make_unique<Composition>();
  std::unique_ptr<machine::MachineState> machine = std::make_unique<machine::MachineState>();
  std::unique_ptr<console::StandaloneConsole> console = std::make_unique<console::StandaloneConsole>();
  bool aborted = false;

  std::string output() const { return console->store().contents(); }
  double value_of(int32_t symbol_index) const { return *machine->symbol_values[symbol_index]; }
};

inline CompileRun compile_document(const std::string& document) {
  const test::TempFolder folder;
  test::write_file(folder.file("incom.htm"), document);
  CompileRun run;
  try {
    const base::Status compiled = compile_tables(*run.composition, *run.machine, *run.console, folder.path().c_str());
    // Printed as the composer prints it, so the console reads as a job's.
    if (!compiled.ok()) console::fail(*run.console, compiled.error());
  } catch (const console::JobEnded&) {
    run.aborted = true;
  }
  return run;
}

struct Example {
  std::string text;   // the expression, or a whole set of tables
  std::string value;  // after "// = ", empty when none is stated
  std::string where;  // document and line, for the failure message
};

// The fenced blocks "```zelvo" (one expression a line) and
// "```zelvo-tables" (tables as a composition holds them).
void collect(const std::string& name, std::vector<Example>& expressions, std::vector<Example>& documents) {
  std::ifstream in(std::string(ZELVO_SOURCE_DIR) + "/docs/" + name);
  ASSERT_TRUE(in.good()) << name;
  std::string line, kind;
  Example tables;
  for (int number = 1; std::getline(in, line); ++number) {
    if (kind.empty()) {
      if (line == "```zelvo" || line == "```zelvo-tables") {
        kind = line.substr(3);
        tables = Example{"", "", name + ":" + std::to_string(number)};
      }
      continue;
    }
    if (line == "```") {
      if (kind == "zelvo-tables") documents.push_back(tables);
      kind.clear();
    } else if (kind == "zelvo-tables") {
      tables.text += line + "\n";
    } else if (!line.empty()) {
      const size_t stated = line.find("// = ");
      expressions.push_back(Example{line, stated == std::string::npos ? "" : line.substr(stated + 5),
                                    name + ":" + std::to_string(number)});
    }
  }
}

TEST(DocumentationExamplesTest, EveryExampleCompilesAndComputesItsStatedValue) {
  std::vector<Example> expressions, documents;
  for (const char* name : {"zelvo_eng.md", "zelvo_spa.md"}) collect(name, expressions, documents);
  ASSERT_GE(expressions.size(), 80u);
  ASSERT_EQ(documents.size(), 2u);

  // The names the examples use, with the values the text gives them.
  Rows variables = {{"TCAL", "expression"}, {"x", "6"}, {"a", "2"}, {"b", "3"}, {"c", "4"}, {"s", "2"}};
  const size_t first_example = variables.size() - 1;
  for (size_t i = 0; i < expressions.size(); ++i) {
    variables.push_back({"e" + std::to_string(i), expressions[i].text});
  }
  const CompileRun run = compile_document(html_document(html_table(variables)));
  ASSERT_FALSE(run.aborted) << run.output();
  for (int32_t i = 0; i < run.composition->symbol_count; ++i) {
    machine::run_program(*run.machine, run.composition->symbols[i].code_start);
  }
  for (size_t i = 0; i < expressions.size(); ++i) {
    if (expressions[i].value.empty()) continue;
    const double expected = std::strtod(expressions[i].value.c_str(), nullptr);
    EXPECT_NEAR(run.value_of(static_cast<int32_t>(first_example + i)), expected, 1e-9)
        << expressions[i].where << ": " << expressions[i].text;
  }

  for (const Example& example : documents) {
    const CompileRun tables = compile_document(html_document(example.text));
    EXPECT_FALSE(tables.aborted) << example.where << "\n" << tables.output();
    EXPECT_GE(tables.composition->generator_counter, 2) << example.where;
  }
}

}  // namespace
}  // namespace zelvo::tables
