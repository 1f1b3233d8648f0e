#include "leadsheet/lead_sheet.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "intake/xml_layout.h"
#include "leadsheet/chord_symbols.h"
#include "notation/key_spelling.h"

namespace zelvo::leadsheet {

namespace {

using notation::Key;
using notation::Spelling;
using notation::spell_pitch;
using pugi::xml_node;

// Positions in the harmony file count eighths of the score's first
// divisions, so a scale run fits between close symbols.
constexpr int64_t kSubdivision = 8;

struct Event {
  int64_t at;          // in harmony divisions from the measure's start
  bool scale;          // a scale, else a chord
  uint16_t classes;    // pitch classes
  int low;             // the scale's tonic or the chord's bass
  Key key{};           // its pitches are spelled in this key
};

struct Measure {
  std::string number;
  bool pickup = false;
  std::string beats;       // the meter in force
  std::string beat_type;
  bool new_meter = false;  // its time signature differs from the measure before
  int64_t length = 0;  // harmony divisions
  std::vector<Event> events;
};

std::string_view text_of(const xml_node& node) { return node.text().as_string(); }

// The key a chord's pitches are spelled in: the major or minor key of its
// root as the symbol writes it (B-flat for a B-flat chord); where that key
// would need more than seven sharps or flats, the one of fewer.
Key chord_key(const xml_node& harmony) {
  static constexpr std::string_view kFifthsOrder = "FCGDAEB";
  const std::string_view step = text_of(harmony.child("root").child("root-step"));
  const size_t letter = step.empty() ? std::string_view::npos : kFifthsOrder.find(step[0]);
  const std::string_view kind = text_of(harmony.child("kind"));
  const bool minor = kind.starts_with("minor") || kind.starts_with("diminished") || kind == "half-diminished";
  if (letter == std::string_view::npos) return Key{0, minor};
  int fifths = static_cast<int>(letter) - 1 + 7 * harmony.child("root").child("root-alter").text().as_int() -
               (minor ? 3 : 0);
  while (fifths > 7) fifths -= 12;
  while (fifths < -7) fifths += 12;
  return Key{fifths, minor};
}

ChordSymbol read_symbol(const xml_node& harmony) {
  ChordSymbol chord;
  const xml_node root = harmony.child("root");
  chord.root = step_pitch_class(text_of(root.child("root-step")).empty()
                                    ? 'C'
                                    : text_of(root.child("root-step"))[0],
                                root.child("root-alter").text().as_int());
  chord.kind = text_of(harmony.child("kind"));
  const xml_node bass = harmony.child("bass");
  if (bass) {
    const std::string_view step = text_of(bass.child("bass-step"));
    chord.bass = step_pitch_class(step.empty() ? 'C' : step[0], bass.child("bass-alter").text().as_int());
  }
  for (const xml_node& degree : harmony.children("degree")) {
    if (chord.degree_count == kMaxDegrees) break;
    ChordDegree& d = chord.degrees[chord.degree_count++];
    d.value = degree.child("degree-value").text().as_int();
    d.alter = degree.child("degree-alter").text().as_int();
    const std::string_view type = text_of(degree.child("degree-type"));
    d.type = type == "subtract" ? ChordDegree::Type::kSubtract
             : type == "alter"  ? ChordDegree::Type::kAlter
                                : ChordDegree::Type::kAdd;
  }
  return chord;
}

xml_node first_part_with_symbols(const xml_node& root) {
  for (const xml_node& part : root.children("part")) {
    if (part.select_node("measure/harmony")) return part;
  }
  return {};
}

// Reads the part's measures, their meters and events.
void read_part(const xml_node& part, int64_t harmony_divisions, std::vector<Measure>& measures) {
  int64_t divisions = harmony_divisions / kSubdivision;
  std::string beats;
  std::string beat_type;
  for (const xml_node& source : part.children("measure")) {
    Measure measure;
    measure.number = source.attribute("number").value();
    measure.pickup = std::string_view(source.attribute("implicit").value()) == "yes";
    int64_t position = 0;
    int64_t reach = 0;
    const auto to_harmony = [&](int64_t d) { return d * harmony_divisions / std::max<int64_t>(divisions, 1); };
    for (const xml_node& child : source.children()) {
      const std::string_view name = child.name();
      if (name == "attributes") {
        if (child.child("divisions")) divisions = child.child("divisions").text().as_llong();
        for (const xml_node& time : child.children("time")) {
          const std::string b = time.child("beats").text().as_string();
          const std::string t = time.child("beat-type").text().as_string();
          // The harmony changes meter where the score does, so that the
          // harmonizer reads both with the same bars.
          if (!beats.empty() && (b != beats || t != beat_type)) measure.new_meter = true;
          beats = b;
          beat_type = t;
        }
        for (const xml_node& key : child.children("key")) {
          Event event{to_harmony(position), true, 0, 0};
          event.classes = key_scale(key.child("fifths").text().as_int(),
                                    text_of(key.child("mode")), event.low);
          event.key = Key{std::clamp(key.child("fifths").text().as_int(), -7, 7),
                          text_of(key.child("mode")) == "minor"};
          measure.events.push_back(event);
        }
      } else if (name == "harmony") {
        const ChordSymbol chord = read_symbol(child);
        const uint16_t classes = chord_pitch_classes(chord);
        if (classes != 0) {
          const int64_t offset = child.child("offset").text().as_llong();
          measure.events.push_back(Event{to_harmony(position + offset), false, classes,
                                         chord.bass >= 0 ? chord.bass : chord.root, chord_key(child)});
        }
      } else if (name == "note") {
        if (!child.child("chord") && !child.child("grace")) {
          position += child.child("duration").text().as_llong();
        }
      } else if (name == "backup") {
        position -= child.child("duration").text().as_llong();
      } else if (name == "forward") {
        position += child.child("duration").text().as_llong();
      }
      reach = std::max(reach, position);
    }
    const int64_t bar = std::strtoll(beats.c_str(), nullptr, 10) * 4 * divisions /
                        std::max<int64_t>(std::strtoll(beat_type.c_str(), nullptr, 10), 1);
    measure.length = to_harmony(measure.pickup ? reach : std::max(reach, bar));
    measure.beats = beats;
    measure.beat_type = beat_type;
    std::stable_sort(measure.events.begin(), measure.events.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
    measures.push_back(std::move(measure));
  }
}

void append_time(xml_node attributes, const Measure& measure) {
  xml_node time = attributes.append_child("time");
  time.append_child("beats").text().set(measure.beats.c_str());
  time.append_child("beat-type").text().set(measure.beat_type.c_str());
}

// Before its first symbol and key signature the score takes the first ones.
void hold_from_start(std::vector<Measure>& measures, bool scale) {
  for (const Measure& measure : measures) {
    for (const Event& event : measure.events) {
      if (event.scale != scale) continue;
      if (&measure == &measures.front() && event.at == 0) return;
      Event first = event;
      first.at = 0;
      measures.front().events.insert(measures.front().events.begin(), first);
      return;
    }
  }
}

void append_note(xml_node measure, int pitch, int64_t duration, bool chord, Key key) {
  const Spelling spelling = spell_pitch(pitch, key);
  const char step[2] = {spelling.step, 0};
  xml_node note = measure.append_child("note");
  if (chord) note.append_child("chord");
  xml_node pitch_node = note.append_child("pitch");
  pitch_node.append_child("step").text().set(step);
  if (spelling.alter != 0) pitch_node.append_child("alter").text().set(spelling.alter);
  pitch_node.append_child("octave").text().set((pitch - spelling.alter) / 12 - 1);
  note.append_child("duration").text().set(static_cast<long long>(duration));
  note.append_child("voice").text().set(1);
}

void move_to(xml_node measure, int64_t& position, int64_t target) {
  if (target == position) return;
  xml_node step = measure.append_child(target > position ? "forward" : "backup");
  step.append_child("duration").text().set(static_cast<long long>(target > position ? target - position
                                                                                      : position - target));
  position = target;
}

// The events of one kind as notes: a scale as a rising run from its tonic
// to the tonic an octave up, a chord as its bass with the other pitch
// classes above it, all starting together.
void write_part(xml_node part, const std::vector<Measure>& measures, bool scale,
                int64_t harmony_divisions) {
  const int64_t note_length = std::max<int64_t>(1, harmony_divisions / 32);
  bool first = true;
  for (const Measure& source : measures) {
    xml_node measure = part.append_child("measure");
    measure.append_attribute("number").set_value(source.number.c_str());
    if (source.pickup) measure.append_attribute("implicit").set_value("yes");
    if (first) {
      xml_node attributes = measure.append_child("attributes");
      attributes.append_child("divisions").text().set(static_cast<long long>(harmony_divisions));
      // The first meter stated, wherever it is, as the score's own meter.
      for (const Measure& stated : measures) {
        if (stated.beats.empty()) continue;
        append_time(attributes, stated);
        break;
      }
      first = false;
    } else if (source.new_meter) {
      append_time(measure.append_child("attributes"), source);
    }
    int64_t position = 0;
    for (const Event& event : source.events) {
      if (event.scale != scale) continue;
      move_to(measure, position, event.at);
      const int low = 48 + event.low;
      if (scale) {
        for (int pitch = low; pitch <= low + 12; ++pitch) {
          if ((event.classes >> (pitch % 12) & 1) == 0) continue;
          append_note(measure, pitch, note_length, false, event.key);
          position += note_length;
        }
      } else {
        append_note(measure, low, note_length, false, event.key);
        for (int pitch = 60; pitch < 72; ++pitch) {
          if ((event.classes >> (pitch % 12) & 1) != 0 && pitch % 12 != event.low) {
            append_note(measure, pitch, note_length, true, event.key);
          }
        }
        position += note_length;
      }
    }
    move_to(measure, position, std::max(position, source.length));
  }
}

}  // namespace

base::Status make_harmony_file(const pugi::xml_document& score, int first_part, const std::string& score_name,
                               std::string& harmony_file) {
  const xml_node part = first_part_with_symbols(score.child("score-partwise"));
  if (!part) return base::Message(base::MessageId::kLeadSheetNoSymbols, score_name);
  const int64_t divisions =
      std::max<int64_t>(1, part.select_node("measure/attributes/divisions").node().text().as_llong());
  const int64_t harmony_divisions = divisions * kSubdivision;
  std::vector<Measure> measures;
  read_part(part, harmony_divisions, measures);
  if (measures.empty()) return base::Message(base::MessageId::kLeadSheetNoMeasures, score_name);
  hold_from_start(measures, false);
  hold_from_start(measures, true);
  bool has_scale = false;
  for (const Event& event : measures.front().events) has_scale = has_scale || event.scale;
  if (!has_scale) {
    int tonic = 0;
    const uint16_t classes = key_scale(0, "major", tonic);
    measures.front().events.insert(measures.front().events.begin(), Event{0, true, classes, tonic, Key{}});
  }

  pugi::xml_document harmony;
  xml_node root = harmony.append_child("score-partwise");
  root.append_attribute("version").set_value("3.1");
  xml_node list = root.append_child("part-list");
  const char* kNames[] = {"Scales", "Chords"};
  for (int i = 0; i < 2; ++i) {
    xml_node entry = list.append_child("score-part");
    entry.append_attribute("id").set_value(("P" + std::to_string(first_part + i)).c_str());
    entry.append_child("part-name").text().set(kNames[i]);
  }
  for (int i = 0; i < 2; ++i) {
    xml_node out = root.append_child("part");
    out.append_attribute("id").set_value(("P" + std::to_string(first_part + i)).c_str());
    write_part(out, measures, i == 0, harmony_divisions);
  }
  harmony_file = intake::lay_out(harmony);
  return base::Status();
}

}  // namespace zelvo::leadsheet
