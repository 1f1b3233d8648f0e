#include "audio/wav_render.h"

#include <fluidsynth.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "audio/synth.h"
#include "roll/piano_roll.h"

namespace zelvo::audio {

namespace {

constexpr int kChannels = 2;
constexpr int kBlockFrames = 4096;

void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The canonical 44-byte header of a PCM WAV file.
std::vector<uint8_t> wav_header(int64_t frames) {
  const uint32_t data_bytes = static_cast<uint32_t>(frames * kChannels * 2);
  std::vector<uint8_t> header;
  for (char c : std::string("RIFF")) header.push_back(static_cast<uint8_t>(c));
  put_le(header, 36 + data_bytes, 4);
  for (char c : std::string("WAVEfmt ")) header.push_back(static_cast<uint8_t>(c));
  put_le(header, 16, 4);
  put_le(header, 1, 2);  // PCM
  put_le(header, kChannels, 2);
  put_le(header, kSampleRate, 4);
  put_le(header, kSampleRate * kChannels * 2, 4);
  put_le(header, kChannels * 2, 2);
  put_le(header, 16, 2);
  for (char c : std::string("data")) header.push_back(static_cast<uint8_t>(c));
  put_le(header, data_bytes, 4);
  return header;
}

int64_t frame_of(const roll::TempoMap& tempo, int64_t tick) {
  return static_cast<int64_t>(std::llround(tempo.seconds(tick) * kSampleRate));
}

// Rendered blocks go out as 16-bit samples, rounded and clipped: no dither,
// so no randomness.
class PcmOut {
 public:
  PcmOut(Synth& synth, std::FILE* file, const RenderProgress& progress, int64_t total)
      : synth_(synth), file_(file), progress_(progress), total_(std::max<int64_t>(1, total)) {}
  bool stopped() const { return stopped_; }
  bool render(int64_t frames) {
    while (frames > 0) {
      const int count = static_cast<int>(std::min<int64_t>(frames, kBlockFrames));
      fluid_synth_write_float(synth_.synth(), count, left_, 0, 1, right_, 0, 1);
      for (int i = 0; i < count; ++i) {
        pcm_[2 * i] = to_pcm(left_[i]);
        pcm_[2 * i + 1] = to_pcm(right_[i]);
      }
      if (std::fwrite(pcm_, 4, static_cast<size_t>(count), file_) != static_cast<size_t>(count)) return false;
      frames -= count;
      written_ += count;
      if (progress_ && !progress_(static_cast<double>(written_) / static_cast<double>(total_))) {
        stopped_ = true;
        return false;
      }
    }
    return true;
  }
  int64_t written() const { return written_; }

 private:
  static uint16_t to_pcm(float sample) {
    const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    const uint16_t bits = static_cast<uint16_t>(static_cast<int16_t>(value));
    // WAV is little-endian whatever the machine.
    const uint8_t bytes[2] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8)};
    uint16_t out = 0;
    std::memcpy(&out, bytes, 2);
    return out;
  }

  Synth& synth_;
  std::FILE* file_;
  float left_[kBlockFrames];
  float right_[kBlockFrames];
  uint16_t pcm_[2 * kBlockFrames];
  int64_t written_ = 0;
  const RenderProgress& progress_;
  int64_t total_;
  bool stopped_ = false;
};

// Returns false when a write failed or the render was stopped (`stopped`).
bool write_all(const midi::Timeline& song, Synth& synth, std::FILE* file, const RenderProgress& progress,
               bool& stopped) {
  const roll::TempoMap tempo(song);
  const int64_t total = render_frames(song);
  const std::vector<uint8_t> header = wav_header(total);
  if (std::fwrite(header.data(), 1, header.size(), file) != header.size()) return false;
  auto out = std::make_unique<PcmOut>(synth, file, progress, total);
  for (const midi::TimelineEvent& event : song.events) {
    const int64_t at = frame_of(tempo, event.tick);
    if (at > out->written() && !out->render(at - out->written())) {
      stopped = out->stopped();
      return false;
    }
    synth.send(event);
  }
  const bool rendered = out->render(total - out->written());
  stopped = out->stopped();
  return rendered;
}

}  // namespace

int64_t render_frames(const midi::Timeline& song) {
  const roll::TempoMap tempo(song);
  return frame_of(tempo, song.end_tick) + static_cast<int64_t>(std::llround(kTailSeconds * kSampleRate));
}

base::Status render_wav(const midi::Timeline& song, const RenderOptions& options, const std::string& output,
                        const RenderProgress& progress) {
  using enum base::MessageId;
  // Beyond 4 GiB a WAV file's sizes do not fit its header.
  if (render_frames(song) > (int64_t{0xFFFFFFFF} - 36) / (kChannels * 2)) return base::Message(kSongTooLongForWav);
  Synth synth(options.soundfont, options.gain);
  if (!synth.ok()) return synth.status();
  std::string temporary = output + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return base::Message(kCannotWriteBecause, output, std::string(std::strerror(errno)));
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    std::remove(temporary.c_str());
    return base::Message(kFileNotWritten, output);
  }
  fchmod(descriptor, 0644);  // mkstemp makes it private; a render is an ordinary file
  bool stopped = false;
  const bool written = write_all(song, synth, file, progress, stopped);
  const int saved_errno = errno;
  if (std::fclose(file) != 0 || !written) {
    const int reason = written ? errno : saved_errno;
    std::remove(temporary.c_str());
    if (stopped) return base::Message(kRenderStopped);
    return base::Message(kCannotWriteBecause, output, std::string(std::strerror(reason)));
  }
  if (std::rename(temporary.c_str(), output.c_str()) != 0) {
    base::Message failed(kCannotWriteBecause, output, std::string(std::strerror(errno)));
    std::remove(temporary.c_str());
    return failed;
  }
  return base::Status();
}

}  // namespace zelvo::audio
