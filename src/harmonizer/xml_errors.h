#pragma once

#include "base/status.h"
#include "harmonizer/musicxml_reader.h"

namespace zelvo::harmonizer {

// Unwinds with the message of a MusicXML reading that failed
// (base::stop_with); returns when the file was read. `measure` names the
// place of a meter that cannot be followed.
void report_xml_result(XmlResult result, const char* file_name, int32_t measure = 0);

}  // namespace zelvo::harmonizer
