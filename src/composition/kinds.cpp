#include "composition/kinds.h"

#include "tables/composition.h"

namespace zelvo::composition {

namespace {

using tables::kKindCalculated;
using tables::kKindConfig;
using tables::kKindFree;
using tables::kKindOutputs;
using tables::kKindSequence;
using tables::kKindVariables;

constexpr ColumnHelp kConfigHelp[] = {
    {"bars to generate", "nothing is generated"},
    {"tempo, beats per minute", "refused: must be greater than 0"},
    {"beats per bar (time signature numerator)", "no clicks in a bar"},
    {"beat unit: 1, 2, 4, 8 or 16 (4 = quarter note)", "refused"},
    {"clicks per beat", "192 divided by the beat unit"},
    {"random seed", "a new seed from the clock at every run"},
};

constexpr ColumnHelp kCalculatedHelp[] = {
    {"mode", "when the row's expressions are computed: 0 every click, 1 at the start of every period, 2 at every note"},
    {"start bar", "where the generator starts (bar 1, click 0 is the beginning)"},
    {"start click", ""},
    {"period bars", "the length of one period of the shape"},
    {"period clicks", "(period = bars × clicks per bar + clicks; at least 1 click)"},
    {"pulse", "clicks from one note to the next"},
    {"length bars", "how long the generator plays"},
    {"length clicks", ""},
    {"note length", "the value of `Gu`: how long each note is meant to last"},
    {"shape", "1 sine, 2 square, 3 rising ramp, 4 falling ramp, 5 triangle"},
    {"top", "the value at the top of the shape"},
    {"bottom", "the value at the bottom"},
    {"step", "when not 0, the value is cut down to a whole multiple of it"},
    {"order", "order of computation within a click"},
};

constexpr ColumnHelp kSequenceHelp[] = {
    {"mode", "when the row's expressions are computed: 0 every click, 1 at the start of every pass, 2 at every note"},
    {"sequence", "which sequence, counted from 0"},
    {"start bar", "where the generator starts"},
    {"start click", ""},
    {"stretch beats", "beats added to the sequence's length; every duration and distance grows in proportion"},
    {"first note", "first note played, counted from 1"},
    {"notes cut", "notes left out at the end"},
    {"rest", "sixteenths of silence after each pass"},
    {"length bars", "how long the generator plays"},
    {"length clicks", ""},
    {"play mode", "1 forward, 2 forward upside down, 3 backward, 4 backward upside down"},
    {"top shift", "semitones added to the sequence's highest note"},
    {"bottom shift", "semitones added to its lowest note"},
    {"glide", "when not 0, the value slides from each note to the next (play modes 1 and 2)"},
    {"order", "order of computation within a click"},
};

constexpr ColumnHelp kOutputHelp[] = {
    {"switch: any text here turns the row off", "(empty: the row plays)"},
    {"MIDI channel 1 to 16 (10 is drums in General MIDI)", "1"},
    {"note number 0 to 127 (60 = middle C)", "-1"},
    {"duration in clicks", "0"},
    {"play: a note is made only while this is not 0", "0 (never plays)"},
    {"velocity 0 to 127", "100"},
};

template <size_t N>
const ColumnHelp* pick(const ColumnHelp (&help)[N], int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(N) ? &help[index] : nullptr;
}

}  // namespace

std::vector<std::string> new_table_header(int32_t kind) {
  switch (kind) {
    case kKindConfig:
      return {"TCONF", "bars", "tempo", "beats", "beat unit", "clicks per beat", "seed"};
    case kKindVariables:
      return {"TCAL", "expression // comment"};
    case kKindOutputs:
      return {"TSAL", "channel", "note", "duration", "play", "velocity", "remark"};
    case kKindCalculated:
      return {"TGENC", "mode", "start bar", "start click", "period bars", "period clicks", "pulse", "length bars",
              "length clicks", "note length", "shape", "top", "bottom", "step", "order", "remark"};
    case kKindSequence:
      return {"TGENS", "mode", "sequence", "start bar", "start click", "stretch beats", "first note", "notes cut",
              "rest", "length bars", "length clicks", "play mode", "top shift", "bottom shift", "glide", "order",
              "remark"};
    case kKindFree:
      return {"libre", "notes"};
    default:
      return {};
  }
}

std::vector<std::string> new_table_first_row(int32_t kind) {
  switch (kind) {
    case kKindConfig:
      return {"values", "8", "100", "4", "4", "0", "7"};
    case kKindVariables:
      return {"", ""};
    case kKindOutputs:
      return {"x", "1", "60", "96", "0", "80", "switched off: delete the x"};
    case kKindCalculated:
      return {"defaults", "0", "1", "0", "1", "0", "48", "8", "0", "48", "1", "72", "60", "0", "1", ""};
    case kKindSequence:
      return {"defaults", "0", "0", "1", "0", "0", "1", "0", "0", "8", "0", "1", "0", "0", "0", "3", ""};
    case kKindFree:
      return {"", ""};
    default:
      return {};
  }
}

const ColumnHelp* column_help(int32_t kind, int32_t column) {
  switch (kind) {
    case kKindConfig:
      return pick(kConfigHelp, column - 1);
    case kKindOutputs:
      return pick(kOutputHelp, column);
    case kKindCalculated:
      return pick(kCalculatedHelp, column - 1);
    case kKindSequence:
      return pick(kSequenceHelp, column - 1);
    default:
      return nullptr;
  }
}

std::string column_tooltip(int32_t kind, int32_t column) {
  const ColumnHelp* help = column_help(kind, column);
  if (help == nullptr) {
    if (kind == kKindVariables) return column == 0 ? "variable name" : "expression // comment";
    if ((kind == kKindCalculated || kind == kKindSequence) && column == 0) return "generator name; row 1 holds the defaults";
    return "";
  }
  std::string text = std::string("column ") + std::to_string(column) + ": " + help->meaning;
  if (help->note[0] == '\0') return text;
  if (kind == kKindConfig || kind == kKindOutputs) return text + "\nwhen empty: " + help->note;
  return text + "\n" + help->note + "\nempty: the number in row 1";
}

bool is_read_cell(int32_t kind, int32_t row, int32_t column, int32_t header_cells) {
  if (row < 1 || column < 0) return false;
  switch (kind) {
    case kKindVariables:
      return column <= 1;
    case kKindOutputs:
      return column >= 1 && column <= tables::kOutVelocity;
    case kKindCalculated:
    case kKindSequence:
    case tables::kKindUnnamed:
      return column <= header_cells - 2;
    default:
      return false;
  }
}

}  // namespace zelvo::composition
