// Generators and the generation loop, run end to end through `zelvo compose`
// and read back from the listing.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "composer/composer_test_util.h"

namespace zelvo::composer {
namespace {

using test::Composed;
using test::Event;
using test::Row;
using test::Rows;

// mode, start bar, start click, period bars, period clicks, pulse, length
// bars, length clicks, note length, shape, top, bottom, step, order.
Row calc(const std::string& name, const std::string& period_clicks, const std::string& pulse,
         const std::string& shape, const std::string& top, const std::string& bottom, const std::string& step = "0",
         const std::string& order = "1") {
  return {name, "0", "1", "0", "0", period_clicks, pulse, "100", "0", "12", shape, top, bottom, step, order};
}

// A channel row: switch, channel, note, duration, gate, velocity.
Row out(const std::string& channel, const std::string& note, const std::string& gate, const std::string& dur = "12",
        const std::string& vel = "100") {
  return {"", channel, note, dur, gate, vel};
}

std::vector<int> notes_of(const std::vector<Event>& events, size_t count) {
  std::vector<int> notes;
  for (size_t i = 0; i < events.size() && i < count; ++i) notes.push_back(events[i][4]);
  return notes;
}

std::vector<int> clicks_of(const std::vector<Event>& events, size_t count) {
  std::vector<int> clicks;
  for (size_t i = 0; i < events.size() && i < count; ++i) {
    clicks.push_back((events[i][1] - 1) * 192 + events[i][2]);
  }
  return clicks;
}

int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(CalculatedGeneratorTest, RampOnsetsEveryPulse) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "4", "4"),
                                             test::tgenc({calc("Ramp", "48", "12", "3", "72", "60")}),
                                             test::tsal({out("1", "Ramp", "Rampi", "Rampu")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  ASSERT_EQ(run.events.size(), 16u);
  EXPECT_EQ(notes_of(run.events, 6), (std::vector<int>{60, 63, 66, 69, 60, 63}));
  EXPECT_EQ(clicks_of(run.events, 6), (std::vector<int>{0, 12, 24, 36, 48, 60}));
  EXPECT_EQ(run.events[0], (Event{1, 1, 0, 12, 60, 100}));
}

TEST(CalculatedGeneratorTest, EveryShape) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),  // 12 clicks a bar
                                             test::tgenc({calc("Sine", "4", "1", "1", "72", "60", "0", "1"),
                                                          calc("Square", "4", "1", "2", "72", "60", "0", "2"),
                                                          calc("Up", "4", "1", "3", "72", "60", "0", "3"),
                                                          calc("Down", "4", "1", "4", "72", "60", "0", "4"),
                                                          calc("Tri", "4", "1", "5", "72", "60", "0", "5"),
                                                          calc("Odd", "4", "1", "9", "72", "60", "0", "6")}),
                                             test::tsal({out("1", "Sine", "Sinei"), out("2", "Square", "Squarei"),
                                                         out("3", "Up", "Upi"), out("4", "Down", "Downi"),
                                                         out("5", "Tri", "Trii"), out("6", "Odd", "Oddi")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  std::vector<std::vector<int>> by_channel(7);
  for (const Event& e : run.events) by_channel[e[0]].push_back(e[4]);
  const std::vector<int> two_periods(8);
  EXPECT_EQ(std::vector<int>(by_channel[1].begin(), by_channel[1].begin() + 4), (std::vector<int>{66, 72, 66, 60}));
  EXPECT_EQ(std::vector<int>(by_channel[2].begin(), by_channel[2].begin() + 4), (std::vector<int>{72, 72, 60, 60}));
  EXPECT_EQ(std::vector<int>(by_channel[3].begin(), by_channel[3].begin() + 4), (std::vector<int>{60, 63, 66, 69}));
  EXPECT_EQ(std::vector<int>(by_channel[4].begin(), by_channel[4].begin() + 4), (std::vector<int>{72, 69, 66, 63}));
  EXPECT_EQ(std::vector<int>(by_channel[5].begin(), by_channel[5].begin() + 4), (std::vector<int>{60, 66, 72, 66}));
  EXPECT_EQ(by_channel[6], by_channel[1]);  // an unknown shape is the sine
}

TEST(CalculatedGeneratorTest, StepTruncatesTowardZero) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),
                                             test::tgenc({calc("S", "4", "1", "3", "0", "-3", "2"),
                                                          calc("T", "48", "12", "3", "72", "60", "5", "2")}),
                                             test::tsal({out("1", "S+70", "Si"), out("2", "T", "Ti")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  std::vector<int> s;
  for (const Event& e : run.events) {
    if (e[0] == 1 && s.size() < 4) s.push_back(e[4]);
  }
  // -3 -> -2, -2.25 -> -2, -1.5 -> 0, -0.75 -> 0
  EXPECT_EQ(s, (std::vector<int>{68, 68, 70, 70}));
}

TEST(CalculatedGeneratorTest, ModeDecidesWhenTheProgramRuns) {
  // The top follows the generator's own phase counter: recomputed on every
  // click (mode 0) it has grown by the second onset of a period; recomputed at
  // the period's start only (mode 1) it stays 0.
  auto notes_with_mode = [](const std::string& mode) {
    Row g = calc("G", "4", "2", "3", "Gk*10", "0");
    g[1] = mode;
    Composed run;
    test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"), test::tgenc({g}),
                                               test::tsal({out("1", "G+60", "Gi")})}));
    EXPECT_EQ(run.result.status, 0) << run.result.output;
    return notes_of(run.events, 4);
  };
  EXPECT_EQ(notes_with_mode("0"), (std::vector<int>{60, 70, 60, 70}));
  EXPECT_EQ(notes_with_mode("1"), (std::vector<int>{60, 60, 60, 60}));
  EXPECT_EQ(notes_with_mode("2"), (std::vector<int>{60, 70, 60, 70}));
}

TEST(CalculatedGeneratorTest, ChangedPeriodKeepsThePhaseEvenWhenNegative) {
  // Ramp 60..72, an onset on every click. At click 10 the period turns to
  // -52: the phase becomes -52 * 10 / 48 and the shape is read at
  // (-52 * 10 / 48) / -52 = 10 / 48 (62.5); the next click the period is 48
  // again from phase 0. A period of 0 holds the shape at its start.
  auto notes_for = [](const std::string& period) {
    Composed run;
    test::compose_in(run, test::html_document({test::tconf("1", "120", "4", "4"),
                                               test::tgenc({calc("G", period, "1", "3", "72", "60")}),
                                               test::tsal({out("1", "G", "Gi")})}));
    EXPECT_EQ(run.result.status, 0) << run.result.output;
    return notes_of(run.events, 14);
  };
  EXPECT_EQ(notes_for("48-(Gk&gt;9)*100"), (std::vector<int>{60, 60, 60, 60, 61, 61, 61, 61, 62, 62, 62, 60, 60, 60}));
  EXPECT_EQ(notes_for("0"), std::vector<int>(14, 60));
}

TEST(CalculatedGeneratorTest, LaterStartBeginsAtThePeriodStart) {
  // The reset at bar 1, click 0 reaches generators that are not active yet:
  // a ramp that starts at bar 2 begins at its bottom.
  Composed run;
  Row g = calc("G", "48", "12", "3", "72", "60");
  g[2] = "2";  // start bar
  test::compose_in(run, test::html_document({test::tconf("2", "120", "4", "4"), test::tgenc({g}),
                                             test::tsal({out("1", "G", "Gi")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(clicks_of(run.events, 5), (std::vector<int>{192, 204, 216, 228, 240}));
  EXPECT_EQ(notes_of(run.events, 5), (std::vector<int>{60, 63, 66, 69, 60}));
}

TEST(CalculatedGeneratorTest, StartAndLengthLimitTheActiveClicks) {
  Composed run;
  Row g = calc("G", "48", "24", "3", "72", "60");
  g[2] = "2";    // start bar
  g[3] = "48";   // start click
  g[7] = "0";    // length bars
  g[8] = "72";   // length clicks
  test::compose_in(run, test::html_document({test::tconf("3", "120", "4", "4"), test::tgenc({g}),
                                             test::tsal({out("1", "G", "Gi")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(clicks_of(run.events, 10), (std::vector<int>{240, 264, 288}));
}

TEST(GenerationLoopTest, LowerOrderRunsFirst) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),
                                             test::tgenc({calc("A", "4", "4", "3", "72", "60", "0", "2"),
                                                          calc("B", "4", "4", "3", "50", "40", "0", "1"),
                                                          calc("C", "4", "4", "3", "50", "40", "0", "65001")}),
                                             test::tsal({out("1", "A", "Ai"), out("2", "B", "Bi"), out("3", "C", "Ci")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  ASSERT_EQ(run.events.size(), 6u);  // C, beyond 65000, never runs
  EXPECT_EQ(run.events[0][0], 2);
  EXPECT_EQ(run.events[1][0], 1);
}

TEST(GenerationLoopTest, OrderZeroHandsTheTurnToTheNextRecord) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),
                                             test::tgenc({calc("A", "12", "12", "3", "72", "60", "0", "0"),
                                                          calc("B", "12", "12", "3", "72", "60", "0", "5"),
                                                          calc("C", "12", "12", "3", "72", "60", "0", "3")}),
                                             test::tsal({out("1", "A", "Ai"), out("2", "B", "Bi"), out("3", "C", "Ci")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  ASSERT_EQ(run.events.size(), 3u);
  // A's 0 wraps the bound, so B (5) is taken over A; then C (3) ... and A last.
  std::vector<int> channels{run.events[0][0], run.events[1][0], run.events[2][0]};
  EXPECT_EQ(channels, (std::vector<int>{3, 2, 1}));
}

TEST(GenerationLoopTest, AllOrdersZeroRunFromTheHighestRecordDown) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),
                                             test::tgenc({calc("A", "12", "12", "3", "72", "60", "0", "0"),
                                                          calc("B", "12", "12", "3", "72", "60", "0", "0"),
                                                          calc("C", "12", "12", "3", "72", "60", "0", "0")}),
                                             test::tsal({out("1", "A", "Ai"), out("2", "B", "Bi"), out("3", "C", "Ci")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  ASSERT_EQ(run.events.size(), 3u);
  std::vector<int> channels{run.events[0][0], run.events[1][0], run.events[2][0]};
  EXPECT_EQ(channels, (std::vector<int>{3, 2, 1}));
}

TEST(GenerationLoopTest, PreviewPassShowsALaterGeneratorsNewValue) {
  // A runs before B, yet its notes carry B's value of the same click: the
  // preview pass stored it (without it, click 0 would play B's 0 and click
  // 12 its 62.75 of click 11). B's onset flag is not set by the preview, so
  // A's onsets play on channel 1 only and B's on channel 2 only.
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "4", "4"),
                                             test::tgenc({calc("A", "48", "12", "3", "72", "60", "0", "1"),
                                                          calc("B", "48", "12", "3", "72", "60", "0", "2")}),
                                             test::tsal({out("1", "B", "Ai"), out("2", "B", "Bi")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  ASSERT_GE(run.events.size(), 8u);
  EXPECT_EQ(notes_of(run.events, 8), (std::vector<int>{60, 60, 63, 63, 66, 66, 69, 69}));
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(run.events[i][0], i % 2 == 0 ? 1 : 2) << i;
}

TEST(GenerationLoopTest, ChannelsPlayOnlyWithAGateAndANumberFrom1To16) {
  Composed run;
  test::compose_in(run, test::html_document(
                            {test::tconf("1", "120", "1", "16"),
                             test::tgenc({calc("G", "12", "12", "3", "72", "60")}),
                             test::tsal({out("1", "60", "0"), out("0", "61", "1"), out("17", "62", "1"),
                                         out("16.0", "63", "1"), out("16.5", "64", "1"), {"x", "1", "65", "12", "1", "100"},
                                         out("1", "66", "")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  // 16.5 lies beyond 16: channels are compared before they are truncated.
  ASSERT_EQ(run.events.size(), 1u);
  EXPECT_EQ(run.events[0], (Event{16, 1, 0, 12, 63, 100}));
}

TEST(GenerationLoopTest, ClampingWarnsOncePerRun) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("2", "120", "4", "4"),
                                             test::tgenc({calc("G", "48", "12", "3", "72", "60")}),
                                             test::tsal({out("1", "130.7", "Gi", "12", "-3"), out("2", "G", "Gi", "-7", "127.9")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(run.events[0], (Event{1, 1, 0, 12, 127, 0}));
  EXPECT_EQ(run.events[1], (Event{2, 1, 0, -7, 60, 127}));
  EXPECT_EQ(count_of(run.result.output, "\n\t\tWarning: Value(s) out of range reduced to 0-127 scope\n\n"), 1);
  EXPECT_LT(run.result.output.find("Warning"), run.result.output.find("\tProcesing bar 2"));
}

TEST(GenerationLoopTest, TwoOnsetsOnOneClickRunTheChannelsTwice) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "1", "16"),
                                             test::tgenc({calc("A", "12", "6", "3", "72", "60", "0", "1"),
                                                          calc("B", "12", "4", "3", "72", "60", "0", "2")}),
                                             test::tsal({out("1", "60", "1")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  // A at 0 and 6, B at 0, 4 and 8.
  EXPECT_EQ(clicks_of(run.events, 10), (std::vector<int>{0, 0, 4, 6, 8}));
}

TEST(GenerationLoopTest, NoBarsWritesEmptyFiles) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("0", "120", "4", "4"),
                                             test::tgenc({calc("G", "48", "12", "3", "72", "60")}),
                                             test::tsal({out("1", "G", "1")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(run.listing,
            "ZAZAD Output Data\n\n120,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n"
            "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n");
  EXPECT_EQ(run.result.output.find("Procesing"), std::string::npos);
  EXPECT_EQ(test::read_file(run.folder.file("outco.mid")).size(), 41u);
}

TEST(GenerationLoopTest, StopsSilentlyBeforeABarAt14998Events) {
  // Two open channels on each of 7499 clicks: bar 1 ends with 14998 events,
  // bar 2 is announced and not generated.
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("3", "120", "1", "4", "7499"),
                                             test::tgenc({calc("G", "48", "1", "3", "72", "60")}),
                                             test::tsal({out("1", "60", "1"), out("2", "62", "1")})}));
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(run.events.size(), 14998u);
  EXPECT_NE(run.result.output.find("\tProcesing bar 2\n\n\n GENERATING Midifile...\n\n"), std::string::npos)
      << run.result.output;
  EXPECT_EQ(run.result.output.find("\tProcesing bar 3\n"), std::string::npos);
  EXPECT_EQ(run.result.output.find("Error"), std::string::npos);
  const std::string csv = test::midicsv(run.folder.file("outco.mid"));
  EXPECT_EQ(count_of(csv, "Note_on_c"), 29996);
}

TEST(GenerationLoopTest, EventBeyond15000AbortsInItsBar) {
  // One open channel on each of 14997 clicks: bar 2 starts at 14997 events
  // and may add three more; the 15001st event aborts the job.
  const std::string incom = test::html_document({test::tconf("3", "120", "1", "4", "14997"),
                                                 test::tgenc({calc("G", "48", "1", "3", "72", "60")}),
                                                 test::tsal({out("1", "60", "1")})});
  Composed run;
  test::compose_in(run, incom);
  EXPECT_EQ(run.result.status, 1) << run.result.output;
  EXPECT_NE(run.result.output.find("\tProcesing bar 2\n"
                                   "\nError: more than 15000 note events; the composition generates too many notes"
                                   " in bar 2\n"),
            std::string::npos)
      << run.result.output;
  EXPECT_EQ(run.result.output.find("GENERATING Midifile"), std::string::npos);
  EXPECT_FALSE(std::ifstream(run.folder.file("outco.rur")).good());
  EXPECT_FALSE(std::ifstream(run.folder.file("outco.mid")).good());

  Composed spanish;
  test::compose_in(spanish, incom, "", "es");
  EXPECT_EQ(spanish.result.status, 1);
  // The terminal shows the console in UTF-8.
  EXPECT_NE(spanish.result.output.find("\nError: m\xC3\xA1s de 15000 eventos de nota; la composici\xC3\xB3n genera "
                                       "demasiadas notas en el comp\xC3\xA1s 2\n"),
            std::string::npos)
      << spanish.result.output;
}

TEST(GenerationLoopTest, FiftyChannelsOnEveryClickOverflowInTheSecondBar) {
  // 9600 events a bar: bar 2 would pass 15000 and is refused, not cut short.
  Rows channels;
  for (int i = 0; i < 50; ++i) channels.push_back(out("1", std::to_string(40 + i), "1", "1"));
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("4", "120", "4", "4"),
                                             test::tgenc({calc("G", "48", "1", "3", "72", "60")}),
                                             test::tsal(channels)}));
  EXPECT_EQ(run.result.status, 1) << run.result.output;
  EXPECT_NE(run.result.output.find("too many notes in bar 2\n"), std::string::npos) << run.result.output;
}

TEST(GenerationLoopTest, VariablesAndRandomNumbersRepeatWithTheSeed) {
  const std::string incom = test::html_document(
      {test::tconf("2", "120", "4", "4", "0", "4321"),
       test::tcal({{"Scale", "li(nrand(2),1)+lv(0,60)+lv(1,64)+lv(2,67)"}, {"Loud", "itp(0,60,100,120,G)"}}),
       test::tgenc({calc("G", "96", "12", "5", "100", "0")}), test::tsal({out("1", "Scale", "Gi", "12", "Loud")})});
  Composed first;
  Composed second;
  test::compose_in(first, incom);
  test::compose_in(second, incom);
  ASSERT_EQ(first.result.status, 0) << first.result.output;
  EXPECT_NE(first.result.output.find("[ Seed: 4321 ]"), std::string::npos);
  EXPECT_EQ(first.listing, second.listing);
  ASSERT_EQ(first.events.size(), 32u);
  for (const Event& e : first.events) {
    EXPECT_TRUE(e[4] == 60 || e[4] == 64 || e[4] == 67) << e[4];
    EXPECT_GE(e[5], 60);
    EXPECT_LE(e[5], 120);
  }
}

}  // namespace
}  // namespace zelvo::composer
