#pragma once

#include <string>

#include <pugixml.hpp>

namespace zelvo::intake {

// Reads a MusicXML score of any form (laid out or not, UTF-8 or UTF-16,
// compressed or not) into `score`. On failure `problem` says what is wrong,
// in English, with the line for malformed XML.
bool load_score(const std::string& path, pugi::xml_document& score, std::string& problem);
// The same from the file's bytes.
bool read_score(std::string text, pugi::xml_document& score, std::string& problem);

}  // namespace zelvo::intake
