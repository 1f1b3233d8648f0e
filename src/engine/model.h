#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/assignment.h"
#include "engine/tone_type.h"
#include "engine/zeroed_table.h"

// The harmonization engine's tables. The readers fill the music note table
// and the chord and scale tables; the engine cuts the music into harmonic
// units, divides them into lines, searches each line and writes the chosen
// pitches back into the music note table. Every table is fixed: the state is
// allocated once by the application and nothing is allocated while a job
// runs. Field names follow the listings (Cpin, Tmno, Yarm ...).

namespace zelvo::engine {

// The music note table, the result list and the chord and scale tables grow
// with the piece, from room for a piece of usual length up to a bound on the
// memory they may take.
constexpr int32_t kMaxMusicNotes = int32_t{1} << 24;   // music note table and result list
constexpr int32_t kMaxHarmonyEntries = int32_t{1} << 20; // chord table, scale table
constexpr int32_t kStartMusicNotes = 30000;
constexpr int32_t kStartHarmonyEntries = 500;
constexpr int32_t kMarksSize = 16;          // 12 pitch-class marks + terminator
constexpr int32_t kPitchClasses = 12;
constexpr int32_t kUnitSlots = 4;           // slot 0 and three units of look-ahead
constexpr int32_t kMaxLines = 200;          // lines per unit
constexpr int32_t kMaxLineNotes = 100;      // notes per line, notes per instrument and unit
constexpr int32_t kMaxCandidates = 100;     // candidates per line
constexpr int32_t kPoolSize = 500;          // path pool entries
constexpr int32_t kMaxScored = 100;         // scored paths per search stage
constexpr int32_t kStageNotes = 4;          // notes searched per stage
constexpr int32_t kMaxGroups = 128;         // endings grouped by select_candidates
constexpr int32_t kCountedInstruments = 16; // form_unit counts instruments 0-15
constexpr int32_t kFirstLineInstrument = 1; // instruments put into lines: 1-15
constexpr int32_t kLastLineInstrument = 15;

// The marks of an entry before any pitch class is marked present.
constexpr const char kEmptyMarks[] = "c_d_ef_g_a_b";

// Tie flags of a music note record.
constexpr uint32_t kTieContinues = 1;  // the note goes on in a later record
constexpr uint32_t kTieContinued = 2;  // this record continues an earlier one

// Line types (`Tipo`).
constexpr int32_t kInnerLine = 1;
constexpr int32_t kBassLine = 2;
constexpr int32_t kMelodyLine = 3;

// One record of the music note table.
struct MusicNote {
  int32_t Inst = 0;  // instrument, MIDI channel counted from 1
  int32_t Cpin = 0;  // start bar
  int32_t Ckin = 0;  // start click within the bar
  int32_t Dur = 0;   // duration in clicks
  int32_t Note = 0;  // given pitch on input, chosen pitch on output
  int32_t Vel = 0;   // velocity
  uint32_t tie_flags = 0;  // kTieContinues | kTieContinued
};

// Grows `table` to hold at least n records, new ones value-initialised.
// Doubling keeps a table filled record by record from copying itself often.
template <typename Record, typename Allocator>
void grow_to(std::vector<Record, Allocator>& table, int32_t n, int32_t most) {
  const auto room = static_cast<size_t>(n);
  if (table.size() >= room) return;
  table.resize(std::min(std::max(room, 2 * table.size()), static_cast<size_t>(most)));
}

// Records 0 .. note_count - 1 are in use, in order of absolute time.
// Whoever writes record i has reserved room for it first (reserve(i + 1)
// or more), so the records past the most ever reserved are as they were
// made, default ones.
struct MusicNoteTable {
  ZeroedTable<MusicNote> notes = ZeroedTable<MusicNote>(kStartMusicNotes);
  int32_t note_count = 0;
  int32_t reserved = 0;  // the most reserve() was asked for since the last empty()

  // Room for n records. REQUIRES: n <= kMaxMusicNotes.
  void reserve(int32_t n) {
    grow_to(notes, n, kMaxMusicNotes);
    reserved = std::max(reserved, n);
  }

  // No records, and every record back to its default: only those reserved
  // since the last time can differ from it (a fresh table's 30,000 records
  // would cost 0.8 M instructions to write again).
  void empty() {
    std::fill_n(notes.begin(), std::min(static_cast<size_t>(reserved), notes.size()), MusicNote{});
    reserved = 0;
    note_count = 0;
  }
};

// A chord or a scale: where it begins and which pitch classes it holds.
// marks[0..11]: lowercase letter or '_' absent; uppercase letter, '#' or a
// digit present; a digit with bit value 2 marks a chord's bass pitch class,
// bit value 4 its top pitch class. marks[12] is the terminator.
struct HarmonyEntry {
  int32_t bar = 0;    // 0 ends the table
  int32_t click = 0;
  char marks[kMarksSize] = {};
};

// The entries in use, then at least one with bar 0.
struct HarmonyTable {
  std::vector<HarmonyEntry> entries = std::vector<HarmonyEntry>(kStartHarmonyEntries);

  int32_t size() const { return static_cast<int32_t>(entries.size()); }
  // Room for entry k and the end mark after it. REQUIRES: k < kMaxHarmonyEntries.
  void reserve_entry(int32_t k) { grow_to(entries, k + 2, kMaxHarmonyEntries + 1); }
};

struct ResultTone {
  int32_t given_pitch = 0;
  int32_t tone_type = kRe;
};

// One note as the engine knows it across a link: where it lies, what the
// music gave, what the engine made of it. bar -1: no note.
struct LinkState {
  int32_t bar = -1;
  int32_t click = 0;
  int32_t duration = 0;
  int32_t given_pitch = 0;
  int32_t tie_flags = 0;
  int32_t chosen_pitch = 0;
  int32_t tone_type = 0;
};

// A note of a line.
struct LineNote {
  int32_t bar = 0;
  int32_t click = 0;
  int32_t duration = 0;
  int32_t given_pitch = 0;
  int32_t velocity = 0;
  int32_t tie_flags = 0;
};

// One entry of a bass or melody line's outer-note ranking.
struct OuterRank {
  int32_t note_index = 0;
  int32_t importance = 0;
};

struct Line {
  int32_t Tipo = kInnerLine;
  int32_t Ins = -1;    // -1: slot not in use (ends the lines of a unit)
  int32_t Lp = -1;     // linked line in the previous unit's slot
  int32_t Lh = -1;     // linked line in the next unit's slot
  LinkState npadre;    // entry state: last note of the previous linked line
  LinkState nlast;     // exit state under the candidate last tried or chosen
  LineNote notes[kMaxLineNotes];
  int32_t Tmno = 0;    // note count
  OuterRank ranking[kMaxLineNotes];
  int32_t Yarm = 0;    // 1: candidates built for the current entry state
  int32_t Arn = -1;    // chosen candidate
};

// A chosen pitch and tone type, as paths and candidates hold them.
struct PathNote {
  int8_t pitch = -1;
  int8_t type = 0;
};

// A candidate whose first pitch is -1 is empty, and so is every later one.
struct Candidate {
  float cost = 0.0f;
  PathNote notes[kMaxLineNotes];
};

struct UnitSlot {
  Line lines[kMaxLines];
  Candidate candidates[kMaxLines][kMaxCandidates];
  int32_t chord_index = 0;  // chord table entry in force at the first note
  int32_t scale_index = 0;  // scale table entry in force at the first note
  uint32_t chord_classes = 0;  // bit pc: pitch class pc is in that chord
  uint32_t scale_classes = 0;  // bit pc: pitch class pc is in that scale
  int32_t first_note = 0;   // music note table indices, inclusive
  int32_t last_note = 0;
};

// The window's four unit slots, 19 MB of lines and candidate lists. Building
// the state writes none of it: a run reads a slot only after form_unit
// filled it (clear_slot, then clear_line for every line the division takes),
// and a line's candidate list only after select_candidates or
// recall_candidates wrote all of it for the line's present entry state (its
// Yarm). The defaults a new slot or line would start with are never seen, so
// a job pays only for the pages of the slots and lines its units use.
class UnitSlots {
 public:
  UnitSlots() {}  // leaves the slots unwritten
  UnitSlots(const UnitSlots&) = delete;
  UnitSlots& operator=(const UnitSlots&) = delete;

  UnitSlot& operator[](int32_t s) { return slots_[s]; }
  const UnitSlot& operator[](int32_t s) const { return slots_[s]; }

 private:
  // A member of a union is not constructed with it: the bytes stay as the
  // allocation left them until a run fills the slot.
  union {
    UnitSlot slots_[kUnitSlots];
  };
};

// Path pool costs.
constexpr double kFreeEntry = -1.0;
constexpr double kEntryInUse = -2.0;

struct PoolEntry {
  PathNote notes[kMaxLineNotes];
  double cost = kFreeEntry;  // -1 free, -2 in use, >= 0 scored
  int32_t serial = 0;        // process counter value when it was scored
};

// The path search of one line at a time.
struct PathPool {
  PoolEntry entries[kPoolSize];
  int32_t scored_count = 0;   // scored entries of the current stage
  // The scored entries: index, cost and a digest of the path, side by side
  // so that insert_scored scans them without touching the paths.
  int32_t scored[kMaxScored];
  double scored_costs[kMaxScored];
  uint32_t scored_keys[kMaxScored];
  int32_t worst_position = -1;  // in `scored`; -1 not known
  // The positions in `scored` as a heap, the costliest path on top (the
  // lowest entry among equal costs): the one a cheaper path replaces.
  int16_t heap[kMaxScored];
  int32_t process_count = 0;  // paths scored by the last build_candidates
  // The scored entries by digest, so that a new path is compared with the
  // few of its digest only: bucket heads and chains hold a position in
  // `scored` plus 1 (0 ends). They hold positions 0 .. hashed_count - 1;
  // insert_scored rebuilds them when scored_count was reset behind its back.
  static constexpr int32_t kBuckets = 256;
  int16_t bucket[kBuckets] = {};
  int16_t chain[kMaxScored] = {};
  int32_t hashed_count = 0;
  // Bit n set: entry n is free. Kept by the path search while it runs, so
  // that it finds the first free entry without scanning the costs.
  static constexpr int32_t kFreeWords = (kPoolSize + 63) / 64;
  uint64_t free_bits[kFreeWords] = {};
};

// The paths of one stage that continue a path through the same choices of
// its next notes, up to the stage's last note: how many there are, and what
// their notes add to a path's cost tally, at least (distance, moves against
// the contour or the step shape) and at most (notes off the top pitch class,
// outer-note points, which lower the cost). See subtree_summary.h.
struct SubtreeSummary {
  int64_t paths;
  int32_t distance;
  int32_t direction;
  int32_t shape;
  int32_t off_top;
  int32_t outer;
};

// The memo of the choices of tone_choices.h: per position in the stage and
// per previous chosen pitch and tone type, a slice of `notes`, valid while
// its stamp equals the generation.
struct ChoiceMemo {
  static constexpr int32_t kPitches = 128;
  static constexpr int32_t kKeys = (kNonHarmonicTypes + 1) * kPitches + 1;  // + no previous
  static constexpr int32_t kMaxChoices = kPitches * 9;  // every pitch, every rule
  static constexpr int32_t kRoom = 8192;  // kept choices per position
  uint32_t generation = 0;
  uint32_t stamp[kStageNotes][kKeys] = {};
  uint16_t begin[kStageNotes][kKeys] = {};
  uint16_t count[kStageNotes][kKeys] = {};
  int32_t used[kStageNotes] = {};
  PathNote notes[kStageNotes][kRoom];
  PathNote scratch[kStageNotes][kMaxChoices];  // lists not kept
  // Beside each choice, what it adds to a path's cost tally (path_cost.h).
  uint64_t steps[kStageNotes][kRoom];
  uint64_t scratch_steps[kStageNotes][kMaxChoices];
  // The subtree after each previous note, under stamps of their own (zero
  // as the state is made: from calloc, or value-initialized).
  uint32_t summary_stamp[kStageNotes][kKeys];
  SubtreeSummary summary[kStageNotes][kKeys];
};

// Candidate lists already built while the window stands still, by slot,
// line and entry state: the look-ahead asks for the same line under the same
// entry again and again (every ending a line above tries, then the one it
// chooses). A list holds its candidates' costs and their first note_count
// notes; the notes after those are {0, 0} in every built list and the lists
// after `count` empty. Forgotten when the window moves.
struct KeptNote {
  int8_t pitch;
  int8_t type;
};

struct KeptCandidates {
  static constexpr int32_t kLists = 512;
  static constexpr int32_t kNotes = 1 << 20;
  struct List {
    int32_t s = 0;
    int32_t l = 0;
    bool no_lookahead = false;
    LinkState entry;
    int32_t count = 0;  // candidates; -1: no path (build_candidates failed)
    int32_t note_count = 0;
    int32_t first_note = 0;  // in `notes`
  };
  List lists[kLists];
  int32_t list_count = 0;
  int32_t notes_used = 0;
  // Written by keep_candidates before recall_candidates reads them, so not
  // cleared when the state is built (2 MB).
  float costs[kLists][kMaxCandidates];
  KeptNote notes[kNotes];
};

// Line division of one instrument in one unit. tag: 0 not yet placed, -1
// refused as the start of a line, 1 or more the number of its line.
struct WorkNote {
  MusicNote note;
  int32_t tag = 0;
};

struct WorkList {
  WorkNote notes[kMaxLineNotes];
  int32_t count = 0;
  int32_t chain_length = 0;  // extend_chain's counter
};

static_assert(kMaxAssignment >= kMaxLines);

// The link search of one instrument between two units.
struct LinkSearch {
  int32_t previous[kMaxLines];  // line indices in the previous slot
  int32_t previous_count = 0;
  int32_t current[kMaxLines];   // line indices in this slot, -1 padding
  int32_t current_count = 0;
  int32_t best_previous[kMaxLines];  // best assignment: linked pairs
  int32_t best_current[kMaxLines];
  int32_t best_pairs = 0;
  double best_cost = 0.0;
  // work.cost[i][j]: linking previous-list line i to current-list entry j
  // (a linkable pair costs its pitch difference, any other pair 5).
  AssignmentWork work;
};

// Everything the engine owns. The slot window is held through slot_map so
// that a move of the window rotates indices instead of copying slots; the
// logical slot s lives in slots[slot_map[s]] (use unit_slot()).
struct EngineState {
  MusicNoteTable music;
  HarmonyTable chords;
  HarmonyTable scales;

  UnitSlots slots;
  int32_t slot_map[kUnitSlots] = {0, 1, 2, 3};
  int32_t window_top = 0;

  PathPool pool;
  ChoiceMemo choices;
  KeptCandidates kept;
  WorkList work;
  LinkSearch links;

  ZeroedTable<MusicNote> result = ZeroedTable<MusicNote>(kStartMusicNotes);
  int32_t result_count = 0;
  // Beside each result record: the pitch the music gave and the tone type
  // chosen (kept for the tones file; the MIDI file has no room for them).
  std::vector<ResultTone> result_tones = std::vector<ResultTone>(kStartMusicNotes);

  // Line 0 of slot 0 begins in bar 2: its searches are listed (debug).
  bool tracing = false;
};

inline UnitSlot& unit_slot(EngineState& state, int32_t s) { return state.slots[state.slot_map[s]]; }
inline const UnitSlot& unit_slot(const EngineState& state, int32_t s) {
  return state.slots[state.slot_map[s]];
}

}  // namespace zelvo::engine
