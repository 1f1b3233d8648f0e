#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "player/output.h"
#include "player/output_choice.h"

// The commands that play results in real time: into a MIDI port of the
// ALSA sequencer or JACK, or through the built-in synthesizer.
namespace zelvo::app {

// zelvo ports
int run_ports_command(int argc, char** argv);

// zelvo play FILE.mid [--port NAME | --synth] [--loop] [--from BAR] [--to BAR] [--channels LIST]
int run_play_command(int argc, char** argv);

// zelvo watch [--work DIR] [--harmonize] [--swap bar|beat|now] [--channels LIST] [--port NAME | --synth]
int run_watch_command(int argc, char** argv);

// Where the sound goes, as --port NAME, --synth and --soundfont FILE say.
using player::OutputChoice;

// Takes --port NAME, --synth or --soundfont FILE at argv[i] (moving i past
// a value). Returns false when argv[i] is none of them; sets `problem` when
// it is one but wrong (in `language`).
bool take_output_option(int argc, char** argv, int& i, OutputChoice& choice, std::string& problem, int language);

// Opens the chosen output and says on the standard output where it plays.
base::Status open_output(const OutputChoice& choice, std::unique_ptr<player::Output>& output);

// Blocks SIGINT and SIGTERM in every thread made from now on; the command
// takes them itself, as its Stop.
void block_stop_signals();

// Waits up to `milliseconds` for SIGINT or SIGTERM; true when one came.
bool stop_signal_within(int milliseconds);

}  // namespace zelvo::app
