#pragma once

namespace zelvo::shell {

// Menu command numbers as the window receives them.
enum Command : int {
  kCommandNew = 100,
  kCommandOpen = 101,
  kCommandSave = 102,
  kCommandExit = 104,
  kCommandEditInformation = 110,
  kCommandEditHarmOptions = 111,
  kCommandCheck = 112,
  kCommandFolders = 113,
  kCommandOpenMidifile = 114,
  kCommandEnglish = 115,
  kCommandSpanish = 116,
  kCommandComposer = 120,
  kCommandHarmonizer = 121,
  kCommandStop = 122,
  kCommandErase = 123,
  kCommandAll = 124,
  kCommandDocumentation = 125,
  kCommandAbout = 126,
  kCommandWorkFolder = 130,
  kCommandProjectFolder = 131,
};

// Controls of the folders dialog.
enum FoldersControl : int {
  kControlTemplate = 140,
  kControlWork = 141,
  kControlProject = 142,
  kControlExit = 2,
};

// While a job runs only Stop acts; numbers outside 100..131 never act.
constexpr bool command_allowed(int command, bool job_running) {
  if (command < 100 || command > 131) return false;
  return !job_running || command == kCommandStop;
}

}  // namespace zelvo::shell
