#include "harmonizer/debug_listings.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/note_name.h"
#include "files/memory_stream.h"
#include "files/result_writer.h"
#include "harmonizer/output.h"

namespace zelvo::harmonizer {

namespace {

// The notes the listings of paths put into their MIDI files: those files
// show the first paths of a search, not a whole piece.
constexpr int32_t kDebugNoteRoom = 30000;

constexpr int32_t kListingNameSize = 64;

using engine::Candidate;
using engine::EngineState;
using engine::Line;
using engine::LinkState;
using engine::MusicNote;
using engine::PathNote;

// A pool path is picked only below this cost.
constexpr double kUnpickable = 999999.0;

// The listing's name as the MIDI writer's messages show it.
void listing_path(const char* name, char (&path)[kListingNameSize]) {
  std::snprintf(path, kListingNameSize, "%s/%s", kDebugFolder, name);
}

constexpr const char* kGrowingNames[kGrowingListings] = {"ver_concatenacion.rur", "ver_ods.rur",
                                                         "ver_todaslineas.rur"};

bool debug_enabled(const engine::HarmonizerSettings& settings) { return settings.Debug != 0; }

// A listing goes out through the job's writer as every output does; one
// that cannot be created is skipped without a word.
void write_listing(HarmonizerState& state, const char* name, std::string_view text) {
  char path[kListingNameSize];
  listing_path(name, path);
  static_cast<void>(files::write_output(state.results, state.work_folder, path, text, files::Replace::kInPlace));
}

// A growing listing's text: `text` starts it anew (the first write of a
// run) or is added to it.
void grow_listing(DebugListingState& debug, GrowingListing listing, bool anew, std::string text) {
  if (anew) {
    debug.grown[listing] = std::move(text);
  } else {
    debug.grown[listing] += text;
  }
}

// The chord table entry in force at a unit's first note (an empty entry for
// an index outside the table, which the engine never leaves).
engine::HarmonyEntry chord_of(const EngineState& engine, int32_t slot) {
  const int32_t index = engine::unit_slot(engine, slot).chord_index;
  if (index < 0 || index >= engine.chords.size()) return engine::HarmonyEntry{};
  return engine.chords.entries[index];
}

// Notes of a line that can be read: Tmno never exceeds the line's room.
int32_t notes_of(const Line& line) {
  if (line.Tmno < 0) return 0;
  return line.Tmno < engine::kMaxLineNotes ? line.Tmno : engine::kMaxLineNotes;
}

bool is_empty(const Candidate& candidate) { return candidate.notes[0].pitch == -1; }

void print_state(std::FILE* file, const LinkState& s) {
  std::fprintf(file, "%d %d %d %d %d %d %d ", s.bar, s.click, s.duration, s.given_pitch,
               s.tie_flags, s.chosen_pitch, s.tone_type);
}

void print_line_fields(std::FILE* file, const Line& line) {
  std::fprintf(file, "\tTipo=%d Ins=%d Arn=%d Tmno=%d Yarm=%d Lp=%d Lh=%d\n", line.Tipo, line.Ins,
               line.Arn, line.Tmno, line.Yarm, line.Lp, line.Lh);
}

void print_pitch_names(std::FILE* file, const PathNote* notes, int32_t count) {
  char name[engine::kNoteNameSize];
  for (int32_t k = 0; k < count; ++k) {
    std::fprintf(file, "%s ", engine::note_name(notes[k].pitch, name));
  }
}

void print_type_names(std::FILE* file, const PathNote* notes, int32_t count) {
  for (int32_t k = 0; k < count; ++k) {
    std::fprintf(file, "%s ", engine::tone_type_name(notes[k].type));
  }
}

// Appends the notes of a line under the pitches of one path to `music`,
// moved so that the path of rank k starts at bar 2k + 1, and prints their
// tone types. Records that the MIDI writer could not double are left out
// (the listing itself stays whole).
void add_path_records(std::FILE* file, engine::MusicNoteTable& music, const Line& line,
                      const PathNote* notes, int32_t rank, int32_t chord_bar) {
  const int32_t count = notes_of(line);
  const bool room = music.note_count + count <= kDebugNoteRoom / 2;
  for (int32_t k = 0; k < count; ++k) {
    const engine::LineNote& n = line.notes[k];
    if (room) {
      music.reserve(music.note_count + 1);
      MusicNote& record = music.notes[music.note_count++];
      record.Inst = 1;
      record.Cpin = static_cast<int32_t>(int64_t{n.bar} + 2 * rank + 1 - chord_bar);
      record.Ckin = n.click;
      record.Dur = n.duration;
      record.Note = notes[k].pitch;
      record.Vel = n.velocity;
      record.tie_flags = static_cast<uint32_t>(n.tie_flags);
    }
    std::fprintf(file, "%s ", engine::tone_type_name(notes[k].type));
  }
}

}  // namespace

void list_result(HarmonizerState& state) {
  if (!debug_enabled(state.settings)) return;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  std::fputs("ZAVIR Output Data\n\n", f);
  std::fputs("Inst\tCpin\tCkin\tDur\tNote\tVel\tDiv\n\n", f);
  const engine::MusicNoteTable& music = state.engine.music;
  for (int32_t i = 0; i < music.note_count; ++i) {
    const MusicNote& n = music.notes[i];
    std::fprintf(f, "%d\t%d\t%d\t%d\t%d\t%d\t%d\t\n", n.Inst, n.Cpin, n.Ckin, n.Dur, n.Note, n.Vel,
                 static_cast<int32_t>(n.tie_flags));
  }
  write_listing(state, "ver_ev_zavir.rur", text.take());
}

DebugListings::~DebugListings() {
  // Written once, when the run ends however it ends: a listing never stops
  // the job, so nothing of its writing may escape.
  try {
    for (int32_t k = 0; k < kGrowingListings; ++k) {
      if (!state_.debug.grown[k].empty()) write_listing(state_, kGrowingNames[k], state_.debug.grown[k]);
    }
  } catch (...) {
  }
}

void DebugListings::write_midi(const char* name) {
  char path[kListingNameSize];
  listing_path(name, path);
  // The writer ends the job when it cannot create its file; a listing must
  // not, so a file that cannot be created is skipped here.
  if (files::write_output(state_.results, state_.work_folder, path, "", files::Replace::kInPlace) ==
      files::WriteResult::kNotCreated) {
    return;
  }
  // Called from inside the engine's run, which still ends the job where it
  // stands: a listing that cannot be written ends it the same way.
  const base::Status written = write_notes_midi(state_, state_.debug.notes, state_.debug.note_times, path);
  if (!written.ok()) console::fail_or_stop(console_, written.error());
}

void DebugListings::list_paths(EngineState& engine, int32_t slot, int32_t line,
                               int32_t searched_line) {
  if (!debug_enabled(state_.settings)) return;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  DebugListingState& debug = state_.debug;
  const engine::PoolEntry* pool = engine.pool.entries;
  debug.notes.note_count = 0;
  for (bool& listed : debug.listed) listed = false;

  const Line& ln = engine::unit_slot(engine, slot).lines[searched_line];
  const int32_t chord_bar = chord_of(engine, slot).bar;
  std::fprintf(f, "LT Data --  unidad=%d linea=%d\n\n", slot, line);
  std::fprintf(f, "\nProcesos totales: %d\n\n", engine.pool.process_count);
  std::fputs("Comp, iLT, Proc, Val  --- Tipos de notas \n\n", f);

  int32_t highest = -1;
  for (int32_t x = 0; x < engine::kPoolSize; ++x) {
    if (pool[x].cost >= 0.0) highest = x;
  }
  for (int32_t rank = 0;; ++rank) {
    int32_t best = -1;
    for (int32_t x = 0; x <= highest; ++x) {
      const double cost = pool[x].cost;
      if (!debug.listed[x] && cost >= 0.0 && cost < (best < 0 ? kUnpickable : pool[best].cost)) best = x;
    }
    if (best < 0) break;
    std::fprintf(f, "\n%d, %d, %d, %4.3f\t -- ", 2 * rank + 1, best, pool[best].serial,
                 pool[best].cost);
    print_pitch_names(f, pool[best].notes, notes_of(ln));
    std::fputs(" -- ", f);
    add_path_records(f, debug.notes, ln, pool[best].notes, rank, chord_bar);
    debug.listed[best] = true;
  }
  std::fputc('\n', f);
  write_listing(state_, "Vlt_zavir.rur", text.take());

  write_midi("Vlt_zavir.mid");
}

void DebugListings::list_candidates(EngineState& engine, int32_t slot, int32_t line) {
  if (!debug_enabled(state_.settings)) return;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  DebugListingState& debug = state_.debug;
  debug.notes.note_count = 0;

  const engine::UnitSlot& unit = engine::unit_slot(engine, slot);
  const Line& ln = unit.lines[line];
  const int32_t chord_bar = chord_of(engine, slot).bar;
  std::fprintf(f, "Line Data -- Unidad=%d Linea=%d\n\n", slot, line);
  print_line_fields(f, ln);
  std::fputs("\n\tnp= ", f);
  print_state(f, ln.npadre);
  std::fputs("\n\tnl= ", f);
  print_state(f, ln.nlast);
  std::fputs("\n\nComp, Val  --- Tipos de notas \n\n", f);
  for (int32_t k = 0; k < engine::kMaxCandidates && !is_empty(unit.candidates[line][k]); ++k) {
    const Candidate& candidate = unit.candidates[line][k];
    std::fprintf(f, "\n%d, %4.3f\t -- ", 2 * k + 1, candidate.cost);
    add_path_records(f, debug.notes, ln, candidate.notes, k, chord_bar);
  }
  std::fputc('\n', f);
  write_listing(state_, "Vline_zavir.rur", text.take());

  write_midi("Vline_zavir.mid");
}

void DebugListings::list_link(EngineState& engine, int32_t slot, int32_t line) {
  if (!debug_enabled(state_.settings)) return;
  DebugListingState& debug = state_.debug;
  const bool fresh = debug.last_chord_bar < 0;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  if (fresh) std::fputs("ZAVIR Output Data\nConcatenaciones\n\n", f);
  const int32_t chord_bar = chord_of(engine, 0).bar;
  if (slot == 0 && chord_bar != debug.last_chord_bar) {
    std::fprintf(f, "\n\nCC: %d\n\n", chord_bar);
    debug.last_chord_bar = chord_bar;
  }
  for (int32_t t = 0; t <= slot; ++t) std::fputc('\t', f);
  const LinkState& entry = engine::unit_slot(engine, slot).lines[line].npadre;
  std::fprintf(f, "Lin:%d (np:%d,%d) ", line, entry.chosen_pitch, entry.tone_type);
  if (slot > 0) std::fprintf(f, "(cc:%d)", chord_of(engine, slot).bar);
  std::fputc('\n', f);
  grow_listing(debug, kLinksListing, fresh, text.take());
}

void DebugListings::list_units(EngineState& engine) {
  if (!debug_enabled(state_.settings)) return;
  DebugListingState& debug = state_.debug;
  const bool fresh = debug.summary_writes == 0;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  if (debug.summary_writes == 0) std::fputs("ZAVIR Output Data\nOds Contens\n\n", f);
  const engine::HarmonyEntry chord = chord_of(engine, 0);
  std::fprintf(f, "\nCc:%d  kk:%d", chord.bar, chord.click);
  const engine::UnitSlot& unit = engine::unit_slot(engine, 0);
  for (int32_t l = 0; l < engine::kMaxLines; ++l) {
    const Line& ln = unit.lines[l];
    if (ln.Ins < 0) continue;
    std::fprintf(f, "\n\tln:%d ins:%d arn:%d lh:%d lp:%d tipo:%d tmno:%d yarm:%d\n\t\t", l, ln.Ins,
                 ln.Arn, ln.Lh, ln.Lp, ln.Tipo, ln.Tmno, ln.Yarm);
    for (int32_t k = 0; k < notes_of(ln); ++k) std::fprintf(f, "%d, ", ln.notes[k].given_pitch);
  }
  grow_listing(debug, kUnitsListing, fresh, text.take());
  ++debug.summary_writes;
}

void DebugListings::list_all_lines(EngineState& engine) {
  if (!debug_enabled(state_.settings)) return;
  DebugListingState& debug = state_.debug;
  const bool fresh = debug.all_lines_writes == 0;
  files::MemoryOutput text;
  std::FILE* f = text.file();
  if (f == nullptr) return;
  if (debug.all_lines_writes == 0) {
    std::fputs("ZAVIR Output Data\nContenidos de todas las lineas\n\n", f);
    debug.all_lines_writes = 1;
  }
  const engine::HarmonyEntry chord = chord_of(engine, 0);
  const int32_t clicks_per_sixteenth = state_.settings.time.clicks_per_sixteenth;
  const int32_t sixteenth = clicks_per_sixteenth > 0 ? chord.click / clicks_per_sixteenth : 0;
  const engine::UnitSlot& unit = engine::unit_slot(engine, 0);
  char name[engine::kNoteNameSize];
  for (int32_t l = 0; l < engine::kMaxLines && unit.lines[l].Ins >= 0; ++l) {
    const Line& ln = unit.lines[l];
    const int32_t count = notes_of(ln);
    std::fprintf(f, "\n\n*** Comp\xE1s=%d Semicorchea=%d Linea=%d\n\n", chord.bar, sixteenth, l);
    print_line_fields(f, ln);
    std::fputs("\n\tnpadre= ", f);
    print_state(f, ln.npadre);
    std::fputs("\n\tnlast= ", f);
    print_state(f, ln.nlast);
    std::fputs("\n\n\tntorig\t -- ", f);
    for (int32_t k = 0; k < count; ++k) {
      std::fprintf(f, "%s ", engine::note_name(ln.notes[k].given_pitch, name));
    }
    std::fputs("\n\nNArm, Val  --- Alturas y Tipos de notas  \n", f);
    for (int32_t k = 0; k < engine::kMaxCandidates && !is_empty(unit.candidates[l][k]); ++k) {
      const Candidate& candidate = unit.candidates[l][k];
      std::fprintf(f, "\n%d, %4.3f\t -- ", k, candidate.cost);
      print_pitch_names(f, candidate.notes, count);
      std::fputs("-- ", f);
      print_type_names(f, candidate.notes, count);
    }
    std::fputc('\n', f);
  }
  grow_listing(debug, kAllLinesListing, fresh, text.take());
}

}  // namespace zelvo::harmonizer
