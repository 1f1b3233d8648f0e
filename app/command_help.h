#pragma once

#include <string>
#include <string_view>

namespace zelvo::app {

// One command of zelvo, as `zelvo --help` lists it.
struct CommandHelp {
  std::string_view name;
  std::string_view summary;  // one line
};

// Every command, in the order `zelvo --help` lists them.
constexpr CommandHelp kCommandHelp[] = {
    {"compose", "compile incom.htm and write outco.rur and outco.mid"},
    {"harmonize", "harmonize the music named by conar.txt and write outar.mid"},
    {"all", "compose, then harmonize"},
    {"project", "new, save or load: fill the work folder, or keep it in a project folder"},
    {"check", "list what in the work folder is accepted but probably a mistake"},
    {"tables", "show the composition's tables, or set one cell"},
    {"chords", "write the harmony file of a lead sheet's chord symbols"},
    {"notate", "write a MIDI file as MusicXML"},
    {"render", "render a MIDI file into a WAV file"},
    {"roll", "draw a MIDI file as a piano roll (SVG or PNG)"},
    {"ports", "list the MIDI ports that play and watch can send to"},
    {"play", "play a MIDI file in real time"},
    {"watch", "compose on every save of the work folder and loop the result"},
    {"help", "print a command's usage"},
};

// Null when `name` is no command.
const CommandHelp* find_command(std::string_view name);

// What `zelvo --help` prints: the line's shape, every command with its
// summary, the global options and the exit statuses.
std::string general_usage();

// The usage of compose, harmonize or all (`name`), and of project.
std::string job_usage(std::string_view name);
extern const char* const kProjectUsage;

}  // namespace zelvo::app
