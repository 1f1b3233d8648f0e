#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "midi/timeline.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

// A FluidSynth synthesizer with one soundfont loaded, set up so that the
// same events always give the same samples: one thread, no dither (the
// samples are taken as floats), chorus and reverb on at their defaults
// (both are fixed filters, no randomness).
namespace zelvo::audio {

inline constexpr int kSampleRate = 44100;
inline constexpr double kDefaultGain = 0.7;

class Synth {
 public:
  // On failure `ok()` is false and `status()` says why.
  Synth(const std::string& soundfont, double gain);
  ~Synth();
  Synth(const Synth&) = delete;
  Synth& operator=(const Synth&) = delete;

  bool ok() const { return synth_ != nullptr; }
  const base::Status& status() const { return status_; }
  fluid_settings_t* settings() { return settings_; }
  fluid_synth_t* synth() { return synth_; }

  // Sends a channel event (tempo and time signatures are the caller's).
  void send(const midi::TimelineEvent& event);

 private:
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  base::Status status_;
};

// FluidSynth writes its own log lines to the terminal; this program reports
// failures in its own words. Call once before the first Synth.
void quiet_fluidsynth_log();

}  // namespace zelvo::audio
