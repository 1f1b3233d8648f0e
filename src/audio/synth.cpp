#include "audio/synth.h"

#include <fluidsynth.h>

#include <fstream>
#include <string_view>

namespace zelvo::audio {

namespace {

bool is_soundfont(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[12] = {};
  return in.read(header, sizeof header) && std::string_view(header, 4) == "RIFF" &&
         std::string_view(header + 8, 4) == "sfbk";
}

}  // namespace

void quiet_fluidsynth_log() {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid_set_log_function(level, nullptr, nullptr);
  }
}

Synth::Synth(const std::string& soundfont, double gain) {
  quiet_fluidsynth_log();
  settings_ = new_fluid_settings();
  if (settings_ == nullptr) {
    status_ = base::Message(base::MessageId::kSynthNotSetUp);
    return;
  }
  fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
  fluid_settings_setnum(settings_, "synth.gain", gain);
  fluid_settings_setint(settings_, "synth.cpu-cores", 1);
  fluid_settings_setint(settings_, "synth.reverb.active", 1);
  fluid_settings_setint(settings_, "synth.chorus.active", 1);
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 0);
  synth_ = new_fluid_synth(settings_);
  if (synth_ == nullptr) {
    status_ = base::Message(base::MessageId::kSynthNotSetUp);
    return;
  }
  // FluidSynth hands files it does not know to other loaders, which complain
  // on the terminal: only a SoundFont 2 file ("RIFF" size "sfbk") is given.
  if (!is_soundfont(soundfont) || fluid_synth_sfload(synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    delete_fluid_synth(synth_);
    synth_ = nullptr;
    status_ = base::Message(base::MessageId::kNotASoundfont, soundfont);
  }
}

Synth::~Synth() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

void Synth::send(const midi::TimelineEvent& event) {
  const int channel = event.channel;
  switch (event.kind) {
    case midi::EventKind::kNoteOn: fluid_synth_noteon(synth_, channel, event.data1, event.data2); break;
    case midi::EventKind::kNoteOff: fluid_synth_noteoff(synth_, channel, event.data1); break;
    case midi::EventKind::kKeyPressure:
      fluid_synth_key_pressure(synth_, channel, event.data1, event.data2);
      break;
    case midi::EventKind::kController: fluid_synth_cc(synth_, channel, event.data1, event.data2); break;
    case midi::EventKind::kProgram: fluid_synth_program_change(synth_, channel, event.data1); break;
    case midi::EventKind::kChannelPressure: fluid_synth_channel_pressure(synth_, channel, event.data1); break;
    case midi::EventKind::kPitchBend: fluid_synth_pitch_bend(synth_, channel, event.value); break;
    case midi::EventKind::kTempo:
    case midi::EventKind::kTimeSignature:
    case midi::EventKind::kKeySignature:
    case midi::EventKind::kSystem: break;
  }
}

}  // namespace zelvo::audio
