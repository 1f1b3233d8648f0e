#pragma once

#include <string>

#include "console/job_console.h"

namespace zelvo::shell {

// Message boxes are worded in English here; the window shows the fixed ones
// in its own language (shell/gui/shell_texts.h).
inline constexpr const char* kErrorTitle = "Error";
inline constexpr const char* kNoWorkFolder =
    "Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders.";
inline constexpr const char* kMissingFolder = "Impossible: Missing Folder (Work or Project)";
// Emptying the work folder would also empty the folder it is about to copy from.
inline constexpr const char* kWorkIsTemplate =
    "Impossible: The Work Folder and the Template Folder are the same.";
inline constexpr const char* kWorkIsProject =
    "Impossible: The Work Folder and the Project Folder are the same.";

inline constexpr const char* kNewWorkTitle = "New Work";
inline constexpr const char* kNewWorkQuestion =
    "Load New Work?\nEvery file of the work folder will be deleted first.";
inline constexpr const char* kSaveProjectTitle = "Save Project";
inline constexpr const char* kSaveProjectQuestion = "Are you sure?";
inline constexpr const char* kLoadProjectTitle = "Load Project";

inline constexpr const char* kAboutTitle = "About Zelvo";
inline constexpr const char* kAboutBody =
    "A tool for algorithmic music.\n\n"
    "The composer turns a composition written as HTML tables into a MIDI file; "
    "the harmonizer gives every note of a piece a pitch and a tone type over its "
    "chords and writes the harmonized music as a MIDI file.";
inline std::string about_text() {
  return std::string(console::kProductName) + " " + console::kVersion + "\n\n" + kAboutBody;
}

}  // namespace zelvo::shell
