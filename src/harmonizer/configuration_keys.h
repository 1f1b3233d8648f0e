#pragma once

// The keys of a configuration file (conar.rur, conar.txt) and the form in
// which a line is matched against them. The harmonizer's reader stores
// what they name; zelvo check reads the same lines to say where a value
// came from, so both match a line the same way.
#include <cstddef>
#include <cstdint>

#include "engine/settings.h"

namespace zelvo::harmonizer {

// A key whose one integer value goes into one setting.
struct IntegerKey {
  const char* name;
  int32_t engine::HarmonizerSettings::*setting;
};

// The integer keys in the order in which a line is matched against them:
// the first key that begins the line is the line's key, so a key must come
// before any longer key it begins. The row keys follow them.
inline constexpr IntegerKey kIntegerKeys[] = {
    {"FirstHarmIns", &engine::HarmonizerSettings::FirstHarmIns},
    {"HarmInsNum", &engine::HarmonizerSettings::HarmInsNum},
    {"FirstMusicIns", &engine::HarmonizerSettings::FirstMusicIns},
    {"LastMusicIns", &engine::HarmonizerSettings::LastMusicIns},
    {"DivideNotes", &engine::HarmonizerSettings::DivideNotes},
    {"HoleForLine", &engine::HarmonizerSettings::HoleForLine},
    {"MinNotesInLine", &engine::HarmonizerSettings::MinNotesInLine},
    {"MaxNotesInLine", &engine::HarmonizerSettings::HarmUnitNoteLimit},  // one setting, two names
    {"HarmUnitNoteLimit", &engine::HarmonizerSettings::HarmUnitNoteLimit},
    {"MelIns", &engine::HarmonizerSettings::MelIns},
    {"BassIns", &engine::HarmonizerSettings::BassIns},
    {"OpeningInt", &engine::HarmonizerSettings::OpeningInt},
    {"NonHarmToneDur", &engine::HarmonizerSettings::NonHarmToneDur},
    {"Debug", &engine::HarmonizerSettings::Debug},
    {"ShowLineInfo", &engine::HarmonizerSettings::ShowLineInfo},
    {"MusicSource", &engine::HarmonizerSettings::MusicSource},
    {"ClicksQuarter", &engine::HarmonizerSettings::ClicksQuarter},
    {"LinkLimit", &engine::HarmonizerSettings::LinkLimit},
    {"LimitNotesThirdIn", &engine::HarmonizerSettings::LimitNotesThirdIn},
    {"LimitNotesThirdBM", &engine::HarmonizerSettings::LimitNotesThirdBM},
    {"NoLinkAct", &engine::HarmonizerSettings::NoLinkAct},
    {"LimitOneLink", &engine::HarmonizerSettings::LimitOneLink},
    {"KeepOtherParts", &engine::HarmonizerSettings::KeepOtherParts},
};
inline constexpr size_t kIntegerKeyCount = sizeof kIntegerKeys / sizeof kIntegerKeys[0];

// The table a row key fills one row of.
enum class RowTable { kToneTypes, kCoefficients };

struct RowKey {
  const char* name;  // kRowKeyLength characters; the row selector follows directly
  RowTable table;
};

inline constexpr RowKey kRowKeys[] = {
    {"NonHarmTonesSort", RowTable::kToneTypes},
    {"NonHarmTonesCoef", RowTable::kCoefficients},
    {"ThemtContourCoef", RowTable::kCoefficients},
};
inline constexpr size_t kRowKeyLength = 16;

// Writes the line `read` as it is matched into `out`, which has room for
// strlen(read) + 1 characters: tabs and blanks dropped, ending at the first
// newline (or at the '\r' of a CRLF end).
void normalise_line(const char* read, char* out);

// Whether a normalised line sets anything: it begins with a letter. Any
// other line is a comment or blank.
bool is_setting_line(const char* line);

// The key that begins the normalised `line`; null when no key does.
const IntegerKey* find_integer_key(const char* line);
const RowKey* find_row_key(const char* line);

}  // namespace zelvo::harmonizer
