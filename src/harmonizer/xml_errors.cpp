#include "harmonizer/xml_errors.h"

#include "base/message_id.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

void report_xml_result(XmlResult result, const char* file_name, int32_t measure) {
  switch (result) {
    case XmlResult::kRead:
      return;
    case XmlResult::kNotOpened:
      base::stop_with(base::Message(kErrorOpeningFile, file_name));
    case XmlResult::kTooManyNotes:
      base::stop_with(base::Message(kTooManyNotes, file_name));
    case XmlResult::kPickupMeasure:
      base::stop_with(base::Message(kPickupMeasure, file_name));
    case XmlResult::kNoDivisions:
      base::stop_with(base::Message(kNoDivisions, file_name));
    case XmlResult::kZeroBeatType:
      base::stop_with(base::Message(kZeroBeatType, file_name));
    case XmlResult::kPartsInOtherMeters:
      base::stop_with(base::Message(kPartsInOtherMeters, file_name, measure));
    case XmlResult::kTooManyMeterChanges:
      base::stop_with(base::Message(kTooManyMeterChanges, file_name, engine::kMaxMeterChanges, measure));
    case XmlResult::kMeterOutOfOrder:
      base::stop_with(base::Message(kMeterOutOfOrder, file_name, measure));
    case XmlResult::kUnusualMeter:
      base::stop_with(base::Message(kUnusualMeter, file_name, measure));
  }
}

}  // namespace zelvo::harmonizer
