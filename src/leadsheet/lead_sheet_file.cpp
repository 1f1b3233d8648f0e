#include "leadsheet/lead_sheet_file.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/message.h"
#include "base/status.h"
#include "base/windows1252.h"
#include "base/work_files.h"
#include "files/first_present.h"
#include "harmonizer/configured_parts.h"
#include "files/whole_file.h"
#include "leadsheet/lead_sheet.h"
#include "intake/score_document.h"

namespace zelvo::leadsheet {

namespace {

base::Status write_whole(const std::string& output, const std::string& text) {
  std::error_code error;
  if (files::write_whole(output, text, &error) == files::WriteResult::kWritten) return base::Status();
  if (!error) return base::Message(base::MessageId::kCannotWriteNamed, output);
  return base::Message(base::MessageId::kCannotWriteFor, output, error.message());
}

// A configuration with the program's defaults but for the parts: the score's
// own as music, the harmony file's after them.
std::string configuration_for(int music_parts) {
  return "// Written by zelvo chords: the music in parts 1 to " + std::to_string(music_parts) +
         " of inmus.xml,\n// the scales and chords in parts " + std::to_string(music_parts + 1) + " and " +
         std::to_string(music_parts + 2) + " of inarm.xml.\nMusicSource = 0\nFirstMusicIns = 1\nLastMusicIns = " +
         std::to_string(music_parts) + "\nFirstHarmIns = " + std::to_string(music_parts + 1) +
         "\nHarmInsNum = 2\n";
}

}  // namespace

std::string harmony_parts_note(const std::string& output, int first_part, HarmonyPartsFrom from, bool spanish) {
  const int32_t language = spanish ? base::kSpanish : base::kEnglish;
  std::string note = base::render(
      base::Message(base::MessageId::kLeadSheetWrote, base::from_utf8(output), first_part, first_part + 1), language);
  switch (from) {
    case HarmonyPartsFrom::kGiven: break;
    case HarmonyPartsFrom::kConfiguration:
      note += base::render(base::Message(base::MessageId::kLeadSheetConfigurationReads), language);
      break;
    case HarmonyPartsFrom::kNewConfiguration:
      note += base::render(base::Message(base::MessageId::kLeadSheetWroteConfiguration), language);
      break;
    case HarmonyPartsFrom::kScoreParts:
      note += base::render(base::Message(base::MessageId::kLeadSheetConfigurationUnread), language);
      break;
  }
  return base::to_utf8(note);
}

base::Status write_lead_sheet_harmony(const std::string& score_path, const std::string& output, int& first_part,
                                      HarmonyPartsFrom* from) {
  HarmonyPartsFrom chosen = HarmonyPartsFrom::kGiven;
  pugi::xml_document score;
  if (base::Status loaded = intake::load_score(score_path, score); !loaded.ok()) return loaded;
  int score_parts = 0;
  for (const pugi::xml_node& part : score.child("score-partwise").children("part")) {
    (void)part;
    ++score_parts;
  }
  // The work's configuration sits beside the harmony file it reads.
  const std::string folder = std::filesystem::path(output).parent_path().string();
  const bool configured =
      files::first_present(folder, base::kConfigurationFiles, files::Presence::kExists) != nullptr;
  if (first_part == 0) {
    const std::optional<int32_t> part = harmonizer::configured_scale_part(folder);
    chosen = part && *part > 0 ? HarmonyPartsFrom::kConfiguration
             : configured      ? HarmonyPartsFrom::kScoreParts
                               : HarmonyPartsFrom::kNewConfiguration;
    first_part = chosen == HarmonyPartsFrom::kConfiguration ? *part : score_parts + 1;
  }
  std::string harmony;
  if (base::Status made = make_harmony_file(score, first_part, score_path, harmony); !made.ok()) return made;
  if (base::Status written = write_whole(output, harmony); !written.ok()) return written;
  if (chosen == HarmonyPartsFrom::kNewConfiguration) {
    base::Status written = write_whole(base::work_path(folder, base::kConfigurationText), configuration_for(score_parts));
    if (!written.ok()) return written;
  }
  if (from != nullptr) *from = chosen;
  return base::Status();
}

}  // namespace zelvo::leadsheet
