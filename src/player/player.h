#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "player/output.h"
#include "player/song.h"

// Plays a song into an output in real time, on a thread of its own whose
// clock sleeps until shortly before each message and waits out the rest
// precisely, so that messages leave within a fraction of a millisecond of
// their time.
//
// Used by `zelvo play`, `zelvo watch` and the window:
//   Player player(output);
//   player.play(song, {.from_bar = 3, .loop = true});
//   player.swap_at_next_bar(new_song);   // a new result, no gap
//   player.swap(new_song, SwapPoint::kBeat);
//   player.set_channels(0b101);          // channels 1 and 3 heard
//   player.position();                   // for a play cursor
//   player.stop();                       // every note released
// All functions may be called from any one thread (not the player's own).
namespace zelvo::player {

struct PlayRange {
  int from_bar = 1;   // the first bar played (from 1)
  int to_bar = 0;     // the last bar played; 0 for the song's last
  bool loop = false;  // from `to_bar`'s end back to `from_bar`
};

// Where a new song takes over from the one playing: at its next bar line,
// at its next beat, or at once. Either way the notes sounding are released
// (each with its note-off) and the new song plays from its first bar.
enum class SwapPoint { kBar, kBeat, kNow };

// Channels heard, bit 0 for MIDI channel 1; every channel by default.
inline constexpr uint16_t kAllChannels = 0xFFFF;

struct Position {
  bool playing = false;
  int bar = 0;          // from 1; 0 when nothing plays
  int64_t micros = 0;   // into the song playing
  int64_t tick = 0;     // the same in the song's ticks, for a cursor
  int swaps = 0;        // songs swapped in since play()
};

class Player {
 public:
  explicit Player(Output& output);
  ~Player();  // stops
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Stops what plays, then plays `song` over `range` (bars out of the song
  // are brought into it). Controllers and programs before the first bar are
  // sent at once, so that a seek sounds as playing from the start would.
  void play(Song song, PlayRange range = {});

  // Plays `song` from its first bar at the next bar line of the song
  // playing (its end when none comes sooner): the sounding notes are
  // released and the new song's first messages leave at that moment. The
  // loop setting is kept. With nothing playing, plays it at once. A second
  // call before the bar line replaces the first one's song.
  void swap_at_next_bar(Song song) { swap(std::move(song), SwapPoint::kBar); }
  // The same at the chosen point.
  void swap(Song song, SwapPoint at);

  // Only the channels in `mask` sound from now on: a channel taken out has
  // its sounding notes released at once and its note-ons dropped; every
  // other message (programs, controllers) still goes, so that a channel put
  // back sounds as it would have. Kept through swaps and plays.
  void set_channels(uint16_t mask);
  uint16_t channels() const;

  // Releases every sounding note and sends all-notes-off and sustain off on
  // every channel; returns when the thread has ended. Nothing when stopped.
  void stop();

  void set_loop(bool loop);

  // False once the range has played to its end (never while looping) or
  // after stop().
  bool playing() const;

  Position position() const;

 private:
  using Clock = std::chrono::steady_clock;
  enum class Due { kMessage, kRangeEnd, kSwap };

  void run();
  Due next_due(int64_t& micros) const;
  void dispatch(Due due);
  void send(const TimedMessage& message);
  void release_sounding();
  void release_channel(int channel);
  void silence_all_channels();
  int64_t range_end() const;

  Output& output_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;

  // Guarded by mutex_.
  std::shared_ptr<const Song> song_;
  std::shared_ptr<const Song> pending_;  // swapped in at pending_at_
  int64_t pending_at_ = 0;               // micros of the current song
  PlayRange range_;
  int64_t begin_ = 0;                    // micros of from_bar's bar line
  Clock::time_point origin_;             // when the song's micro 0 is (was) due
  size_t next_ = 0;                      // the next message to send
  bool running_ = false;
  bool stop_requested_ = false;
  int swaps_ = 0;
  uint16_t channels_ = kAllChannels;
  uint8_t sounding_[16][128] = {};
};

}  // namespace zelvo::player
