#include "command_help.h"

namespace zelvo::app {

const CommandHelp* find_command(std::string_view name) {
  for (const CommandHelp& command : kCommandHelp) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::string general_usage() {
  std::string text =
      "usage: zelvo [--work DIR] [--lang en|es] COMMAND [ARGUMENTS]\n"
      "       zelvo help COMMAND    (or zelvo COMMAND --help): the command's usage\n"
      "       zelvo --help | --version\n"
      "\n"
      "Commands:\n";
  for (const CommandHelp& command : kCommandHelp) {
    std::string line = "  " + std::string(command.name);
    line.resize(13, ' ');
    text += line + std::string(command.summary) + "\n";
  }
  text +=
      "\n"
      "Options of every command, before or after its name:\n"
      "  --work DIR    the work folder (default: the current directory); a file\n"
      "                named after chords, notate, render, play or roll is taken\n"
      "                from it, and what they write goes there\n"
      "  --lang en|es  the language of the jobs' console (default: en)\n"
      "\n"
      "Exit status: 0 done, 1 aborted by an error (for check: something found),\n"
      "2 a usage error or a missing folder to read from, 130 stopped (Ctrl-C).\n";
  return text;
}

std::string job_usage(std::string_view name) {
  const std::string command(name);
  std::string text = "usage: zelvo " + command + " [--notation [--grid 16|8t|32|exact]] [--work DIR] [--lang en|es]\n";
  if (name == "compose") text += "       zelvo compose --set TABLE:ROW:COL=VALUE [--set ...] [--force]\n";
  text +=
      "\n"
      "Runs one job in the work folder and prints its console. Ctrl-C stops the\n"
      "job; a second Ctrl-C exits at once.\n"
      "\n"
      "  compose     compile incom.htm and write outco.rur and outco.mid\n"
      "  harmonize   harmonize the music named by conar.txt and write outar.mid\n"
      "  all         compose, then harmonize\n"
      "  --notation  also write outco.musicxml and outar.musicxml (tone types\n"
      "              as lyrics) beside the MIDI files; --grid as for notate\n"
      "  --set       compose with cells changed for this run only, leaving\n"
      "              incom.htm as it is (addresses as for zelvo tables set)\n"
      "\n"
      "Exit status: 0 the job ran to its end, 1 it was aborted by an error,\n"
      "130 it was stopped, 2 usage error.\n";
  return text;
}

const char* const kProjectUsage =
    "usage: zelvo project new --work DIR [--template DIR] [--lang en|es]\n"
    "       zelvo project save|load --work DIR --project DIR [--lang en|es]\n"
    "\n"
    "  project new   empty the work folder and copy the template folder into it\n"
    "                (default: ./Template, else the installed one); incom.htm is made from\n"
    "                incom_eng.htm or incom_spa.htm by the language\n"
    "  project save  copy the work folder's files into the project folder, made\n"
    "                when missing (incom.htm in a project folder Song becomes\n"
    "                incom-Song.htm)\n"
    "  project load  empty the work folder and copy the project's files back\n"
    "                (incom-Song.htm becomes incom.htm)\n"
    "\n"
    "Exit status: 0 every file was copied, 1 a folder could not be read or a\n"
    "file not copied or deleted, 2 a usage error, a missing folder to read\n"
    "from, or a work folder that is also the template or project folder.\n";

}  // namespace zelvo::app
