#include "check/configuration_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "check/check_messages.h"
#include "check/scratch_run.h"
#include "base/work_files.h"
#include "engine/settings.h"
#include "harmonizer/configuration.h"
#include "harmonizer/configuration_keys.h"

namespace zelvo::check {

namespace {

using engine::HarmonizerSettings;

// The range in which each setting's value means something, and why.
struct SettingRange {
  int32_t HarmonizerSettings::*setting;
  int32_t low;
  int32_t high;
  const MessagePair* why;
};

constexpr int32_t kAny = 2147483647;

constexpr SettingRange kRanges[] = {
    {&HarmonizerSettings::FirstHarmIns, -1, 99, &kWhyHarmonyParts},
    {&HarmonizerSettings::HarmInsNum, 2, 99, &kWhyHarmonyParts},
    {&HarmonizerSettings::FirstMusicIns, 1, 15, &kWhyInstrument},
    {&HarmonizerSettings::LastMusicIns, 1, 15, &kWhyInstrument},
    {&HarmonizerSettings::DivideNotes, 0, 1, &kWhySwitch},
    {&HarmonizerSettings::HoleForLine, 0, 64, &kWhySixteenths},
    {&HarmonizerSettings::MinNotesInLine, 1, 100, &kWhyNotes},
    {&HarmonizerSettings::HarmUnitNoteLimit, 2, 100, &kWhyNotes},
    {&HarmonizerSettings::MelIns, -2, 15, &kWhyLineInstrument},
    {&HarmonizerSettings::BassIns, -2, 15, &kWhyLineInstrument},
    {&HarmonizerSettings::OpeningInt, 0, 24, &kWhySemitones},
    {&HarmonizerSettings::NonHarmToneDur, 0, 64, &kWhySixteenths},
    {&HarmonizerSettings::Debug, 0, 1, &kWhySwitch},
    {&HarmonizerSettings::ShowLineInfo, 0, 1, &kWhySwitch},
    {&HarmonizerSettings::MusicSource, 0, 3, &kWhySource},
    {&HarmonizerSettings::ClicksQuarter, 4, kAny, &kWhyClicks},
    {&HarmonizerSettings::LinkLimit, 0, kAny, &kWhyLook},
    {&HarmonizerSettings::LimitNotesThirdIn, 0, 100, &kWhyLook},
    {&HarmonizerSettings::LimitNotesThirdBM, 0, 100, &kWhyLook},
    {&HarmonizerSettings::NoLinkAct, 0, 1, &kWhySwitch},
    {&HarmonizerSettings::LimitOneLink, 0, 1, &kWhySwitch},
    {&HarmonizerSettings::KeepOtherParts, 0, 1, &kWhySwitch},
};

constexpr const SettingRange* range_of(int32_t HarmonizerSettings::*setting) {
  for (const SettingRange& range : kRanges) {
    if (range.setting == setting) return &range;
  }
  return nullptr;
}

constexpr bool every_key_has_a_range() {
  for (const harmonizer::IntegerKey& key : harmonizer::kIntegerKeys) {
    if (range_of(key.setting) == nullptr) return false;
  }
  return true;
}
static_assert(every_key_has_a_range(), "a configuration key's setting needs its range here");

constexpr int32_t kSwitches = engine::kToneTypeSwitches;
constexpr int32_t kWeights = engine::kCostWeights;

// A line as the harmonizer matches it.
std::string normalised(const std::string& read) {
  std::string out(read.size() + 1, '\0');
  harmonizer::normalise_line(read.c_str(), out.data());
  out.resize(std::strlen(out.c_str()));
  return out;
}

// The values after the key: each begins after a '=' or ','.
std::vector<std::string> values_of(const std::string& line) {
  std::vector<std::string> values;
  size_t at = line.find_first_of("=,");
  while (at != std::string::npos) {
    const size_t next = line.find_first_of("=,", at + 1);
    values.push_back(line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
    at = next;
  }
  return values;
}

std::string existing_configuration(const std::string& folder) {
  for (const char* name : {base::kConfigurationFile, base::kConfigurationText}) {
    if (std::FILE* file = std::fopen(base::work_path(folder, name).c_str(), "r")) {
      std::fclose(file);
      return name;
    }
  }
  return std::string();
}

void check_row_line(const std::string& line, int32_t number, int language, const std::string& file,
                    Findings& findings) {
  const std::string key = line.substr(0, line.find_first_of("=,"));
  const std::vector<std::string> values = values_of(line);
  const std::string place = say(language, kPlaceLine, number);
  const harmonizer::RowKey* row_key = harmonizer::find_row_key(line.c_str());
  if (row_key != nullptr && row_key->table == harmonizer::RowTable::kToneTypes) {
    for (int32_t k = 0; k < kSwitches && k < static_cast<int32_t>(values.size()); ++k) {
      const int32_t value = harmonizer::config_integer(values[k].c_str());
      if (value != 0 && value != 1) {
        findings.push_back({file, place, say(language, kSwitchValue, key.c_str(), value, k + 1)});
      }
    }
    return;
  }
  for (int32_t k = 0; k < kWeights && k < static_cast<int32_t>(values.size()); ++k) {
    const double weight = std::strtod(values[k].c_str(), nullptr);
    if (weight < 0) findings.push_back({file, place, say(language, kNegativeWeight, key.c_str(), k + 1, weight)});
  }
}

}  // namespace

void check_configuration(const std::string& folder, int language,
                         Findings& all_findings) {
  // Found per line, then listed in the order of the file's lines.
  Findings findings;
  const std::string file = existing_configuration(folder);
  if (file.empty()) return;
  auto settings = std::make_unique<HarmonizerSettings>();
  if (const base::Status read = harmonizer::read_configuration(*settings, folder).status; !read.ok()) {
    all_findings.push_back({file, std::string(), say(language, kBadConfigLine, error_line(read, language).c_str())});
    return;
  }
  // The line that last set each setting is where its value comes from
  // (two keys name one setting: the later line wins).
  constexpr size_t kKeyCount = harmonizer::kIntegerKeyCount;
  const harmonizer::IntegerKey* const keys = harmonizer::kIntegerKeys;
  int32_t line_of[kKeyCount] = {};
  std::ifstream in(base::work_path(folder, file), std::ios::binary);
  std::string read;
  for (int32_t number = 1; std::getline(in, read); ++number) {
    const std::string line = normalised(read);
    if (!harmonizer::is_setting_line(line.c_str())) continue;
    const harmonizer::IntegerKey* key = harmonizer::find_integer_key(line.c_str());
    if (key == nullptr) {
      check_row_line(line, number, language, file, findings);
      continue;
    }
    for (size_t j = 0; j < kKeyCount; ++j) {
      if (keys[j].setting == key->setting) line_of[j] = 0;
    }
    line_of[key - keys] = number;
  }
  for (size_t i = 0; i < kKeyCount; ++i) {
    const SettingRange* range = range_of(keys[i].setting);
    const int32_t value = (*settings).*(keys[i].setting);
    if (line_of[i] == 0 || (value >= range->low && value <= range->high)) continue;
    findings.push_back({file, say(language, kPlaceLine, line_of[i]),
                        say(language, kOutOfRange, keys[i].name, value, range->low, range->high,
                            say(language, *range->why).c_str())});
  }
  int32_t first_line = 0;
  int32_t last_line = 0;
  for (size_t i = 0; i < kKeyCount; ++i) {
    if (keys[i].setting == &HarmonizerSettings::FirstMusicIns) first_line = line_of[i];
    if (keys[i].setting == &HarmonizerSettings::LastMusicIns) last_line = line_of[i];
  }
  if (settings->LastMusicIns < settings->FirstMusicIns && (first_line != 0 || last_line != 0)) {
    findings.push_back({file, say(language, kPlaceLine, last_line != 0 ? last_line : first_line),
                        say(language, kLastBeforeFirst, settings->LastMusicIns, settings->FirstMusicIns)});
  }
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::atoi(a.place.c_str() + a.place.find(' ') + 1) < std::atoi(b.place.c_str() + b.place.find(' ') + 1);
  });
  all_findings.insert(all_findings.end(), findings.begin(), findings.end());
}

}  // namespace zelvo::check
