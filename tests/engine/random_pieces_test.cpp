// The engine on random music, settings and harmony against its recorded
// outcomes (console text, abort, result records; for single lines the
// sorted path pool, cost bits included). The records were taken from a
// literal transcription of the harmonizing rules that agreed with the
// engine on every seed; ZELVO_UPDATE=1 rewrites them.
#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "console/job_end.h"
#include "engine/form_unit.h"
#include "engine/harmonize_units.h"
#include "engine/line_division.h"
#include "engine/path_search.h"
#include "engine_fixture.h"
#include "support/cases.h"

namespace zelvo::engine {
namespace {

using testing_support::chord_marks;

struct RandomPiece {
  std::mt19937 rng;
  explicit RandomPiece(uint32_t seed) : rng(seed) {}
  int32_t pick(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  }
  template <typename T, size_t N>
  T one_of(const T (&values)[N]) {
    return values[pick(0, N - 1)];
  }

  void settings(HarmonizerSettings& set) {
    const int32_t holes[] = {-1, 0, 1, 2, 4, 8};
    set.HoleForLine = one_of(holes);
    set.MinNotesInLine = pick(0, 3);
    const int32_t limits[] = {100, 100, 3, 4, 6, 9, 0, 1, 2};
    set.HarmUnitNoteLimit = one_of(limits);
    const int32_t outer[] = {-2, -1, -1, 1, 2};
    set.MelIns = one_of(outer);
    set.BassIns = one_of(outer);
    set.OpeningInt = pick(-1, 3);
    const int32_t nhd[] = {-1, 0, 1, 2, 4, 8};
    set.NonHarmToneDur = one_of(nhd);
    const int32_t link_limits[] = {-1, 0, 1, 1, 2, 3, 99, 99};
    set.LinkLimit = one_of(link_limits);
    set.LimitNotesThirdIn = pick(-1, 4);
    set.LimitNotesThirdBM = pick(0, 3);
    set.NoLinkAct = pick(0, 2);
    set.LimitOneLink = pick(0, 2);
    set.ShowLineInfo = pick(0, 1);
    const float weights[] = {0.0f, 0.0f, 1.0f, 0.3f, 2.5f, 7.0f, 100.0f, 0.1f, 33.3f, 1e-3f};
    for (int32_t r = 0; r < kProfileRows; ++r) {
      for (int32_t& s : set.NonHarmTonesSort[r]) s = pick(0, 5) == 0 ? pick(-1, 2) : 1;
      for (float& w : set.NonHarmTonesCoef[r]) w = one_of(weights);
    }
    const int32_t beats[] = {2, 3, 4, 4, 4, 6};
    set.time.beats_per_bar = one_of(beats);
    const int32_t quarters[] = {1024, 1024, 480, 96};
    set.time.clicks_per_beat = one_of(quarters);
    set.time.clicks_per_sixteenth = set.time.clicks_per_beat / 4;
  }

  // A few voices per instrument, walking by small steps with some leaps,
  // rests and ties; then the harmony: chords changing every half bar or so.
  void music(EngineState& st, const HarmonizerSettings& set) {
    const int32_t bar = set.time.beats_per_bar * set.time.clicks_per_beat;
    const int32_t six = set.time.clicks_per_sixteenth;
    const int32_t bars = pick(1, 5);
    struct Timed {
      int64_t time;
      MusicNote note;
    };
    std::vector<Timed> notes;
    const int32_t instruments = pick(1, 3);
    for (int32_t k = 0; k < instruments; ++k) {
      const int32_t extra[] = {1, 2, 3, 1, 2, 3, 0, 16};
      const int32_t inst = pick(0, 5) == 0 ? one_of(extra) : k + 1;
      const int32_t voices = pick(1, 3);
      for (int32_t v = 0; v < voices; ++v) {
        int32_t pitch = pick(45, 80);
        int64_t t = pick(0, 3) * six;
        while (t < int64_t{bars} * bar) {
          const int32_t durs[] = {2, 2, 4, 4, 8, 12, 1, 3};
          const int32_t dur = one_of(durs) * six / 2;
          const int32_t steps[] = {-2, -1, 0, 1, 2, -2, -1, 1, 2, 3, -3, 5, -7};
          pitch = std::clamp(pitch + one_of(steps), 30, 100);
          const uint32_t ties = pick(0, 9) == 0 ? static_cast<uint32_t>(pick(1, 3)) : 0;
          notes.push_back({t, MusicNote{inst, static_cast<int32_t>(1 + t / bar),
                                        static_cast<int32_t>(t % bar), dur, pitch, 100, ties}});
          t += dur + (pick(0, 7) == 0 ? pick(1, 12) * six : 0);
        }
      }
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Timed& a, const Timed& b) { return a.time < b.time; });
    st.music.note_count = 0;
    for (const Timed& t : notes) st.music.notes[st.music.note_count++] = t.note;

    const int32_t triads[][3] = {{60, 64, 67}, {62, 65, 69}, {64, 67, 71}, {65, 69, 72},
                                 {67, 71, 74}, {57, 60, 64}, {59, 62, 65}, {62, 66, 69}};
    int32_t k = 0;
    for (int64_t t = 0; t < int64_t{bars} * bar && k < 40; t += bar / 2 * pick(1, 3)) {
      HarmonyEntry& e = st.chords.entries[k++];
      e.bar = static_cast<int32_t>(1 + t / bar);
      e.click = static_cast<int32_t>(t % bar);
      const int32_t* c = triads[pick(0, 7)];
      const int32_t shift = pick(0, 2) * 12;
      if (pick(0, 3) == 0) {
        chord_marks(e.marks, {c[0] + 12 + shift, c[1], c[2]});
      } else {
        chord_marks(e.marks, {c[0], c[1] + shift, c[2], c[0] + 12});
      }
    }
    st.chords.entries[k] = HarmonyEntry{};
    const int32_t scales[][7] = {{60, 62, 64, 65, 67, 69, 71},
                                 {67, 69, 71, 72, 74, 76, 78},
                                 {62, 64, 66, 67, 69, 71, 73},
                                 {57, 59, 60, 62, 64, 65, 68}};
    k = 0;
    const int32_t beat = set.time.clicks_per_beat;
    for (int64_t t = 0; t < int64_t{bars} * bar && k < 10;
         t += bar * pick(1, 3) + pick(0, 1) * beat) {
      HarmonyEntry& e = st.scales.entries[k++];
      e.bar = static_cast<int32_t>(1 + t / bar);
      e.click = static_cast<int32_t>(t % bar);
      const int32_t* s = scales[pick(0, 3)];
      chord_marks(e.marks, {s[0], s[1], s[2], s[3], s[4], s[5], s[6]}, false);
    }
    st.scales.entries[k] = HarmonyEntry{};
  }
};

std::string record(const MusicNote& n) {
  return std::to_string(n.Inst) + "/" + std::to_string(n.Cpin) + "/" + std::to_string(n.Ckin) + "/" +
         std::to_string(n.Dur) + "/" + std::to_string(n.Note) + "/" + std::to_string(n.tie_flags) + "\n";
}

// Bytes no run should read before it writes them: the unit slots (lines and
// candidate lists) and the kept lists' notes and costs, which building the
// state leaves unwritten.
void scribble_unwritten_tables(EngineState& st, uint32_t seed) {
  const unsigned char junk = static_cast<unsigned char>(0x5A ^ seed);
  std::memset(static_cast<void*>(&st.slots[0]), junk, sizeof(UnitSlot) * kUnitSlots);
  std::memset(static_cast<void*>(st.kept.costs), junk, sizeof st.kept.costs);
  std::memset(static_cast<void*>(st.kept.notes), junk, sizeof st.kept.notes);
}

std::string harmonize_random_pieces(bool scribbled) {
  auto st = std::make_unique<EngineState>();
  std::string got;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    if (scribbled) scribble_unwritten_tables(*st, seed);
    RandomPiece piece(seed);
    HarmonizerSettings set;
    piece.settings(set);
    piece.music(*st, set);
    const int32_t count = st->music.note_count;
    console::StandaloneConsole console;
    const base::Status harmonized = harmonize_units(*st, set, console, nullptr);
    const bool aborted = !harmonized.ok();
    // Printed and ended as the harmonizer job ends on it.
    if (aborted) {
      EXPECT_THROW(console::fail(console, harmonized.error()), console::JobEnded);
    }
    got += "seed " + std::to_string(seed) + (aborted ? " aborted\n" : "\n") + test::quoted(console.store().contents());
    if (aborted) continue;
    for (int32_t i = 0; i < count; ++i) got += record(st->music.notes[i]);
  }
  return got;
}

TEST(RandomPiecesTest, HarmonizeAsRecorded) {
  test::expect_recorded(test::test_data("engine/random_pieces.txt"), harmonize_random_pieces(false));
}

// Each piece starts on slots and kept lists full of junk, as a state from
// the allocator may hold: nothing is read that the run did not write.
TEST(RandomPiecesTest, UnwrittenTablesAreNeverRead) {
  if (test::updating()) GTEST_SKIP() << "the record is written from clean tables";
  test::expect_recorded(test::test_data("engine/random_pieces.txt"), harmonize_random_pieces(true));
}

// The tables of notes and times that come from zero pages hold default
// records, as value-initialised tables did, however they grew; a record
// written before the table grew keeps its value.
TEST(ZeroedTableTest, NewRecordsAreDefaultRecords) {
  const MusicNote none{};
  const unsigned char zero[sizeof(MusicNote)] = {};
  ASSERT_EQ(std::memcmp(&none, zero, sizeof zero), 0) << "a default note is zero bytes";
  ZeroedTable<MusicNote> notes(3);
  notes[2].Note = 60;
  for (const int32_t room : {3, 40, 1000, 70000}) {
    grow_to(notes, room, kMaxMusicNotes);
    for (size_t k = 0; k < notes.size(); ++k) {
      if (k == 2) continue;
      ASSERT_EQ(std::memcmp(&notes[k], &none, sizeof none), 0) << k << " of " << room;
    }
    ASSERT_EQ(notes[2].Note, 60);
  }
}

// Emptying a music table leaves every record a default one, whether it was
// written below the table's first size, past it, or read from a file that
// ended inside a note (the record after the last one, reserved and half
// written).
TEST(ZeroedTableTest, AnEmptiedMusicTableHoldsOnlyDefaultRecords) {
  const MusicNote none{};
  MusicNoteTable music;
  for (const int32_t written : {5, kStartMusicNotes + 7}) {
    for (int32_t k = 0; k <= written; ++k) {
      music.reserve(k + 1);
      music.notes[static_cast<size_t>(k)] = MusicNote{1, 2, 3, 4, 60, 90, 1};
      music.note_count = k;
    }
    music.empty();
    ASSERT_EQ(music.note_count, 0);
    for (size_t k = 0; k < music.notes.size(); ++k) {
      ASSERT_EQ(std::memcmp(&music.notes[k], &none, sizeof none), 0) << k << " after " << written;
    }
  }
}

// Every line of a random unit, given a random entry state: whether its
// candidates could be built and the pool they leave.
TEST(RandomPiecesTest, LinesLeaveTheRecordedPool) {
  auto st = std::make_unique<EngineState>();
  std::string got;
  for (uint32_t seed = 1001; seed <= 1150; ++seed) {
    RandomPiece piece(seed);
    HarmonizerSettings set;
    piece.settings(set);
    piece.music(*st, set);
    base::QuietLines lines;
    Engine engine(*st, set, lines, nullptr);
    form_unit(engine, 0, 0);
    divide_lines(engine, 0);
    mark_outer_lines(engine, 0);
    UnitSlot& unit = engine.slot(0);
    for (int32_t l = 0; l < kMaxLines && unit.lines[l].Ins != -1; ++l) {
      Line& line = unit.lines[l];
      if (piece.pick(0, 3) != 0) {
        line.Lp = 0;
        const LineNote& first = line.notes[0];
        const int32_t types[] = {kRe, kRe, kFa, kFd, kPa, kPd, kAs, kAi, kEa, kEd};
        const int32_t beat = set.time.clicks_per_beat;
        line.npadre = LinkState{first.bar - piece.pick(0, 1), piece.pick(0, 3) * beat, beat,
                                first.given_pitch + piece.pick(-3, 3), piece.pick(0, 3),
                                first.given_pitch + piece.pick(-4, 4), piece.one_of(types)};
      }
    }
    for (int32_t l = 0; l < kMaxLines && unit.lines[l].Ins != -1; ++l) {
      const bool no_lookahead = piece.pick(0, 1) == 0;
      const bool built = build_candidates(engine, 0, l, no_lookahead);
      got += "seed " + std::to_string(seed) + " line " + std::to_string(l) + (built ? "\n" : " not built\n");
      if (!built) continue;
      const int32_t count = unit.lines[l].Tmno;
      for (int32_t x = 0; x < kPoolSize; ++x) {
        const PoolEntry& entry = st->pool.entries[x];
        uint64_t bits = 0;
        std::memcpy(&bits, &entry.cost, sizeof bits);
        if (entry.cost == kFreeEntry) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%d %016" PRIx64, x, bits);
        got += text;
        for (int32_t k = 0; entry.cost >= 0.0 && k < count; ++k) {
          got += " " + std::to_string(entry.notes[k].pitch) + "/" + std::to_string(entry.notes[k].type);
        }
        got += "\n";
      }
    }
  }
  test::expect_recorded(test::test_data("engine/random_lines.txt"), got);
}

}  // namespace
}  // namespace zelvo::engine
