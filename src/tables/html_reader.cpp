#include "tables/html_reader.h"

#include <cstring>
#include <string>

#include "base/work_files.h"
#include "files/first_present.h"
#include "files/work_reader.h"
#include "base/message_id.h"

namespace zelvo::tables {

using enum base::MessageId;

// The place a message names for a cell outside every table.
constexpr const char* kOutsideTable = "fuera de tabla";

namespace {

bool is_letter_or_digit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// What may follow a `<` that opens a tag, an end tag, a comment or a
// declaration; after anything else a browser shows the `<` as it is.
bool can_start_tag(char next) {
  return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' || next == '!' ||
         next == '?';
}

}  // namespace

// A CR LF pair counts as one newline character before the 799-character
// limit applies, so a document saved with CR LF ends reads exactly like the
// same document with LF ends (a line of 798 characters stays one line).
bool read_text_line(FILE* file, char* line) {
  int32_t length = 0;
  while (length < kLineBufferSize - 1) {
    int c = std::getc(file);
    if (c == EOF) break;
    if (c == '\r') {
      const int next = std::getc(file);
      if (next == '\n') {
        c = '\n';
      } else if (next == EOF) {
        break;
      } else {
        std::ungetc(next, file);
      }
    }
    line[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line[length] = '\0';
  return length > 0;
}

namespace {

[[noreturn]] void fail_read(TableReader& reader) {
  const std::string name = reader.position.kind < 0 ? std::string(kOutsideTable) : table_name(reader.position);
  base::stop_with(base::Message(kReadError, name));
}

void erase(char* text, size_t from, size_t count) {
  std::memmove(text + from, text + from + count, std::strlen(text + from + count) + 1);
}

// The first cell of a new table names its kind: the first name of the list
// the text begins with, or the empty name that ends the list.
void identify_table(TableReader& reader) {
  char* text = take_cell(reader);
  int32_t kind = 0;
  while (kTableNames[kind][0] != '\0' && !starts_with_nocase(kTableNames[kind], text)) ++kind;
  reader.position.kind = kind;
  reader.position.count = ++reader.tables_identified[kind];
  const char first = kTableNames[kind][0];
  if (first >= 'A' && first <= 'Z') {
    reader.progress.show(base::Message(kProcessingTable, kTableNames[kind]));
    reader.progress.check_stop();
  }
}

}  // namespace

std::string table_name(const ReaderPosition& position) {
  if (position.kind < 0 || position.kind >= kTableKinds) return "";
  if (position.kind == kTableKinds - 1) return "#" + std::to_string(position.table);
  std::string name = kTableNames[position.kind];
  if (position.count > 1) name += "#" + std::to_string(position.count);
  return name;
}

std::string_view from_first_tag(std::string_view line) {
  const size_t open = line.find('<');
  return open == std::string_view::npos ? std::string_view() : line.substr(open);
}

bool closes_cell(std::string_view text) {
  return text.find("</td>") != std::string_view::npos || text.find("</TD>") != std::string_view::npos;
}

bool starts_with_nocase(const char* prefix, const char* text) {
  for (; *prefix != '\0'; ++prefix, ++text) {
    if (*text == '\0' || fold(*prefix) != fold(*text)) return false;
  }
  return true;
}

LineTag tag_at_start(std::string_view text) {
  struct Named {
    const char* prefix;
    LineTag tag;
  };
  static constexpr Named kTags[] = {{"<table", LineTag::kTable}, {"</table", LineTag::kTableEnd},
                                    {"<tr>", LineTag::kRow},     {"</tr>", LineTag::kRowEnd},
                                    {"<td", LineTag::kCell},     {"</html>", LineTag::kHtmlEnd}};
  for (const Named& named : kTags) {
    size_t i = 0;
    while (named.prefix[i] != '\0' && i < text.size() && fold(named.prefix[i]) == fold(text[i])) ++i;
    if (named.prefix[i] == '\0') return named.tag;
  }
  return LineTag::kOther;
}

base::Status open_table_input(TableReader& reader, const char* folder, console::CompositionOpener* opener) {
  const std::string given = folder != nullptr ? folder : "";
  reader.file.reset(files::open_first(base::kCompositionFiles, [&](const char* name) {
    return opener != nullptr ? opener->open_composition(given, name) : files::FolderReader(given).open(name);
  }));
  if (!reader.file) return base::Message(kOpenError);
  return base::Status();
}

void reset_position(TableReader& reader) {
  reader.position.kind = -1;
  reader.position.row = -1;
  reader.position.column = -1;
  reader.position.table = 0;
  for (int32_t& count : reader.tables_identified) count = 0;
}

void read_table_line(TableReader& reader) {
  char* line = reader.buffer;
  if (!read_text_line(reader.file.get(), line)) fail_read(reader);
  if (char* open = std::strchr(line, '<'); open != nullptr && open != line) erase(line, 0, open - line);

  ReaderPosition& at = reader.position;
  switch (tag_at_start(line)) {
    case LineTag::kTable:
      at.kind = 0;
      at.count = 0;
      ++at.table;
      at.column_count = 1;
      break;
    case LineTag::kTableEnd:
      at.kind = -1;
      at.row = -1;
      at.column = -1;
      break;
    case LineTag::kRow:
      if (at.kind < 0) break;
      ++at.row;
      at.column = 0;
      break;
    case LineTag::kRowEnd: at.column = -1; break;
    case LineTag::kOther:
    case LineTag::kCell:
    case LineTag::kHtmlEnd: break;
  }
  if (at.row == 0 && at.column == 0 && at.kind == 0) identify_table(reader);
}

char* take_cell(TableReader& reader) {
  const ReaderPosition& at = reader.position;
  char* text = reader.buffer;
  size_t length = std::strlen(text);
  bool closed = false;
  for (int32_t attempt = 0; attempt < kCellLines; ++attempt) {
    if (length > 0 && text[length - 1] == '\n') text[--length] = '\0';
    if (closes_cell(text)) {
      closed = true;
      break;
    }
    if (attempt == kCellLines - 1) break;
    char line[kLineBufferSize];
    if (!read_text_line(reader.file.get(), line)) fail_read(reader);
    const size_t added = std::strlen(line);
    // The gathered lines share the line buffer; a cell that does not fit is
    // refused rather than cut.
    if (length + added >= static_cast<size_t>(kLineBufferSize)) {
      base::stop_with(base::Message(kCellTooLong, table_name(at), at.row, at.column));
    }
    std::memcpy(text + length, line, added + 1);
    length += added;
  }
  if (!closed) base::stop_with(base::Message(kCellNotClosed, table_name(at), at.row, at.column));
  std::memcpy(reader.raw_cell, text, length + 1);
  strip_markup(text);
  normalise_spaces(text);
  if (char* comment = std::strstr(text, "//"); comment != nullptr) *comment = '\0';
  return text;
}

// One scan with a mark at the last `<` or `&`: a `>` or `;` deletes back to
// the mark. A `>` or `;` before any mark has nothing to close and stays, and
// so does a `>` with no `<` since the last `>` deleted (`Deg>2`, `1>0`): it
// closes no tag. (A `;` deletes inside a tag too, as in a style attribute,
// and leaves the tag open.) A `<` that cannot start a tag (`1<2`, `x< 3`)
// marks nothing and stays, as browsers show it.
void strip_markup(char* text) {
  size_t i = 0;
  size_t mark = 0;
  bool marked = false;
  bool tag_open = false;  // a `<` since the last `>` deleted
  while (text[i] != '\0') {
    if (starts_with_nocase("&amp;", text + i)) {
      text[i] = '&';
      erase(text, i + 1, 4);
      ++i;
      continue;
    }
    if (starts_with_nocase("&gt;", text + i)) {
      text[i] = '>';
      erase(text, i + 1, 3);
      ++i;
      continue;
    }
    if (starts_with_nocase("&lt;", text + i)) {
      text[i] = '<';
      erase(text, i + 1, 3);
      ++i;
      continue;
    }
    const bool opens_tag = text[i] == '<' && can_start_tag(text[i + 1]);
    if (text[i] == '&' || opens_tag) {
      mark = i;
      marked = true;
      tag_open = tag_open || opens_tag;
    }
    if (marked && (text[i] == ';' || (text[i] == '>' && tag_open))) {
      tag_open = tag_open && text[i] == ';';
      erase(text, mark, i - mark + 1);
      i = mark;
      continue;
    }
    ++i;
  }
}

void normalise_spaces(char* text) {
  for (char* c = text; *c != '\0'; ++c) {
    if (*c == '\t') *c = ' ';
    if (*c == '\n') {
      *c = '\0';
      break;
    }
  }
  size_t read = 0;
  while (text[read] == ' ') ++read;
  size_t write = 0;
  while (text[read] != '\0') {
    if (text[read] != ' ') {
      text[write++] = text[read++];
      continue;
    }
    size_t end = read;
    while (text[end] == ' ') ++end;
    const bool before = write > 0 && is_letter_or_digit(text[write - 1]);
    const bool after = is_letter_or_digit(text[end]);
    if (before && after) text[write++] = ' ';
    read = end;
  }
  text[write] = '\0';
}

}  // namespace zelvo::tables
