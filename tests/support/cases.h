#pragma once

// Tables of cases in one text file, read by one test:
//
//   === name
//   call <what the test runs> <arguments>
//   --- <input file name> [crlf] [noeol] [hex]
//   <the file's lines>
//   --- expected
//   <what the run gave, recorded>
//
// A file's bytes are its lines, with CRLF line ends when marked crlf and
// without the last line end when marked noeol; other bytes go as hex.
// ZELVO_UPDATE=1 rewrites every expected block from the run.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace zelvo::test {

struct Case {
  std::string name;
  std::vector<std::string> call;                        // words of the call line
  std::vector<std::pair<std::string, std::string>> files;  // name, bytes
  std::vector<std::string> blocks;                         // header and lines as written
  std::string expected;
};

// A line "@@repeat N TEXT" stands for N copies of TEXT, its "\n" read as
// line ends, so that tables of thousands of notes stay short; a line
// "@@count FIRST LAST TEXT" for one copy for each number from FIRST to LAST,
// every "@@" in TEXT replaced by the number (numbered names, rows); with
// "@@count FIRST LAST by STEP TEXT" the numbers go up by STEP and "@@+K"
// stands for the number plus K (a group of numbered rows in each copy).
inline std::string expand_repeats(const std::string& lines) {
  std::string out;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("@@count ", 0) == 0) {
      std::istringstream words(line.substr(8));
      int first = 0, last = -1, step = 1;
      words >> first >> last;
      words.get();
      std::string text;
      std::getline(words, text);
      if (text.rfind("by ", 0) == 0) {
        std::istringstream by(text.substr(3));
        by >> step;
        by.get();
        std::getline(by, text);
      }
      const std::string unit = expand_repeats("@@repeat 1 " + text);
      for (int n = first; n <= last; n += step) {
        std::string copy = unit;
        for (size_t at = copy.find("@@+"); at != std::string::npos; at = copy.find("@@+", at)) {
          size_t end = at + 3;
          while (end < copy.size() && std::isdigit(static_cast<unsigned char>(copy[end]))) ++end;
          const std::string number = std::to_string(n + std::stoi(copy.substr(at + 3, end - at - 3)));
          copy.replace(at, end - at, number);
          at += number.size();
        }
        out += replace_all(copy, "@@", std::to_string(n));
      }
      continue;
    }
    if (line.rfind("@@repeat ", 0) != 0) {
      out += line + "\n";
      continue;
    }
    const size_t space = line.find(' ', 9);
    std::string unit;
    for (size_t i = space + 1; i < line.size(); ++i) {
      if (line.compare(i, 2, "\\n") == 0) {
        unit += '\n';
        ++i;
      } else {
        unit += line[i];
      }
    }
    if (unit.empty() || unit.back() != '\n') unit += '\n';
    for (int n = std::stoi(line.substr(9, space - 9)); n > 0; --n) out += unit;
  }
  return out;
}

inline std::string decode_block(const std::string& raw, const std::string& flags) {
  const std::string lines = expand_repeats(raw);
  if (flags.find("hex") != std::string::npos) {
    std::string bytes;
    std::istringstream in(lines);
    for (unsigned value = 0; in >> std::hex >> value;) bytes += static_cast<char>(value);
    return bytes;
  }
  std::string bytes;
  for (char c : lines) bytes += c == '\n' && flags.find("crlf") != std::string::npos ? std::string("\r\n") : std::string(1, c);
  if (flags.find("noeol") != std::string::npos && !bytes.empty()) bytes.pop_back();
  if (flags.find("noeol") != std::string::npos && !bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return bytes;
}

// The header flags and the lines of `bytes`, readable where possible.
inline std::string encode_block(const std::string& name, const std::string& bytes) {
  std::string text = bytes;
  std::string flags;
  size_t crlf = 0, lf_count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    ++lf_count;
    if (i > 0 && text[i - 1] == '\r') ++crlf;
  }
  if (crlf > 0 && crlf == lf_count) {
    std::string lf;
    for (size_t i = 0; i < text.size(); ++i) if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
    text = lf;
    flags += " crlf";
  }
  if (!text.empty() && text.back() != '\n') {
    text += '\n';
    flags += " noeol";
  }
  bool plain = text.find('\r') == std::string::npos && text.find('\0') == std::string::npos &&
               text.find("\n--- ") == std::string::npos && text.find("\n=== ") == std::string::npos &&
               text.rfind("--- ", 0) != 0 && text.rfind("=== ", 0) != 0;
  for (char c : text) plain = plain && (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 32);
  if (bytes.empty()) return "--- " + name + "\n";
  if (!plain) {
    std::string hex;
    char cell[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
      std::snprintf(cell, sizeof cell, "%02x", static_cast<unsigned char>(bytes[i]));
      hex += cell;
      hex += (i % 32 == 31 || i + 1 == bytes.size()) ? '\n' : ' ';
    }
    return "--- " + name + " hex\n" + hex;
  }
  return "--- " + name + flags + "\n" + text;
}

inline std::vector<Case> read_cases(const std::string& path) {
  std::vector<Case> cases;
  std::istringstream in(read_file(path));
  std::string line, block, header;
  auto flush = [&] {
    if (header.empty() || cases.empty()) return;
    if (header == "expected") {
      cases.back().expected = block;
    } else {
      cases.back().blocks.push_back("--- " + header + "\n" + block);
      const size_t space = header.find(' ');
      cases.back().files.push_back({header.substr(0, space), decode_block(block, space == std::string::npos ? "" : header.substr(space))});
    }
    header.clear();
    block.clear();
  };
  while (std::getline(in, line)) {
    if (line.rfind("=== ", 0) == 0) {
      flush();
      cases.emplace_back();
      cases.back().name = line.substr(4);
    } else if (line.rfind("--- ", 0) == 0) {
      flush();
      header = line.substr(4);
    } else if (header.empty() && line.rfind("call ", 0) == 0 && !cases.empty()) {
      std::istringstream words(line.substr(5));
      for (std::string word; words >> word;) cases.back().call.push_back(word);
    } else if (!header.empty()) {
      block += line + "\n";
    }
  }
  flush();
  return cases;
}

inline std::string write_case(const Case& c) {
  std::string text = "=== " + c.name + "\ncall";
  for (const std::string& word : c.call) text += " " + word;
  text += "\n";
  if (!c.blocks.empty()) {
    for (const std::string& block : c.blocks) text += block;
  } else {
    for (const auto& [name, bytes] : c.files) text += encode_block(name, bytes);
  }
  return text + "--- expected\n" + c.expected;
}

// Runs every case of the table at `path` through `run` (which writes the
// case's files itself and answers what it gave) and compares, or rewrites
// the table under ZELVO_UPDATE=1.
template <typename Run>
void check_cases(const std::string& path, Run run) {
  std::vector<Case> cases = read_cases(path);
  ASSERT_FALSE(cases.empty()) << path;
  std::string rewritten;
  for (Case& c : cases) {
    const std::string got = run(c);
    if (!updating()) {
      EXPECT_EQ(got, c.expected) << "case " << c.name << " of " << path;
    }
    c.expected = got;
    rewritten += write_case(c);
  }
  if (updating()) write_file(path, rewritten);
}

// Console text one line per "| " line, so a record reads as text.
inline std::string quoted(const std::string& text) {
  if (text.empty()) return "";
  std::string out = "| ";
  for (char c : text) out += c == '\n' ? std::string("\n| ") : std::string(1, c);
  return out + "\n";
}

}  // namespace zelvo::test
