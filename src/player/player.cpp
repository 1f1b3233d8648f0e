#include "player/player.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <time.h>

#include <algorithm>
#include <limits>

namespace zelvo::player {

namespace {

using std::chrono::microseconds;

// A condition variable wakes within a scheduler tick or so; the last stretch
// is slept with a 1 us timer slack, then waited out on the clock.
constexpr auto kCoarseMargin = std::chrono::milliseconds(2);
constexpr auto kSpinMargin = microseconds(300);

// A busy machine wakes an ordinary thread a millisecond or more late: the
// player's thread asks for a low real-time priority, as MIDI sequencers do.
// Refused without the right (no audio group, no rtprio limit), it plays on
// at the normal priority.
void ask_for_real_time_priority() {
  sched_param priority{};
  priority.sched_priority = 10;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
}

void wait_precisely(std::chrono::steady_clock::time_point deadline) {
  const auto sleep_until = deadline - kSpinMargin;
  if (std::chrono::steady_clock::now() < sleep_until) {
    const auto since_epoch = sleep_until.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since_epoch);
    timespec until{};
    until.tv_sec = seconds.count();
    until.tv_nsec = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch - seconds).count();
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
    }
  }
  while (std::chrono::steady_clock::now() < deadline) {
  }
}

bool is_note(const TimedMessage& message) {
  const uint8_t kind = message.bytes[0] & 0xF0;
  return kind == 0x80 || kind == 0x90;
}

}  // namespace

Player::Player(Output& output) : output_(output) {}

Player::~Player() { stop(); }

void Player::play(Song song, PlayRange range) {
  stop();
  std::lock_guard lock(mutex_);
  song_ = std::make_shared<const Song>(std::move(song));
  pending_.reset();
  const int bars = song_->bar_count();
  range.from_bar = std::clamp(range.from_bar, 1, bars);
  range.to_bar = range.to_bar <= 0 ? 0 : std::clamp(range.to_bar, range.from_bar, bars);
  range_ = range;
  begin_ = song_->bar_lines[range.from_bar - 1];
  next_ = 0;
  swaps_ = 0;
  origin_ = Clock::now() - microseconds(begin_);  // set again by the thread
  stop_requested_ = false;
  running_ = true;
  thread_ = std::thread(&Player::run, this);
}

void Player::swap(Song song, SwapPoint at) {
  std::unique_lock lock(mutex_);
  if (!running_) {
    const PlayRange range{1, 0, range_.loop};
    lock.unlock();
    play(std::move(song), range);
    return;
  }
  pending_ = std::make_shared<const Song>(std::move(song));
  const int64_t now = std::chrono::duration_cast<microseconds>(Clock::now() - origin_).count();
  const int64_t from = std::max(now, begin_);
  const int64_t end = range_end();
  if (at == SwapPoint::kNow) {
    pending_at_ = std::min(from, end);
  } else if (at == SwapPoint::kBeat) {
    pending_at_ = std::min(song_->next_beat(from), end);
  } else {
    const auto& lines = song_->bar_lines;
    auto line = std::lower_bound(lines.begin(), lines.end(), from);
    pending_at_ = line == lines.end() ? end : std::min(*line, end);
  }
  wake_.notify_all();
}

void Player::set_channels(uint16_t mask) {
  std::lock_guard lock(mutex_);
  // The player's thread sends only while it holds the lock, so the
  // note-offs go out between its messages.
  for (int channel = 0; channel < 16; ++channel) {
    if ((channels_ >> channel & 1) != 0 && (mask >> channel & 1) == 0) release_channel(channel);
  }
  channels_ = mask;
}

uint16_t Player::channels() const {
  std::lock_guard lock(mutex_);
  return channels_;
}

void Player::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_requested_ = true;
    wake_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}

void Player::set_loop(bool loop) {
  std::lock_guard lock(mutex_);
  range_.loop = loop;
  wake_.notify_all();
}

bool Player::playing() const {
  std::lock_guard lock(mutex_);
  return running_;
}

Position Player::position() const {
  std::lock_guard lock(mutex_);
  Position position;
  position.swaps = swaps_;
  if (!running_ || song_ == nullptr) return position;
  const int64_t now = std::chrono::duration_cast<microseconds>(Clock::now() - origin_).count();
  position.playing = true;
  position.micros = std::clamp(now, begin_, std::max(begin_, range_end()));
  position.bar = song_->bar_at(position.micros);
  position.tick = song_->tick_at(position.micros);
  return position;
}

int64_t Player::range_end() const {
  if (range_.to_bar > 0) return song_->bar_lines[range_.to_bar];
  // A loop keeps the meter: it turns at the closing bar line.
  return range_.loop ? std::max(song_->bar_lines.back(), song_->end_micros) : song_->end_micros;
}

Player::Due Player::next_due(int64_t& micros) const {
  const int64_t end = range_end();
  micros = end;
  Due due = Due::kRangeEnd;
  if (next_ < song_->messages.size() && song_->messages[next_].micros < end) {
    micros = song_->messages[next_].micros;
    due = Due::kMessage;
  }
  // At a tie the swap goes first: the old song's messages at the bar line
  // belong to the bar that is not played.
  if (pending_ != nullptr && pending_at_ <= micros) {
    micros = pending_at_;
    due = Due::kSwap;
  }
  return due;
}

void Player::run() {
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  ask_for_real_time_priority();
  std::unique_lock lock(mutex_);
  // The clock starts once the thread runs, a little ahead, so that a slow
  // thread start does not make the first messages late.
  origin_ = Clock::now() + std::chrono::milliseconds(2) - microseconds(begin_);
  // Programs and controllers before the first bar, at once; notes skipped.
  for (; next_ < song_->messages.size() && song_->messages[next_].micros < begin_; ++next_) {
    if (!is_note(song_->messages[next_])) send(song_->messages[next_]);
  }
  while (!stop_requested_) {
    int64_t micros = 0;
    const Due due = next_due(micros);
    const Clock::time_point deadline = origin_ + microseconds(micros);
    const Clock::time_point now = Clock::now();
    if (now + kCoarseMargin < deadline) {
      wake_.wait_until(lock, deadline - kCoarseMargin);
      continue;  // woken early: a stop or a swap may have come
    }
    if (now < deadline) {
      lock.unlock();
      wait_precisely(deadline);
      lock.lock();
      continue;
    }
    if (due == Due::kRangeEnd && !range_.loop) break;
    dispatch(due);
  }
  release_sounding();
  if (stop_requested_) silence_all_channels();
  running_ = false;
}

void Player::dispatch(Due due) {
  switch (due) {
    case Due::kMessage:
      send(song_->messages[next_++]);
      return;
    case Due::kRangeEnd: {
      release_sounding();
      origin_ += microseconds(range_end() - begin_);
      const auto& messages = song_->messages;
      next_ = std::lower_bound(messages.begin(), messages.end(), begin_,
                               [](const TimedMessage& m, int64_t t) { return m.micros < t; }) -
              messages.begin();
      return;
    }
    case Due::kSwap:
      release_sounding();
      origin_ += microseconds(pending_at_);
      song_ = std::move(pending_);
      pending_.reset();
      range_ = PlayRange{1, 0, range_.loop};
      begin_ = 0;
      next_ = 0;
      ++swaps_;
      return;
  }
}

void Player::send(const TimedMessage& message) {
  const uint8_t kind = message.bytes[0] & 0xF0;
  const int channel = message.bytes[0] & 0x0F;
  uint8_t& count = sounding_[channel][message.bytes[1] & 0x7F];
  if (kind == 0x90 && message.bytes[2] > 0) {
    if ((channels_ >> channel & 1) == 0) return;  // not heard
    if (count < 255) ++count;
  } else if (kind == 0x80 || kind == 0x90) {
    if (count > 0) --count;
  }
  output_.send(message.bytes, message.size);
}

void Player::release_sounding() {
  for (int channel = 0; channel < 16; ++channel) release_channel(channel);
}

void Player::release_channel(int channel) {
  for (int pitch = 0; pitch < 128; ++pitch) {
    for (; sounding_[channel][pitch] > 0; --sounding_[channel][pitch]) {
      const uint8_t off[3] = {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 0};
      output_.send(off, 3);
    }
  }
}

void Player::silence_all_channels() {
  for (int channel = 0; channel < 16; ++channel) {
    const uint8_t status = static_cast<uint8_t>(0xB0 | channel);
    const uint8_t all_notes_off[3] = {status, 123, 0};
    const uint8_t sustain_off[3] = {status, 64, 0};
    output_.send(sustain_off, 3);
    output_.send(all_notes_off, 3);
  }
}

}  // namespace zelvo::player
