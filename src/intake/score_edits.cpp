#include "intake/score_edits.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "music/note_letters.h"

namespace zelvo::intake {

namespace {

using pugi::xml_node;

xml_node score_root(const pugi::xml_document& score) {
  return score.child("score-partwise");
}

// The first run of digits of a measure's number, as the line readers take it.
int64_t measure_number(const xml_node& measure) {
  const std::string_view number = measure.attribute("number").value();
  size_t i = 0;
  while (i < number.size() && (number[i] < '0' || number[i] > '9')) ++i;
  int64_t value = 0;
  for (; i < number.size() && number[i] >= '0' && number[i] <= '9' && value < 1000000000; ++i) {
    value = value * 10 + (number[i] - '0');
  }
  return value;
}

void renumber(const pugi::xml_document& score, int64_t shift) {
  if (shift == 0) return;
  for (xml_node part : score_root(score).children("part")) {
    for (xml_node measure : part.children("measure")) {
      pugi::xml_attribute number = measure.attribute("number");
      if (!number) number = measure.prepend_attribute("number");
      number.set_value(std::to_string(measure_number(measure) + shift).c_str());
    }
  }
}

int64_t duration_of(const xml_node& element) {
  return element.child("duration").text().as_llong();
}

// How far the measure's content reaches, in divisions.
int64_t content_length(const xml_node& measure) {
  int64_t position = 0;
  int64_t reach = 0;
  for (const xml_node& child : measure.children()) {
    const std::string_view name = child.name();
    if (name == "note" && !child.child("chord") && !child.child("grace")) {
      position += duration_of(child);
    } else if (name == "backup") {
      position -= duration_of(child);
    } else if (name == "forward") {
      position += duration_of(child);
    }
    if (position > reach) reach = position;
  }
  return reach;
}

// The bar of the time signature in force at the measure, in divisions;
// 0 when the measure's attributes do not say.
int64_t bar_length(const xml_node& measure) {
  const xml_node attributes = measure.child("attributes");
  const int64_t divisions = attributes.child("divisions").text().as_llong();
  const xml_node time = attributes.child("time");
  const int64_t beats = time.child("beats").text().as_llong();
  const int64_t beat_type = time.child("beat-type").text().as_llong();
  if (divisions <= 0 || beats <= 0 || beat_type <= 0) return 0;
  return beats * 4 * divisions / beat_type;
}

bool is_pickup(const xml_node& measure) {
  if (std::string_view(measure.attribute("implicit").value()) != "yes") return false;
  const int64_t length = content_length(measure);
  return length > 0 && length < bar_length(measure);
}

int64_t pitch_of(const xml_node& note) {
  const xml_node pitch = note.child("pitch");
  const char step = pitch.child("step").text().as_string()[0];
  const int offset = music::letter_semitones(step);
  return (pitch.child("octave").text().as_llong() + 1) * 12 + offset +
         pitch.child("alter").text().as_llong();
}

bool is_sounding(const xml_node& node) {
  return std::string_view(node.name()) == "note" && node.child("pitch") && !node.child("grace");
}

// The first chord, or the first rising run of single notes, of the
// measure's first voice.
std::vector<xml_node> leading_group(const xml_node& measure) {
  std::vector<xml_node> group;
  for (xml_node child : measure.children()) {
    const std::string_view name = child.name();
    if (name == "backup") break;
    if (!is_sounding(child)) continue;
    if (group.empty()) {
      group.push_back(child);
      continue;
    }
    const bool chord_member = static_cast<bool>(child.child("chord"));
    const bool chord_group = group.size() > 1 ? static_cast<bool>(group[1].child("chord"))
                                              : chord_member;
    if (chord_group != chord_member) break;
    if (!chord_member && pitch_of(child) <= pitch_of(group.back())) break;
    group.push_back(child);
  }
  return group;
}

}  // namespace

bool has_pickup(const pugi::xml_document& score) {
  for (const xml_node& part : score_root(score).children("part")) {
    if (is_pickup(part.child("measure"))) return true;
  }
  return false;
}

void place_pickup(pugi::xml_document& score) {
  const xml_node first_part = score_root(score).child("part");
  const int64_t shift = 1 - measure_number(first_part.child("measure"));
  for (xml_node part : score_root(score).children("part")) {
    xml_node measure = part.child("measure");
    const int64_t missing = bar_length(measure) - content_length(measure);
    if (!is_pickup(measure) || missing <= 0) continue;
    xml_node before;
    for (xml_node child : measure.children()) {
      const std::string_view name = child.name();
      if (name == "note" || name == "backup" || name == "forward") {
        before = child;
        break;
      }
    }
    xml_node forward = before ? measure.insert_child_before("forward", before)
                              : measure.append_child("forward");
    forward.append_child("duration").text().set(std::to_string(missing).c_str());
  }
  renumber(score, shift);
}

void add_pickup_bar(pugi::xml_document& score) {
  const xml_node first_part = score_root(score).child("part");
  renumber(score, 2 - measure_number(first_part.child("measure")));
  for (xml_node part : score_root(score).children("part")) {
    xml_node first = part.child("measure");
    if (!first) continue;
    xml_node bar = part.insert_child_before("measure", first);
    bar.append_attribute("number").set_value("1");
    for (const xml_node& attributes : first.children("attributes")) bar.append_copy(attributes);
    for (const xml_node& note : leading_group(first)) {
      xml_node copy = bar.append_copy(note);
      // Ties and lyrics of the copied notes belong to the first full bar.
      while (copy.child("tie")) copy.remove_child("tie");
      copy.remove_child("notations");
    }
  }
}

void drop_pickup(pugi::xml_document& score) {
  for (xml_node part : score_root(score).children("part")) {
    const xml_node pickup = part.child("measure");
    xml_node next = pickup.next_sibling("measure");
    if (!is_pickup(pickup) || !next) continue;
    xml_node at = next.first_child();
    for (const xml_node& attributes : pickup.children("attributes")) {
      if (at) {
        next.insert_copy_before(attributes, at);
      } else {
        next.append_copy(attributes);
      }
    }
    part.remove_child(pickup);
  }
  const xml_node first_part = score_root(score).child("part");
  renumber(score, 1 - measure_number(first_part.child("measure")));
}

}  // namespace zelvo::intake
