#include "harmonizer/xml_errors.h"

#include "harmonizer/harmonizer_messages.h"

namespace zelvo::harmonizer {

void report_xml_result(console::Console& console, XmlResult result, const char* file_name,
                       int32_t measure) {
  switch (result) {
    case XmlResult::kRead:
      return;
    case XmlResult::kNotOpened:
      console::fail_or_stop(console, kErrorOpeningFile, file_name);
    case XmlResult::kTooManyNotes:
      console::fail_or_stop(console, kTooManyNotes, file_name);
    case XmlResult::kPickupMeasure:
      console::fail_or_stop(console, kPickupMeasure, file_name);
    case XmlResult::kNoDivisions:
      console::fail_or_stop(console, kNoDivisions, file_name);
    case XmlResult::kZeroBeatType:
      console::fail_or_stop(console, kZeroBeatType, file_name);
    case XmlResult::kPartsInOtherMeters:
      console::fail_or_stop(console, kPartsInOtherMeters, file_name, measure);
    case XmlResult::kTooManyMeterChanges:
      console::fail_or_stop(console, kTooManyMeterChanges, file_name, engine::kMaxMeterChanges,
                            measure);
    case XmlResult::kMeterOutOfOrder:
      console::fail_or_stop(console, kMeterOutOfOrder, file_name, measure);
    case XmlResult::kUnusualMeter:
      console::fail_or_stop(console, kUnusualMeter, file_name, measure);
  }
}

}  // namespace zelvo::harmonizer
