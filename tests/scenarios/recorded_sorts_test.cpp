// The two exact sorts on random tables full of ties, against the orders
// recorded from the plain exchange procedure (data/sorts/*.txt): at equal
// times every note-off comes first, and the rest keep the exchange order.
#include <memory>
#include <string>

#include "composer/note_events.h"
#include "harmonizer/note_sort.h"
#include "support/files.h"

namespace zelvo::test {
namespace {

struct Random {
  uint32_t seed = 12345;
  int32_t operator()(uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 16) % range);
  }
};

TEST(RecordedSortsTest, ComposerEvents) {
  auto table = std::make_unique<composer::NoteTable>();
  const composer::ComposerTiming timing{1, 120, 3, 4, 48, 12, 2};
  Random next;
  std::string got;
  for (int round = 0; round < 20; ++round) {
    const int n = 50 + next(32768) % 400;
    table->count = n;
    composer::reserve_events(*table, n);
    for (int i = 0; i < n; ++i) {
      const int inst = 1 + next(32768) % 16, bar = 1 + next(32768) % 3, click = next(32768) % 20,
                dur = next(32768) % 30, vel = next(32768) % 3 == 0 ? 0 : 100;
      table->events[i] = composer::NoteEvent{inst, bar, click, dur, i % 128, vel};
    }
    composer::compute_times(*table, timing);
    composer::sort_events(*table);
    got += "round " + std::to_string(round) + "\n";
    for (int i = 0; i < n; ++i) {
      got += std::to_string(table->times[i]) + " " + std::to_string(table->events[i].Note) + " " +
             std::to_string(table->events[i].Vel) + "\n";
    }
  }
  expect_recorded(test_data("sorts/composer_events.txt"), got);
}

TEST(RecordedSortsTest, HarmonizerNotes) {
  auto state = std::make_unique<harmonizer::HarmonizerState>();
  engine::MusicNoteTable& music = state->engine.music;
  Random next;
  std::string got;
  for (int32_t round = 0; round < 20; ++round) {
    const int32_t n = 1 + next(2000);
    for (int32_t i = 0; i < n; ++i) {
      // Few distinct times and many note-offs, so ties decide the order.
      const int32_t inst = 1 + next(3), bar = 1 + next(3), click = next(4) * 512, note = 40 + next(40),
                    vel = next(3) == 0 ? 0 : 90;
      music.notes[i] = engine::MusicNote{inst, bar, click, i, note, vel, 0};
    }
    music.note_count = n;
    harmonizer::sort_notes(*state);
    got += "round " + std::to_string(round) + "\n";
    for (int32_t i = 0; i < n; ++i) {
      const engine::MusicNote& m = music.notes[i];
      got += std::to_string(m.Inst) + " " + std::to_string(m.Cpin) + " " + std::to_string(m.Ckin) + " " +
             std::to_string(m.Dur) + " " + std::to_string(m.Note) + " " + std::to_string(m.Vel) + "\n";
    }
  }
  expect_recorded(test_data("sorts/harmonizer_notes.txt"), got);
}

}  // namespace
}  // namespace zelvo::test
