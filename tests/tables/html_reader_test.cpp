#include "tables/html_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tables/table_messages.h"

namespace zelvo::tables {
namespace {

std::string cleaned(const char* text) {
  char buffer[kLineBufferSize];
  std::strcpy(buffer, text);
  strip_markup(buffer);
  normalise_spaces(buffer);
  return buffer;
}

// A reader over in-memory text.
class ReaderHarness {
 public:
  explicit ReaderHarness(const std::string& text) : console_(std::make_unique<console::Console>()) {
    reader_ = std::make_unique<TableReader>(*console_);
    FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    reader_->file.reset(file);
    reset_position(*reader_);
  }

  TableReader& reader() { return *reader_; }
  std::string output() const { return console_->contents(); }

  // Loads the next line as read_line would and extracts the cell from it.
  CellResult cell_from_next_line(std::string* text) {
    char* buffer = reader_->buffer;
    if (!read_text_line(reader_->file.get(), buffer)) return CellResult::kEndOfFile;
    const CellResult result = extract_cell(*reader_);
    *text = buffer;
    return result;
  }

  // Every cell a compile pass would take: "kind/row/column:text".
  std::vector<std::string> cells() {
    std::vector<std::string> found;
    ReaderPosition& at = reader_->position;
    for (;;) {
      read_table_line(*reader_);
      if (starts_with_nocase("</html>", reader_->buffer)) break;
      if (at.row >= 1 && at.kind >= 1 && at.column >= 0) {
        const char* text = take_cell(*reader_);
        found.push_back(std::to_string(at.kind) + "/" + std::to_string(at.row) + "/" +
                        std::to_string(at.column) + ":" + text);
        ++at.column;
      }
    }
    return found;
  }

 private:
  std::unique_ptr<console::Console> console_;
  std::unique_ptr<TableReader> reader_;
};

TEST(StripMarkupTest, EntitiesAndTags) {
  EXPECT_EQ(cleaned("<td>&lt;a&gt;</td>"), "<a>");
  EXPECT_EQ(cleaned("<td>a&amp;&amp;b</td>"), "a&&b");
  EXPECT_EQ(cleaned("<td>A&AMP;&Amp;B</td>"), "A&&B");
  EXPECT_EQ(cleaned("<td>&nbsp;5&nbsp;</td>"), "5");
  EXPECT_EQ(cleaned("<td align=right><p class=\"x\">x&gt;=3</p></td>"), "x>=3");
  // A raw `;` right after the opening tag deletes back to the tag's mark.
  EXPECT_EQ(cleaned("<td>x;y</td>"), "y");
  // Without any mark before it a `>` or `;` stays.
  EXPECT_EQ(cleaned("x>3;"), "x>3;");
}

TEST(NormaliseSpacesTest, OnlySingleSpacesBetweenLettersOrDigitsSurvive) {
  EXPECT_EQ(cleaned("a  +  b"), "a+b");
  EXPECT_EQ(cleaned("note   C"), "note C");
  EXPECT_EQ(cleaned("\t  lead\tand trail  "), "lead and trail");
  EXPECT_EQ(cleaned("( a )"), "(a)");
  EXPECT_EQ(cleaned("first\nsecond"), "first");
  EXPECT_EQ(cleaned(""), "");
}

TEST(StartsWithNocaseTest, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(starts_with_nocase("<table", "<TABLE border=1>"));
  EXPECT_TRUE(starts_with_nocase("", "anything"));
  EXPECT_TRUE(starts_with_nocase("tgens", "TGENS: melodies"));
  EXPECT_FALSE(starts_with_nocase("<tr>", "<tr valign=top>"));
  EXPECT_FALSE(starts_with_nocase("abc", "ab"));
}

TEST(ExtractCellTest, CellOverFourLinesJoinsWithoutSpaces) {
  ReaderHarness harness("<td>\n<p>a+\nb</p>\n</td>\n");
  std::string text;
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "a+b");
}

TEST(ExtractCellTest, MixedCaseClosingTagDoesNotEndTheCell) {
  ReaderHarness harness("<td>5</Td>\n6</TD>\n<td>7</td>\n");
  std::string text;
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "56");
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "7");
}

TEST(ExtractCellTest, CommentsEmptyCellsAndCrlf) {
  ReaderHarness harness("<td>5 // five</td>\n<td></td>\r\n<td>a\r\n+b</td>\r\n");
  std::string text;
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "5");
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "");
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "a+b");
}

TEST(ExtractCellTest, ClosesWithinTenLinesOnly) {
  std::string nine = "<td>1\n";
  for (int i = 0; i < 8; ++i) nine += "2\n";
  ReaderHarness closes(nine + "3</td>\n");
  std::string text;
  EXPECT_EQ(closes.cell_from_next_line(&text), CellResult::kOk);
  EXPECT_EQ(text, "1222222223");
  ReaderHarness late(nine + "3\n</td>\n");
  EXPECT_EQ(late.cell_from_next_line(&text), CellResult::kNotClosed);
  ReaderHarness ends("<td>1\n2\n");
  EXPECT_EQ(ends.cell_from_next_line(&text), CellResult::kEndOfFile);
}

TEST(ExtractCellTest, ACellLongerThanTheBufferIsRefused) {
  const std::string long_line(500, 'a');
  ReaderHarness harness("<td>" + long_line + "\n" + long_line + "</td>\n");
  std::string text;
  EXPECT_EQ(harness.cell_from_next_line(&text), CellResult::kTooLong);
}

TEST(TableReaderTest, IdentifiesTablesByPrefixAndAnnouncesNamedOnes) {
  ReaderHarness harness(
      "<html>\n<TABLE border=1>\n<TR>\n<td>tgens: melodies</td>\n<td>x</td>\n</tr>\n</table>\n"
      "<table>\n<tr>\n<td>libre</td>\n</tr>\n</table>\n"
      "<table>\n<tr>\n<td>Notes</td>\n</tr>\n</table>\n"
      "<table>\n<tr>\n<td>TGENC</td>\n</tr>\n<tr>\n<td>1</td>\n</tr>\n</table>\n</html>\n");
  const std::vector<std::string> cells = harness.cells();
  EXPECT_EQ(cells, std::vector<std::string>{"6/1/0:1"});
  EXPECT_EQ(harness.output(), "\tProcessing table TGENS\n\tProcessing table TGENC\n");
  EXPECT_EQ(harness.reader().tables_identified[8], 1);
  EXPECT_EQ(harness.reader().tables_identified[4], 1);
}

TEST(TableReaderTest, RowWithAttributesStartsNoRow) {
  ReaderHarness harness(
      "<html>\n<table>\n<tr valign=top>\n<td>TCAL</td>\n<td>skipped</td>\n</tr>\n"
      "<tr>\n<td>TSAL</td>\n</tr>\n<tr valign=top>\n<td>9</td>\n</tr>\n<tr>\n<td>a</td>\n<td>b</td>\n</tr>\n"
      "</table>\n</html>\n");
  EXPECT_EQ(harness.cells(), (std::vector<std::string>{"3/1/0:a", "3/1/1:b"}));
  EXPECT_EQ(harness.output(), "\tProcessing table TSAL\n");
}

TEST(TableReaderTest, CrlfLineEnds) {
  ReaderHarness harness(
      "<html>\r\n<table>\r\n<tr>\r\n<td>TCAL</td>\r\n</tr>\r\n<tr>\r\n<td>a\r\n</td>\r\n<td>b</td>\r\n"
      "</tr>\r\n</table>\r\n</html>\r\n");
  EXPECT_EQ(harness.cells(), (std::vector<std::string>{"2/1/0:a", "2/1/1:b"}));
}

// A CR LF end is one newline before the 799-character limit: a line of 798
// characters is one line either way, and never leaves a stray empty line
// behind that would join the next row's cells into this row.
TEST(TableReaderTest, CrlfDocumentReadsLikeTheLfOne) {
  std::string expression = "1";
  while (expression.size() < 798 - std::strlen("<td></td>")) expression += "+1";
  const std::string long_cell = "<td>" + expression + "</td>";
  ASSERT_EQ(long_cell.size(), 798u);
  const std::string lf =
      "<html>\n<table>\n<tr>\n<td>TCAL</td>\n</tr>\n<tr>\n<td>x</td>\n" + long_cell +
      "\n</tr>\n<tr>\n<td>y</td>\n<td>2</td>\n</tr>\n</table>\n</html>\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ReaderHarness lf_harness(lf);
  ReaderHarness crlf_harness(crlf);
  const std::vector<std::string> cells = lf_harness.cells();
  EXPECT_EQ(cells, (std::vector<std::string>{"2/1/0:x", "2/1/1:" + expression, "2/2/0:y", "2/2/1:2"}));
  EXPECT_EQ(crlf_harness.cells(), cells);
}

TEST(TableReaderTest, LinesLongerThanTheBufferComeInPieces) {
  const std::string text = std::string(799, 'a') + "\r\n" + std::string(10, 'b') + "\r\nc\rd\r";
  FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  char line[kLineBufferSize];
  ASSERT_TRUE(read_text_line(file, line));
  EXPECT_EQ(std::string(line), std::string(799, 'a'));
  ASSERT_TRUE(read_text_line(file, line));
  EXPECT_EQ(std::string(line), "\n");
  ASSERT_TRUE(read_text_line(file, line));
  EXPECT_EQ(std::string(line), std::string(10, 'b') + "\n");
  // A CR alone is no line end; one right before the end of the file goes.
  ASSERT_TRUE(read_text_line(file, line));
  EXPECT_EQ(std::string(line), "c\rd");
  EXPECT_FALSE(read_text_line(file, line));
  std::fclose(file);
}

TEST(TableReaderTest, StrayLineInARowJoinsTheNextCell) {
  ReaderHarness harness(
      "<html>\n<table>\n<tr>\n<td>TCAL</td>\n</tr>\n<tr>\n<td>a</td>\n\n</tr>\n<tr>\n<td>b</td>\n</tr>\n"
      "</table>\n</html>\n");
  // The empty line swallows </tr> and <tr>: b lands in row 1.
  EXPECT_EQ(harness.cells(), (std::vector<std::string>{"2/1/0:a", "2/1/1:b"}));
}

TEST(TableReaderTest, MissingHtmlEndIsAReadErrorNamingTheTable) {
  ReaderHarness inside("<html>\n<table>\n<tr>\n<td>TSAL</td>\n</tr>\n");
  EXPECT_THROW(inside.cells(), console::JobEnded);
  EXPECT_EQ(inside.output(),
            "\tProcessing table TSAL\n\nError reading HTML entry file, in table TSAL"
            "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n");
  ReaderHarness outside("<html>\n<table>\n</table>\n");
  EXPECT_THROW(outside.cells(), console::JobEnded);
  EXPECT_EQ(outside.output(),
            "\nError reading HTML entry file, in table fuera de tabla\n\nERROR: ABORTING COMPILATION\n\n\n\n\n");
}

TEST(TableReaderTest, UnclosedAndOverlongCellsAbortWithTheirPlace) {
  std::string document = "<html>\n<table>\n<tr>\n<td>TCAL</td>\n</tr>\n<tr>\n<td>x\n";
  for (int i = 0; i < 12; ++i) document += "y\n";
  ReaderHarness unclosed(document + "</td>\n</tr>\n</table>\n</html>\n");
  EXPECT_THROW(unclosed.cells(), console::JobEnded);
  EXPECT_EQ(unclosed.output(),
            "\tProcessing table TCAL\n\nError: cell without closing tag </td> in table TCAL, row 1, column 0"
            "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n");
  const std::string long_text(700, 'z');
  ReaderHarness overlong("<html>\n<table>\n<tr>\n<td>TCAL</td>\n</tr>\n<tr>\n<td>" + long_text + "\n" +
                         long_text + "</td>\n</tr>\n</table>\n</html>\n");
  EXPECT_THROW(overlong.cells(), console::JobEnded);
  EXPECT_EQ(overlong.output(),
            "\tProcessing table TCAL\n\nError: cell too long in table TCAL, row 1, column 0"
            "\n\nERROR: ABORTING COMPILATION\n\n\n\n\n");
}

}  // namespace
}  // namespace zelvo::tables
