// zelvo render and zelvo roll: the files they write and the errors they
// report, from the recorded cases in tests/data/roll.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "app/cli_runner.h"
#include "audio/soundfont.h"
#include "audio/synth.h"
#include "audio/wav_render.h"
#include "picture/roll_painter.h"
#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"
#include "support/status_text.h"

namespace zelvo {
namespace {

const std::string kData = ZELVO_TEST_DATA "/roll";

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    const size_t first = part.find_first_not_of(' ');
    const size_t last = part.find_last_not_of(' ');
    parts.push_back(first == std::string::npos ? "" : part.substr(first, last - first + 1));
  }
  if (!text.empty() && text.back() == separator) parts.push_back("");
  return parts;
}

// The table's rows, without comments.
std::vector<std::vector<std::string>> rows(const std::string& file) {
  std::vector<std::vector<std::string>> table;
  for (const std::string& line : test::table_rows("roll/" + file, 1)) table.push_back(split(line, '|'));
  return table;
}

// Runs zelvo with a shell command line; returns the exit status and the
// first line of standard error.
int run_zelvo(const std::string& arguments, std::string& first_error_line) {
  const app::CliResult run = app::run_command(app::shell_quote(ZELVO_BINARY) + " " + arguments, {});
  first_error_line = run.errors.substr(0, run.errors.find('\n'));
  return run.status;
}

QGuiApplication& offscreen_application() {
  static int argc = 1;
  static char name[] = "media_tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
  return application;
}

TEST(MediaCommandsTest, EveryRefusalSaysWhyExitsAndLeavesNoFile) {
  for (const auto& row : rows("errors.txt")) {
    ASSERT_EQ(row.size(), 3u);
    app::TempFolder out;
    const auto fill = [&](const std::string& text) {
      return test::replace_all(test::replace_all(text, "{data}", kData), "{out}", out.path());
    };
    std::string error;
    EXPECT_EQ(run_zelvo(fill(row[0]), error), std::stoi(row[1])) << row[0];
    EXPECT_EQ(error, fill(row[2])) << row[0];
    EXPECT_TRUE(std::filesystem::is_empty(out.path())) << row[0];
  }
}

TEST(MediaCommandsTest, NoSoundfontNamesThePackages) {
  unsetenv("ZELVO_SOUNDFONT");
  std::string path;
  const std::string error = test::english(audio::find_soundfont("", path, "/nonexistent"));
  EXPECT_NE(error.find("fluid-soundfont-gm or timgm6mb-soundfont"), std::string::npos) << error;
  setenv("ZELVO_SOUNDFONT", (kData + "/none.sf2").c_str(), 1);
  EXPECT_EQ(test::english(audio::find_soundfont("", path)),
            "the soundfont " + kData + "/none.sf2 (ZELVO_SOUNDFONT) cannot be read");
  unsetenv("ZELVO_SOUNDFONT");
}

// Root mean square of frames [from, to) of a 16-bit stereo WAV's samples.
double rms(const std::string& wav, double from_seconds, double to_seconds) {
  const size_t first = 44 + 4 * static_cast<size_t>(from_seconds * audio::kSampleRate);
  const size_t last = 44 + 4 * static_cast<size_t>(to_seconds * audio::kSampleRate);
  double sum = 0;
  for (size_t at = first; at + 1 < last; at += 2) {
    const int16_t sample = static_cast<int16_t>(static_cast<uint8_t>(wav[at]) | (static_cast<uint8_t>(wav[at + 1]) << 8));
    sum += static_cast<double>(sample) * sample;
  }
  return std::sqrt(sum / static_cast<double>((last - first) / 2));
}

TEST(MediaCommandsTest, RenderIsRepeatableLastsTheSongAndTheTailAndSoundsOnlyWithNotes) {
  app::TempFolder out;
  std::string error;
  ASSERT_EQ(run_zelvo(kData + "/late_start.mid -o " + out.file("a.wav"), error), 2);  // no command word
  ASSERT_EQ(run_zelvo("render " + kData + "/late_start.mid -o " + out.file("a.wav"), error), 0) << error;
  ASSERT_EQ(run_zelvo("render " + kData + "/late_start.mid -o " + out.file("b.wav"), error), 0) << error;
  const std::string wav = test::read_file(out.file("a.wav"));
  EXPECT_EQ(wav, test::read_file(out.file("b.wav")));
  // A note from 1 s to 2 s, then the 2 s tail: 4 s of 44100 stereo frames.
  ASSERT_EQ(wav.size(), 44u + 4u * 176400u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(rms(wav, 0.0, 0.99), 0.0);
  EXPECT_GT(rms(wav, 1.05, 1.95), 300.0);
  EXPECT_LT(rms(wav, 3.9, 4.0), rms(wav, 1.05, 1.95) / 10);  // rung out

  // The demo's result; its length from the tempo map, the default output name.
  std::filesystem::copy_file(kData + "/demo_outco.mid", out.file("outco.mid"));
  ASSERT_EQ(run_zelvo("render " + out.file("outco.mid"), error), 0) << error;
  const std::string first = test::read_file(out.file("outco.wav"));
  ASSERT_EQ(run_zelvo("render " + out.file("outco.mid"), error), 0) << error;
  EXPECT_EQ(test::read_file(out.file("outco.wav")), first);
  midi::Timeline song;
  ASSERT_EQ(test::english(midi::read_timeline_file(out.file("outco.mid"), song)), "");
  const double seconds = roll::TempoMap(song).seconds(song.end_tick) + audio::kTailSeconds;
  EXPECT_NEAR((first.size() - 44) / 4.0 / audio::kSampleRate, seconds, 1.0 / audio::kSampleRate);
}

TEST(MediaCommandsTest, RollShowsEachNoteBarLineChannelAndToneLabel) {
  offscreen_application();
  const std::regex group(R"re(<g fill="(#[0-9a-f]{6})"[^>]*stroke="none")re");
  const std::regex dashed(R"re(<g fill="none" stroke="#[0-9a-f]{6}" stroke-opacity="0\.[0-9]+"[^>]*stroke-dasharray)re");
  const std::regex bar_line(R"re(stroke="#888888"[\s\S]*?</g>)re");
  const std::regex vertical(R"re(points="([0-9.]+),16 ([0-9.]+),)re");
  const std::regex text(R"(>([^<>]+)</text>)");
  for (const auto& row : rows("cases.txt")) {
    ASSERT_EQ(row.size(), 6u);
    midi::Timeline song;
    ASSERT_EQ(test::english(midi::read_timeline_file(kData + "/" + row[0], song)), "");
    roll::PianoRoll piano_roll = roll::make_piano_roll(song);
    const std::string tones = test::read_file(kData + "/" + row[0].substr(0, row[0].size() - 4) + ".tones");
    roll::apply_tones(tones, piano_roll);
    app::TempFolder out;
    ASSERT_EQ(test::english(picture::save_roll(piano_roll, out.file("roll.svg"), 1000)), "");
    const std::string svg = test::read_file(out.file("roll.svg"));

    // Filled shapes in a channel's colour: the notes and the legend's swatches.
    int shapes = 0;
    std::string channels;
    for (std::sregex_iterator g(svg.begin(), svg.end(), group), end; g != end; ++g) {
      const std::string colour = (*g)[1];
      if (colour == "#ffffff") continue;
      const size_t body = static_cast<size_t>(g->position() + g->length());
      const std::string inside = svg.substr(body, svg.find("</g>", body) - body);
      for (size_t at = inside.find("<rect"); at != std::string::npos; at = inside.find("<rect", at + 1)) ++shapes;
    }
    std::vector<std::string> legend;
    std::string labels;
    for (std::sregex_iterator t(svg.begin(), svg.end(), text), end; t != end; ++t) {
      const std::string word = (*t)[1];
      if (word.rfind("Channel", 0) == 0) legend.push_back(word);
      if (word.size() == 2 && std::isalpha(static_cast<unsigned char>(word[0])) && word[0] != 'C') labels += word;
    }
    const int given_shapes = static_cast<int>(std::distance(std::sregex_iterator(svg.begin(), svg.end(), dashed),
                                                            std::sregex_iterator()));
    std::vector<std::string> bars;
    std::smatch lines;
    ASSERT_TRUE(std::regex_search(svg, lines, bar_line)) << row[0];
    const std::string line_group = lines[0];
    for (std::sregex_iterator v(line_group.begin(), line_group.end(), vertical), end; v != end; ++v) {
      bars.push_back((*v)[1]);
    }
    const std::vector<std::string> legend_expected = row[3].empty() ? std::vector<std::string>{} : split(row[3], ',');
    EXPECT_EQ(shapes, std::stoi(row[1]) + static_cast<int>(legend_expected.size())) << row[0];
    EXPECT_EQ(bars, split(row[2], ' ')) << row[0];
    EXPECT_EQ(legend, legend_expected) << row[0];
    EXPECT_EQ(labels, row[4]) << row[0];
    EXPECT_EQ(given_shapes, row[5].empty() ? 0 : std::stoi(row[5])) << row[0];
  }
}

TEST(MediaCommandsTest, DemoRollIsAPngWithoutADisplay) {
  app::TempFolder out;
  std::filesystem::copy_file(kData + "/demo_outco.mid", out.file("outco.mid"));
  std::string error;
  ASSERT_EQ(run_zelvo("roll " + out.file("outco.mid") + " --width 1200", error), 0) << error;
  const std::string png = test::read_file(out.file("outco.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<uint8_t>(png[18]) * 256 + static_cast<uint8_t>(png[19]), 1200);  // IHDR width
}

}  // namespace
}  // namespace zelvo
