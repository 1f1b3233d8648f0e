#include "harmonizer/configuration.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using engine::HarmonizerSettings;
using test::WorkFolder;
using test::write_file;

class ConfigurationTest : public ::testing::Test {
 protected:
  // Reads `text` as conar.txt; true when the file was read to its end.
  bool read(const std::string& text) {
    write_file("conar.txt", text);
    try {
      return read_configuration(settings, console) == 1;
    } catch (const console::JobEnded& ended) {
      EXPECT_EQ(ended.outcome, console::JobOutcome::kAborted);
      return false;
    }
  }
  std::string bad_line(const std::string& line) {
    return "\nError in Harmony Configuration file, in line:\n\n\t\t" + line + "\n";
  }
  bool printed_bad_line(const std::string& line) {
    return console.contents().rfind(bad_line(line), 0) == 0;
  }

  WorkFolder folder;
  console::Console console;
  HarmonizerSettings settings;
};

TEST_F(ConfigurationTest, ProgramStartValues) {
  const HarmonizerSettings s;
  EXPECT_EQ(s.FirstHarmIns, -1);
  EXPECT_EQ(s.HarmInsNum, 99);
  EXPECT_EQ(s.FirstMusicIns, 1);
  EXPECT_EQ(s.LastMusicIns, 2);
  EXPECT_EQ(s.DivideNotes, 1);
  EXPECT_EQ(s.HoleForLine, 4);
  EXPECT_EQ(s.MinNotesInLine, 2);
  EXPECT_EQ(s.HarmUnitNoteLimit, 100);
  EXPECT_EQ(s.MelIns, -2);
  EXPECT_EQ(s.BassIns, -1);
  EXPECT_EQ(s.OpeningInt, 4);
  EXPECT_EQ(s.NonHarmToneDur, 4);
  EXPECT_EQ(s.Debug, 0);
  EXPECT_EQ(s.ShowLineInfo, 0);
  EXPECT_EQ(s.MusicSource, 0);
  EXPECT_EQ(s.ClicksQuarter, 1024);
  EXPECT_EQ(s.LinkLimit, 99);
  EXPECT_EQ(s.LimitNotesThirdIn, 3);
  EXPECT_EQ(s.LimitNotesThirdBM, 1);
  EXPECT_EQ(s.NoLinkAct, 1);
  EXPECT_EQ(s.LimitOneLink, 1);
  EXPECT_EQ(s.time.tempo, 120);
  EXPECT_EQ(s.time.compas_num, 4);
  EXPECT_EQ(s.time.compas_den, 4);
  EXPECT_EQ(s.time.den_exponent, 2);
  EXPECT_EQ(s.time.clicks_parte, 1024);
  EXPECT_EQ(s.time.clicks_semic, 256);
  for (int32_t row = 0; row < engine::kProfileRows; ++row) {
    for (int32_t k = 0; k < engine::kToneTypeSwitches; ++k) {
      EXPECT_EQ(s.NonHarmTonesSort[row][k], row == 0 && k == 0 ? 1 : 0) << row << " " << k;
    }
    for (int32_t k = 0; k < engine::kCostWeights; ++k) {
      EXPECT_EQ(s.NonHarmTonesCoef[row][k], row == 0 && k == 1 ? 100.0f : 0.0f) << row << " " << k;
    }
  }
}

TEST_F(ConfigurationTest, NoFileGivesZeroAndChangesNothing) {
  EXPECT_EQ(read_configuration(settings, console), 0);
  EXPECT_EQ(console.contents(), "");
}

TEST_F(ConfigurationTest, RurIsPreferredOverTxt) {
  write_file("conar.rur", "Debug=7\n");
  write_file("conar.txt", "Debug=3\n");
  EXPECT_EQ(read_configuration(settings, console), 1);
  EXPECT_EQ(settings.Debug, 7);
}

TEST_F(ConfigurationTest, BlanksAndCommaSeparator) {
  EXPECT_TRUE(read("Debug = 1\n"));
  EXPECT_EQ(settings.Debug, 1);
  settings.Debug = 0;
  EXPECT_TRUE(read("Debug,1\n"));
  EXPECT_EQ(settings.Debug, 1);
  EXPECT_TRUE(read("First Harm\tIns = 5\r\nMel Ins=-1\r\n"));
  EXPECT_EQ(settings.FirstHarmIns, 5);
  EXPECT_EQ(settings.MelIns, -1);
}

TEST_F(ConfigurationTest, CommentsAreIgnored) {
  EXPECT_TRUE(read("//Debug=1\n1Debug=1\n\n   \n# x\n-Debug=4\n"));
  EXPECT_EQ(settings.Debug, 0);
  EXPECT_EQ(console.contents(), "");
}

TEST_F(ConfigurationTest, KeyMatchIsCaseSensitive) {
  EXPECT_FALSE(read("debug=1\n"));
  EXPECT_TRUE(printed_bad_line("debug=1\n"));
  EXPECT_EQ(settings.Debug, 0);
}

TEST_F(ConfigurationTest, MissingOrNonNumericValuesAreBadLines) {
  for (const std::string line : {"Debug\n", "Debug=\n", "Debug=x\n", "Debug=+1\n"}) {
    console.clear_console();
    const std::string before = console.contents();
    EXPECT_FALSE(read(line)) << line;
    EXPECT_EQ(console.contents().substr(before.size(), bad_line(line).size()), bad_line(line));
  }
}

TEST_F(ConfigurationTest, BadLineIsQuotedAsRead) {
  EXPECT_FALSE(read("Debug=1\n  Hole For\tLine = x  \r\nDebug=5\n"));
  EXPECT_TRUE(printed_bad_line("  Hole For\tLine = x  \n"));
  // Lines before the bad one keep their values; lines after it are not read.
  EXPECT_EQ(settings.Debug, 1);
}

TEST_F(ConfigurationTest, BadLineWithoutLineEnd) {
  EXPECT_FALSE(read("Unknown=1"));
  EXPECT_EQ(console.contents().substr(0, bad_line("Unknown=1").size()), bad_line("Unknown=1"));
}

TEST_F(ConfigurationTest, IntegerConversion) {
  EXPECT_TRUE(read("Debug=1x\nHoleForLine=-3\nOpeningInt=-\nLinkLimit=99999999999\n"));
  EXPECT_EQ(settings.Debug, 1);
  EXPECT_EQ(settings.HoleForLine, -3);
  EXPECT_EQ(settings.OpeningInt, 0);
  EXPECT_EQ(settings.LinkLimit, 2147483647);
}

TEST_F(ConfigurationTest, KeyIsAPrefixMatch) {
  EXPECT_TRUE(read("DebugOutput=1\nMusicSourceFile=3\n"));
  EXPECT_EQ(settings.Debug, 1);
  EXPECT_EQ(settings.MusicSource, 3);
}

TEST_F(ConfigurationTest, MaxNotesInLineAndHarmUnitNoteLimitAreOneSetting) {
  EXPECT_TRUE(read("MaxNotesInLine=50\nHarmUnitNoteLimit=80\n"));
  EXPECT_EQ(settings.HarmUnitNoteLimit, 80);
  EXPECT_TRUE(read("HarmUnitNoteLimit=80\nMaxNotesInLine=50\n"));
  EXPECT_EQ(settings.HarmUnitNoteLimit, 50);
}

TEST_F(ConfigurationTest, ClicksQuarterSetsBothClickValues) {
  EXPECT_TRUE(read("ClicksQuarter=480\n"));
  EXPECT_EQ(settings.time.clicks_parte, 480);
  EXPECT_EQ(settings.time.clicks_semic, 120);
  EXPECT_TRUE(read("ClicksQuarter=6\n"));
  EXPECT_EQ(settings.time.clicks_parte, 6);
  EXPECT_EQ(settings.time.clicks_semic, 1);
}

TEST_F(ConfigurationTest, DefaultRowIsCopiedThenOverridden) {
  EXPECT_TRUE(read("NonHarmTonesSortDF=1,1,1,1,1,1,1,1\nNonHarmTonesSort3=0,0,0,0,0,0,0,0\n"));
  for (int32_t row = 0; row < engine::kProfileRows; ++row) {
    for (int32_t k = 0; k < engine::kToneTypeSwitches; ++k) {
      EXPECT_EQ(settings.NonHarmTonesSort[row][k], row == 3 ? 0 : 1) << row << " " << k;
    }
  }
}

TEST_F(ConfigurationTest, NumberedRowEighteenIsTheDefaultRow) {
  EXPECT_TRUE(read("NonHarmTonesCoef 18 = 1, 2, 3, 4, 5, 6, 7\n"));
  for (int32_t row = 0; row < engine::kProfileRows; ++row) {
    EXPECT_EQ(settings.NonHarmTonesCoef[row][0], 1.0f);
    EXPECT_EQ(settings.NonHarmTonesCoef[row][6], 7.0f);
  }
  EXPECT_EQ(settings.NonHarmTonesSort[0][0], 1);  // the other table is untouched
}

TEST_F(ConfigurationTest, RowSelectorsAndDecimals) {
  EXPECT_TRUE(read("NonHarmTonesSortBA=1,0,1,0,1,0,1,0,9,9\n"
                   "NonHarmTonesCoefME=0.5,-1.25,2e1,1.,7,8,9\n"
                   "NonHarmTonesCoef5=1,1,1,1,1,1,1\n"
                   "ThemtContourCoef5=2,2,2,2,2,2,2\n"));
  EXPECT_EQ(settings.NonHarmTonesSort[16][0], 1);
  EXPECT_EQ(settings.NonHarmTonesSort[16][1], 0);
  EXPECT_EQ(settings.NonHarmTonesSort[16][7], 0);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][0], 0.5f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][1], -1.25f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][2], 20.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][3], 1.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][6], 9.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[5][0], 2.0f);  // two names, one row: the later wins
  EXPECT_EQ(settings.NonHarmTonesCoef[0][1], 100.0f);
}

TEST_F(ConfigurationTest, DecimalsBeyondTheRange) {
  EXPECT_TRUE(read("NonHarmTonesCoef4=1e400,-1e400,1e-400,-1e-400,0.000e999,1e39,1.5x\n"));
  EXPECT_EQ(settings.NonHarmTonesCoef[4][0], HUGE_VALF);
  EXPECT_EQ(settings.NonHarmTonesCoef[4][1], -HUGE_VALF);
  EXPECT_EQ(settings.NonHarmTonesCoef[4][2], 0.0f);
  EXPECT_TRUE(std::signbit(settings.NonHarmTonesCoef[4][3]));
  EXPECT_EQ(settings.NonHarmTonesCoef[4][4], 0.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[4][5], HUGE_VALF);  // a double, but no float
  EXPECT_EQ(settings.NonHarmTonesCoef[4][6], 1.5f);
  // Beyond the range without an exponent: 1e-331 and -1e320.
  EXPECT_TRUE(read("NonHarmTonesCoef4=0." + std::string(330, '0') + "1,1,1,1,1,1,1\n" +
                   "NonHarmTonesCoef5=-1" + std::string(320, '0') + ",1,1,1,1,1,1\n"));
  EXPECT_EQ(settings.NonHarmTonesCoef[4][0], 0.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[5][0], -HUGE_VALF);
}

// A window toolkit switches the C library to the user's locale, where the
// decimal point may be a comma; the file's decimals keep their point.
TEST_F(ConfigurationTest, DecimalPointWhateverTheLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  bool switched = false;
  for (const char* name : {"es_ES.UTF-8", "es_ES.utf8", "de_DE.UTF-8", "de_DE.utf8", "es_ES"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      switched = true;
      break;
    }
  }
  if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
  const bool read_all = read("NonHarmTonesCoef2=0.5,2.25,1,1,1,1,1\n");
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_TRUE(read_all);
  EXPECT_EQ(settings.NonHarmTonesCoef[2][0], 0.5f);
  EXPECT_EQ(settings.NonHarmTonesCoef[2][1], 2.25f);
}

TEST_F(ConfigurationTest, CoefficientRowWithSixValuesIsBad) {
  EXPECT_FALSE(read("NonHarmTonesCoefME=1,2,3,4,5,6\n"));
  EXPECT_TRUE(printed_bad_line("NonHarmTonesCoefME=1,2,3,4,5,6\n"));
  // The values before the missing one were stored as they were read.
  EXPECT_EQ(settings.NonHarmTonesCoef[17][0], 1.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][5], 6.0f);
  EXPECT_EQ(settings.NonHarmTonesCoef[17][6], 0.0f);
}

TEST_F(ConfigurationTest, ShortDefaultRowIsNotCopied) {
  EXPECT_FALSE(read("NonHarmTonesSortDF=1,1,1\n"));
  EXPECT_EQ(settings.NonHarmTonesSort[18][2], 1);
  EXPECT_EQ(settings.NonHarmTonesSort[18][3], 0);
  EXPECT_EQ(settings.NonHarmTonesSort[3][0], 0);
}

TEST_F(ConfigurationTest, DecimalMustStartWithDigitOrMinus) {
  EXPECT_FALSE(read("NonHarmTonesCoef2=.5,1,1,1,1,1,1\n"));
}

TEST_F(ConfigurationTest, UnknownRowSelectorsAreBadLines) {
  for (const std::string line :
       {"NonHarmTonesSortXY=1,1,1,1,1,1,1,1\n", "NonHarmTonesSort19=1,1,1,1,1,1,1,1\n",
        "NonHarmTonesSort=1,1,1,1,1,1,1,1\n", "NonHarmTonesCoef99999999999=1,1,1,1,1,1,1\n"}) {
    console.clear_console();
    const std::string before = console.contents();
    EXPECT_FALSE(read(line)) << line;
    EXPECT_EQ(console.contents().substr(before.size(), bad_line(line).size()), bad_line(line));
  }
}

TEST_F(ConfigurationTest, OnlyCommentsChangeNothing) {
  const HarmonizerSettings before;
  EXPECT_TRUE(read("// nothing\n\n12 = 4\n"));
  EXPECT_EQ(settings.Debug, before.Debug);
  EXPECT_EQ(settings.HarmInsNum, before.HarmInsNum);
}

TEST_F(ConfigurationTest, LongLineIsReadInPiecesOf399) {
  // The piece after the first 399 characters is a line of its own.
  const std::string line = "// " + std::string(396, 'x') + "Debug=6\n";
  EXPECT_TRUE(read(line));
  EXPECT_EQ(settings.Debug, 6);
}

TEST_F(ConfigurationTest, SettingsSurviveARunThatLeavesThemOut) {
  EXPECT_TRUE(read("LinkLimit=7\nDebug=1\n"));
  EXPECT_TRUE(read("Debug=0\n"));
  EXPECT_EQ(settings.LinkLimit, 7);
  EXPECT_EQ(settings.Debug, 0);
}

}  // namespace
}  // namespace zelvo::harmonizer
