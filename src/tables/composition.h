#pragma once

// The compiled composition: configuration values, symbol records, generator
// records and output-channel records, filled by compile_tables
// (tables/table_compiler.h) and then read by the generators and the
// generation loop.
//
// Contract:
// - Allocated once per application next to the machine::MachineState it is
//   compiled with; compile_tables clears and refills it at every composer
//   run. The machine's symbol value pointers and store targets point into
//   this object, so it must not move after a compile.
// - Slots that hold a 32-bit word (generator slot 0 = kind, slot 8 = code
//   start; output slot 0 = code start) store the word as an exactly
//   representable double; read and write them with slot_word/set_slot_word.
// - Symbol i's value lives at *machine.symbol_values[i]: symbols[i].value for
//   a TCAL variable (kind 2), a generator slot for G/Gu/Gi/Gk. The
//   variables' recomputation runs, in table order, run_program(machine,
//   code_start) for every record i < symbol_count whose name is not empty
//   and whose code_start is not kNoCode; the program stores the new value
//   itself (its `pop`). Gk keeps code start 0, which runs nothing.
#include <cstdint>

#include "machine/machine_state.h"

namespace zelvo::tables {

// Configuration values: index 1 to 10 from TCONF row 1, columns 1 to 10.
constexpr int32_t kConfigCount = 11;
constexpr int32_t kConfigBars = 1;
constexpr int32_t kConfigTempo = 2;
constexpr int32_t kConfigBeats = 3;        // compas-num
constexpr int32_t kConfigBeatUnit = 4;     // compas-den
constexpr int32_t kConfigClicksPerBeat = 5;
constexpr int32_t kConfigSeed = 6;

// Symbol table.
constexpr int32_t kMaxSymbols = 1000;
static_assert(kMaxSymbols == machine::kMaxSymbols, "one value pointer per symbol record");
constexpr int32_t kSymbolLimit = 997;      // a count this high after a line is refused
constexpr int32_t kNameSize = 32;
constexpr int32_t kMaxNameLength = 29;
constexpr uint32_t kNoCode = 65535;        // code start of a symbol without a program
constexpr uint32_t kNoSymbol = 65535;      // find_symbol_by_place: nothing found

// Table kinds (index into the reader's table-name list).
constexpr int32_t kKindUnidentified = 0;
constexpr int32_t kKindConfig = 1;        // TCONF
constexpr int32_t kKindVariables = 2;     // TCAL
constexpr int32_t kKindOutputs = 3;       // TSAL
constexpr int32_t kKindFree = 4;          // "libre": a free table, read but ignored
constexpr int32_t kKindFreeToo = 5;       // the name's second entry; counts as kKindFree
constexpr int32_t kKindCalculated = 6;    // TGENC
constexpr int32_t kKindSequence = 7;      // TGENS
constexpr int32_t kKindUnnamed = 8;       // compiled like a generator table

// Generator records: record 0 holds the defaults row, generators 1 to 99.
constexpr int32_t kGeneratorRecords = 100;
constexpr int32_t kMaxGenerators = 99;
constexpr int32_t kGeneratorSlots = 24;
constexpr int32_t kSlotKind = 0;          // word: 6, 7 or 8
constexpr int32_t kSlotOnset = 1;         // Gi
constexpr int32_t kSlotLength = 2;        // Gu
constexpr int32_t kSlotValue = 3;         // G
constexpr int32_t kSlotClicks = 4;        // Gk
constexpr int32_t kSlotCode = 8;          // word: code start, 0 = none
constexpr int32_t kMaxParameterColumns = 15;  // column c lives in slot 8 + c

// Output-channel records: TSAL row r fills record r - 1.
constexpr int32_t kOutputRecords = 50;
constexpr int32_t kOutputSlots = 6;
constexpr int32_t kOutCode = 0;           // word: code start, 0 = none
constexpr int32_t kOutChannel = 1;        // Inst; -1 when the row is switched off
constexpr int32_t kOutNote = 2;
constexpr int32_t kOutDuration = 3;
constexpr int32_t kOutGate = 4;
constexpr int32_t kOutVelocity = 5;

struct Symbol {
  uint32_t kind;
  uint32_t row;
  char name[kNameSize];       // empty: the record is free
  double value;               // a TCAL variable's value
  uint32_t code_start;        // kNoCode: none; 0: the fcode at address 0
};

struct GeneratorRecord {
  double slot[kGeneratorSlots];
};

struct OutputRecord {
  double slot[kOutputSlots];
};

// The arrays have no initializer: they start as zeros because a composition
// is made value-initialized (make_unique, new T()) or inside a state from
// zeroed memory (console/zeroed_state.h), and an initializer would write
// the zeros again at every start.
struct Composition {
  double config[kConfigCount];
  Symbol symbols[kMaxSymbols];
  int32_t symbol_count = 0;
  GeneratorRecord generators[kGeneratorRecords];
  // Next generator number; after a compile, 1 + the generators compiled.
  int32_t generator_counter = 1;
  OutputRecord outputs[kOutputRecords];
};

inline uint32_t slot_word(double slot) { return static_cast<uint32_t>(slot); }
inline void set_slot_word(double& slot, uint32_t word) { slot = static_cast<double>(word); }

}  // namespace zelvo::tables
