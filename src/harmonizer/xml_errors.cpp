#include "harmonizer/xml_errors.h"

#include "console/message_id.h"

namespace zelvo::harmonizer {

using enum console::MessageId;

void report_xml_result(XmlResult result, const char* file_name, int32_t measure) {
  switch (result) {
    case XmlResult::kRead:
      return;
    case XmlResult::kNotOpened:
      console::stop_with(console::Message(kErrorOpeningFile, file_name));
    case XmlResult::kTooManyNotes:
      console::stop_with(console::Message(kTooManyNotes, file_name));
    case XmlResult::kPickupMeasure:
      console::stop_with(console::Message(kPickupMeasure, file_name));
    case XmlResult::kNoDivisions:
      console::stop_with(console::Message(kNoDivisions, file_name));
    case XmlResult::kZeroBeatType:
      console::stop_with(console::Message(kZeroBeatType, file_name));
    case XmlResult::kPartsInOtherMeters:
      console::stop_with(console::Message(kPartsInOtherMeters, file_name, measure));
    case XmlResult::kTooManyMeterChanges:
      console::stop_with(console::Message(kTooManyMeterChanges, file_name, engine::kMaxMeterChanges, measure));
    case XmlResult::kMeterOutOfOrder:
      console::stop_with(console::Message(kMeterOutOfOrder, file_name, measure));
    case XmlResult::kUnusualMeter:
      console::stop_with(console::Message(kUnusualMeter, file_name, measure));
  }
}

}  // namespace zelvo::harmonizer
