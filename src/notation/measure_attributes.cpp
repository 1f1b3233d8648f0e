#include "notation/measure_attributes.h"

namespace zelvo::notation {

using pugi::xml_node;

void append_key(xml_node attributes, Key key) {
  xml_node node = attributes.append_child("key");
  node.append_child("fifths").text().set(key.fifths);
  node.append_child("mode").text().set(key.minor ? "minor" : "major");
}

void append_clef(xml_node attributes, int number, const char* sign, int line) {
  xml_node clef = attributes.append_child("clef");
  if (number > 0) clef.append_attribute("number").set_value(number);
  clef.append_child("sign").text().set(sign);
  if (line > 0) clef.append_child("line").text().set(line);
}

void append_time(xml_node attributes, const Measure& bar) {
  xml_node time = attributes.append_child("time");
  time.append_child("beats").text().set(bar.beats);
  time.append_child("beat-type").text().set(bar.beat_type);
}

}  // namespace zelvo::notation
