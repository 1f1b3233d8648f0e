// MIDI files of any format as outco.mid, opened through the application's
// intake (format 1 merged into one track) and read as the music source.
// The merged track is handed to the harmonizer unwritten: what its reader
// is shown must be what reading the track written as bytes shows.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "harmonizer/midi_events.h"
#include "harmonizer/music.h"
#include "intake/midi_merge.h"
#include "intake/score_intake.h"
#include "midi/write.h"

namespace {

using namespace zelvo;

// Every call, in order, as text.
class RecordingSink final : public harmonizer::MidiEventSink {
 public:
  std::string calls;
  void division(int32_t ticks) override { add("division", ticks); }
  void tempo(int32_t micros) override { add("tempo", micros); }
  void time_signature(int32_t numerator, int32_t exponent) override { add("meter", numerator, exponent); }
  base::Status leading_events_read(int32_t timing_events) override {
    add("leading", timing_events);
    return base::Status();
  }
  void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) override {
    add("on", tick, channel, note, velocity);
  }
  void note_off(int64_t tick, int32_t channel, int32_t note) override { add("off", tick, channel, note); }
  base::Status later_time_signature(int64_t tick, int32_t numerator, int32_t exponent) override {
    add("later meter", tick, numerator, exponent);
    return base::Status();
  }
  void later_tempo(int64_t tick, int32_t micros) override { add("later tempo", tick, micros); }

 private:
  template <typename... Values>
  void add(const char* what, Values... values) {
    calls += what;
    ((calls += ' ', calls += std::to_string(values)), ...);
    calls += '\n';
  }
};

std::string answer_of(const base::Status& status) { return status.ok() ? "read" : base::render(status.error(), 0); }

// The song read as it is and its bytes read must show the same.
void check_read_unwritten(const midi::Song& merged) {
  std::string bytes;
  (void)midi::write(merged, midi::kMergedLayout, bytes);
  RecordingSink from_song;
  RecordingSink from_bytes;
  const std::string song_answer = answer_of(harmonizer::read_midi_events(merged, from_song, "outco.mid"));
  const std::string bytes_answer = answer_of(harmonizer::read_midi_events(bytes, from_bytes, "outco.mid"));
  if (song_answer != bytes_answer || from_song.calls != from_bytes.calls) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size <= 64 * 1024) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Format 0 files too: their one track merged takes shapes a format 1
    // file's seldom does.
    midi::Song merged;
    if (intake::merge_any_midi(bytes, merged) == intake::MidiMerge::kMerged) check_read_unwritten(merged);
  }
  return fuzz::fuzz_file(data, size, 64 * 1024, "outco.mid", [](console::JobConsole& console) {
    static intake::ScoreIntake intake;
    intake.begin_job();
    harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(3);
    state.score_opener = &intake;
    fuzz::or_abort(console, harmonizer::read_music(state, console, harmonizer::Preparation::kCheckOnly));
  });
}
