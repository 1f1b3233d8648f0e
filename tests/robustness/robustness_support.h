#pragma once

// Helpers for the robustness tests: a work folder that is the current
// directory for the test's life, jobs run in-process through the desktop
// program's application object, and builders for oversized input files.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_runner.h"
#include "console/console.h"
#include "console/job_runner.h"
#include "console/message.h"
#include "shell/application.h"

namespace zelvo::robustness {

// A scratch folder made the current directory, as the work folder is for a job.
class WorkFolder {
 public:
  WorkFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(folder_.path()); }
  ~WorkFolder() { std::filesystem::current_path(previous_); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& path() const { return folder_.path(); }

 private:
  app::TempFolder folder_;
  std::filesystem::path previous_;
};

inline void write_file(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary);
  out << bytes;
}

inline std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool exists(const std::string& name) {
  std::error_code ignored;
  return std::filesystem::exists(name, ignored);
}

inline void copy_demo(const std::string& name, const std::string& as) {
  write_file(as, read_file(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name));
}

// printf into a std::string (the expected text of a message).
inline std::string format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  char text[4096];
  std::vsnprintf(text, sizeof text, pattern, args);
  va_end(args);
  return text;
}

// An application as the desktop program holds it, running its jobs on the
// calling thread in the current directory.
class Jobs {
 public:
  Jobs() : app_(std::make_unique<shell::Application>()) {}

  console::JobOutcome run(console::JobKind kind, int32_t language = console::kEnglish) {
    console::Console& console = app_->console();
    console.set_language(language);
    console.clear_console();
    console.set_job_running(true);
    return app_->runner().run_body(kind);
  }
  std::string output() const { return app_->console().contents(); }
  shell::Application& app() { return *app_; }

 private:
  std::unique_ptr<shell::Application> app_;
};

// The console text of a job that ended with `message` printed and aborted.
inline std::string aborted_with(const std::string& message, int32_t language = console::kEnglish) {
  return message + (language == console::kEnglish ? console::kAbortMessage.english : console::kAbortMessage.spanish);
}

// Checks a job that must end with `pair` (formatted with the arguments) and
// the abort, in English and in Spanish; `setup` writes the work folder's
// files again before each run.
template <typename Setup, typename... Args>
void expect_refused(console::JobKind kind, Setup setup, console::MessagePair pair, Args... args) {
  for (int32_t language : {console::kEnglish, console::kSpanish}) {
    setup();
    Jobs jobs;
    EXPECT_EQ(jobs.run(kind, language), console::JobOutcome::kAborted);
    const char* pattern = language == console::kEnglish ? pair.english : pair.spanish;
    const std::string text = jobs.output();
    const std::string expected = aborted_with(format(pattern, args...), language);
    ASSERT_GE(text.size(), expected.size()) << text;
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected) << "language " << language;
  }
}

// --- The composition document ------------------------------------------------

using Row = std::vector<std::string>;

// A table the way HTML editors write it: tags on their own lines, one cell per line.
inline std::string html_table(const std::vector<Row>& rows) {
  std::string text = "<table border=1>\n";
  for (const Row& row : rows) {
    text += "<tr>\n";
    for (const std::string& cell : row) text += "<td>" + cell + "</td>\n";
    text += "</tr>\n";
  }
  return text + "</table>\n";
}

inline std::string html_document(const std::string& tables) {
  return "<html>\n<body>\n" + tables + "</body>\n</html>\n";
}

// TCONF: bars, tempo, compas-num, compas-den, clicks per beat (0: 192 / den), seed.
inline std::string config_table(int32_t bars, int32_t extra_columns = 0, int32_t clicks_per_beat = 0) {
  Row header{"TCONF"};
  Row values{"values", std::to_string(bars), "120", "4", "4", std::to_string(clicks_per_beat), "1234"};
  for (int32_t i = 0; i < extra_columns; ++i) values.push_back("7");
  return html_table({header, values});
}

// TCAL with one row per (name, expression).
inline std::string variables_table(const std::vector<std::pair<std::string, std::string>>& variables) {
  std::vector<Row> rows{{"TCAL", "value"}};
  for (const auto& [name, expression] : variables) rows.push_back({name, expression});
  return html_table(rows);
}

// A calculated-generator table: one parameter column per value of the
// defaults row, and the named generators, every parameter left to the defaults.
inline std::string generator_table(const std::vector<std::string>& defaults_row, const std::vector<std::string>& names) {
  Row header{"TGENC"};
  Row defaults{"defaults"};
  for (size_t c = 0; c < defaults_row.size(); ++c) {
    header.push_back(std::to_string(c + 1));
    defaults.push_back(defaults_row[c]);
  }
  header.push_back("end");
  defaults.push_back("");
  std::vector<Row> rows{header, defaults};
  for (const std::string& name : names) {
    Row row{name};
    for (size_t c = 0; c <= defaults_row.size(); ++c) row.push_back("");
    rows.push_back(row);
  }
  return html_table(rows);
}

inline std::string generator_table(int32_t parameters, const std::vector<std::string>& names) {
  return generator_table(std::vector<std::string>(parameters, "0"), names);
}

// A generator that sounds at every click from bar 1 on: mode 0, start bar 1
// click 0, period 1 bar, pulse 1, length 100 bars, note length 12, sine
// between 60 and 72, step 1, order 1.
inline std::string every_click_generator() {
  return generator_table({"0", "1", "0", "1", "0", "1", "100", "0", "12", "1", "72", "60", "1", "1"}, {"g"});
}

// TSAL rows (channel, note, duration, gate, velocity), each switched on.
inline std::string output_table(const std::vector<Row>& channels) {
  std::vector<Row> rows{{"TSAL", "Inst", "Note", "Dur", "Play", "Vel"}};
  for (const Row& channel : channels) {
    Row row{""};
    row.insert(row.end(), channel.begin(), channel.end());
    rows.push_back(row);
  }
  return html_table(rows);
}

// "a+a+...+a" of `terms` terms.
inline std::string sum_of(const std::string& term, int32_t terms) {
  std::string text = term;
  for (int32_t i = 1; i < terms; ++i) text += "+" + term;
  return text;
}

// --- MusicXML ------------------------------------------------------------------

struct XmlNote {
  int32_t measure;
  const char* step;  // "C" .. "B", or nullptr for a rest
  int32_t octave;
  int32_t duration;  // in divisions
  bool chord = false;  // sounds with the note before
};

// A pretty-printed part-wise score, one element per line: `parts[p]` holds
// the notes of part p + 1, in order, measures ascending; divisions 1, 4/4.
// `bar_style_every` > 0 closes every such measure of part 1 with a bar-style line.
inline std::string musicxml(const std::vector<std::vector<XmlNote>>& parts, int32_t bar_style_every = 0,
                            int32_t first_part = 1) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"3.1\">\n";
  for (size_t p = 0; p < parts.size(); ++p) {
    text += "  <part id=\"P" + std::to_string(first_part + static_cast<int32_t>(p)) + "\">\n";
    int32_t open = 0;
    auto close_measure = [&] {
      if (open == 0) return;
      if (p == 0 && bar_style_every > 0 && open % bar_style_every == 0) {
        text += "      <barline location=\"right\">\n        <bar-style>light-heavy</bar-style>\n      </barline>\n";
      }
      text += "    </measure>\n";
    };
    for (const XmlNote& note : parts[p]) {
      if (note.measure != open) {
        close_measure();
        open = note.measure;
        text += "    <measure number=\"" + std::to_string(open) + "\">\n";
        if (note.measure == parts[p].front().measure) {
          text += "      <attributes>\n        <divisions>1</divisions>\n        <time>\n          <beats>4</beats>\n"
                  "          <beat-type>4</beat-type>\n        </time>\n      </attributes>\n";
        }
      }
      text += "      <note>\n";
      if (note.chord) text += "        <chord/>\n";
      if (note.step == nullptr) {
        text += "        <rest/>\n";
      } else {
        text += "        <pitch>\n          <step>" + std::string(note.step) + "</step>\n          <octave>" +
                std::to_string(note.octave) + "</octave>\n        </pitch>\n";
      }
      text += "        <duration>" + std::to_string(note.duration) + "</duration>\n      </note>\n";
    }
    close_measure();
    text += "  </part>\n";
  }
  return text + "</score-partwise>\n";
}

// --- The composer's listing -----------------------------------------------------

struct ListedNote {
  int32_t inst, bar, click, duration, note;
};

// outco.rur with 4/4 and 48 clicks per beat (192 per bar, 12 per sixteenth).
inline std::string listing(const std::vector<ListedNote>& notes) {
  std::string text = "ZAZAD Output Data\n\n120,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n"
                     "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n";
  for (const ListedNote& n : notes) {
    text += format("%d\t%d\t%d\t%d\t%d\t%d\t\n", n.inst, n.bar, n.click, n.duration, n.note, 90);
  }
  return text;
}

}  // namespace zelvo::robustness
