// The application's composition opener: a document in the reader's layout
// is read from the file itself, any other laid out in memory, and a missing
// file opens nothing. And the spelling of a cell's text at its edges.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "intake/cell_text.h"
#include "intake/composition_intake.h"
#include "intake/composition_layout.h"
#include "support/files.h"

namespace zelvo::intake {
namespace {

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

TEST(CompositionIntakeTest, OpensTheFileAsItIsOrLaidOut) {
  test::TempFolder folder;
  CompositionIntake intake;
  EXPECT_EQ(intake.open_composition(folder.path(), "incom.htm"), nullptr);
  const std::string layout = "<html>\n<table>\n<tr>\n<td>TCAL</td>\n<td>x</td>\n</tr>\n</table>\n</html>\n";
  const std::string compact = "<table><tr><th>TCAL<th>x</table>";
  // From the folder, then from the same bytes given in memory.
  files::FileMap outputs, inputs;
  const files::MemoryReader memory(outputs, inputs);
  for (const files::WorkReader* reader : {static_cast<const files::WorkReader*>(nullptr),
                                          static_cast<const files::WorkReader*>(&memory)}) {
    intake.set_reader(reader);
    EXPECT_EQ(intake.open_composition(folder.path(), "incom.htm"), nullptr);
    for (const std::string& bytes : {layout, compact}) {
      test::write_file(folder.file("incom.htm"), bytes);
      inputs["incom.htm"] = bytes;
      const std::unique_ptr<std::FILE, Closer> file(intake.open_composition(folder.path(), "incom.htm"));
      ASSERT_NE(file, nullptr);
      EXPECT_EQ(test::read_stream(file.get()), layout);
      std::rewind(file.get());  // the table compiler reads the document twice
      EXPECT_EQ(test::read_stream(file.get()), layout);
    }
    std::remove(folder.file("incom.htm").c_str());
    inputs.clear();
  }
}

TEST(CellTextTest, SpellsWhatTheReaderReads) {
  EXPECT_EQ(spell_cell_text(" \t 1\xC2\xA0\r\n+2  "), "1 +2");
  EXPECT_EQ(spell_cell_text("a&b<c>d"), "a&amp;b&lt;c&gt;d");
  EXPECT_EQ(spell_cell_text("\xE2\x82\xAC\xC3\xBF\xC4\x80\xF0\x9F\x8E\xB5"), "\x80\xFF&#256;&#127925;");
  EXPECT_EQ(spell_cell_text(std::string("a\x01\x7F", 3) + "b"), "ab");
  // Bytes that are not UTF-8 pass as they are.
  EXPECT_EQ(spell_cell_text("\xE9t\xC3"), "\xE9t\xC3");
  EXPECT_EQ(recode_utf8_document("<td>\xC3\xADx\xE2\x86\x92</td>"), "<td>\xEDx&#8594;</td>");
}

}  // namespace
}  // namespace zelvo::intake
