#pragma once

#include <string>

#include "base/status.h"

namespace zelvo::audio {

// Where General MIDI soundfonts are installed on Debian, and the packages
// that put them there, best first.
inline constexpr const char* kSoundfontFolder = "/usr/share/sounds/sf2";
inline constexpr const char* kSoundfontPackages = "fluid-soundfont-gm or timgm6mb-soundfont";

// The soundfont to use: `given` (a --soundfont option) when not empty, else
// $ZELVO_SOUNDFONT when set and not empty, else the best one found in
// `folder` (FluidR3_GM.sf2, then TimGM6mb.sf2, then default-GM.sf2). The
// file chosen must be readable; when none is, the message names the
// packages to install.
base::Status find_soundfont(const std::string& given, std::string& path,
                            const std::string& folder = kSoundfontFolder);

}  // namespace zelvo::audio
