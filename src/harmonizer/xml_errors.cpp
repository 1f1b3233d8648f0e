#include "harmonizer/xml_errors.h"

#include "harmonizer/harmonizer_messages.h"
#include "harmonizer/stage_error.h"

namespace zelvo::harmonizer {

void report_xml_result(console::Console& console, XmlResult result, const char* file_name) {
  switch (result) {
    case XmlResult::kRead:
      return;
    case XmlResult::kNotOpened:
      stage_error(console, kErrorOpeningFile, file_name);
    case XmlResult::kTooManyNotes:
      stage_error(console, kTooManyNotes, file_name);
    case XmlResult::kPickupMeasure:
      stage_error(console, kPickupMeasure, file_name);
    case XmlResult::kNoDivisions:
      stage_error(console, kNoDivisions, file_name);
    case XmlResult::kZeroBeatType:
      stage_error(console, kZeroBeatType, file_name);
  }
}

}  // namespace zelvo::harmonizer
