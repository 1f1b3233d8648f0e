#pragma once

// General MIDI's names for the 128 programs, for whoever names a part or a
// channel by its instrument.
namespace zelvo::midi {

// The General MIDI name of a program (0 to 127; anything else reads as 0,
// the piano every General MIDI device starts with).
const char* instrument_name(int program);

}  // namespace zelvo::midi
