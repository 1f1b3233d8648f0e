#pragma once

// Helpers for the table tests: documents built from rows of cells, written
// into a scratch folder and compiled with a fresh composition and machine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "console/job_console.h"
#include "support/files.h"
#include "machine/machine_state.h"
#include "tables/composition.h"
#include "tables/table_compiler.h"

namespace zelvo::tables::testing {

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

}  // namespace zelvo::tables::testing
