#pragma once

#include <string>

#include <pugixml.hpp>

#include "base/status.h"

namespace zelvo::intake {

// Reads a MusicXML score of any form (laid out or not, UTF-8 or UTF-16,
// compressed or not) into `score`. A failure names the file first, and the
// line of malformed XML.
base::Status load_score(const std::string& path, pugi::xml_document& score);
// The same from the file's bytes; `name` is what a failure calls the score.
base::Status read_score(std::string text, pugi::xml_document& score, const std::string& name);

}  // namespace zelvo::intake
