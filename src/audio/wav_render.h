#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/status.h"
#include "midi/timeline.h"

// Rendering a song to a WAV file (16-bit PCM, stereo, 44100 Hz), faster
// than real time.
namespace zelvo::audio {

// After the song's last event the reverb and the notes' release ring out
// for this long, so that every render of a song has the same length:
// the song's length in seconds plus this.
inline constexpr double kTailSeconds = 2.0;

struct RenderOptions {
  std::string soundfont;  // a readable file (see find_soundfont)
  double gain = 0.7;      // FluidSynth's master gain
};

// Called after every block of samples with the share of the song done (0
// to 1); returning false stops the render, which then fails ("stopped").
using RenderProgress = std::function<bool(double done)>;

// The number of sample frames of `song`'s render.
int64_t render_frames(const midi::Timeline& song);

// Writes the render of `song` to `output` through a temporary file beside
// it, renamed when complete; on failure nothing is left under either name.
base::Status render_wav(const midi::Timeline& song, const RenderOptions& options, const std::string& output,
                        const RenderProgress& progress);

}  // namespace zelvo::audio
