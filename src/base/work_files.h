#pragma once

#include <string>

#include "files/paths.h"

// The fixed names of the files of a work folder. Every job is given its work
// folder and reads and writes them there (never through the process's current
// directory, so that jobs in two folders may run at once); a saved project
// renames them by their stems.
namespace zelvo::base {

inline constexpr char kCompositionFile[] = "incom.htm";
inline constexpr char kCompositionCopyFile[] = "incom.htc";  // read first when present
inline constexpr char kEnglishTemplateFile[] = "incom_eng.htm";
inline constexpr char kSpanishTemplateFile[] = "incom_spa.htm";
inline constexpr char kSequenceFile[] = "insec.xml";
inline constexpr char kCompositionListing[] = "outco.rur";
inline constexpr char kCompositionMidi[] = "outco.mid";
inline constexpr char kConfigurationStem[] = "conar";
inline constexpr char kConfigurationFile[] = "conar.rur";  // read first when present
inline constexpr char kConfigurationText[] = "conar.txt";
inline constexpr char kMusicFile[] = "inmus.xml";
inline constexpr char kHarmonyFile[] = "inarm.xml";
inline constexpr char kHarmonyMidi[] = "outar.mid";
inline constexpr char kDebugFolder[] = "_brindebug";  // the harmonizer's debug listings
inline constexpr char kInformationFile[] = "infor.rur";  // edited first when present
inline constexpr char kInformationText[] = "infor.txt";
inline constexpr char kHarmonyTones[] = "outar.tones";  // the result's tone types, for the piano roll
inline constexpr char kCompositionNotation[] = "outco.musicxml";
inline constexpr char kHarmonyNotation[] = "outar.musicxml";
// Compressed MusicXML read in place of a missing .xml file.
inline constexpr char kSequenceArchive[] = "insec.mxl";
inline constexpr char kMusicArchive[] = "inmus.mxl";
inline constexpr char kHarmonyArchive[] = "inarm.mxl";

// The music each value 0 to 3 of the configuration's MusicSource names:
// a score, the composer's listing, the harmony file's own parts, the
// composer's MIDI file.
inline constexpr const char* kMusicSourceFiles[] = {kMusicFile, kCompositionListing, kHarmonyFile,
                                                    kCompositionMidi};
inline constexpr int kMusicSourceCount = 4;

// The stems whose files a saved project renames.
inline constexpr const char* kWorkFileStems[] = {"infor", "incom", "insec", "outco",
                                                 "conar", "inmus", "inarm", "outar"};

// The path of `name` inside the work folder `folder`. Messages keep showing
// the bare name; only the opening goes through this. An empty folder stands
// for the current directory, as a relative path does.
inline std::string work_path(const std::string& folder, const std::string& name) {
  return files::join_path(folder, name);
}

}  // namespace zelvo::base
