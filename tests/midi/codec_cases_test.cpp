// The MIDI codec over the table of cases in data/midi/codec_cases.txt: each
// case's file is parsed and the result, the header and every event of every
// track are recorded, one line each.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "midi/codec.h"
#include "support/cases.h"

namespace zelvo::midi {
namespace {

const char* code_name(ParseCode code) {
  constexpr const char* kNames[] = {"read", "not-midi", "damaged-header", "unsupported-format", "time-code",
                                    "file-ends-inside-track", "file-ends-before-track", "ends-inside-delta",
                                    "ends-after-delta", "too-long", "ends-inside-meta", "ends-inside-exclusive",
                                    "no-status", "unknown-status", "ends-inside-event"};
  static_assert(std::size(kNames) == static_cast<size_t>(ParseCode::kEndsInsideEvent) + 1);
  return kNames[static_cast<size_t>(code)];
}

constexpr const char* kDepartureNames[] = {"header-length", "format", "time-code", "cut-chunk", "track-count",
                                           "long-number", "fourth-byte-ends", "long-track",
                                           "status-through-exclusive", "unknown-status", "past-end-of-track",
                                           "damaged-track", "fixed-layout", "leading-metas", "exclusive-to-f7",
                                           "cut-meta"};
static_assert(std::size(kDepartureNames) == kDepartures);

// "call parse" reads strictly; each further word accepts a departure.
std::string record(const std::string& bytes, const std::vector<std::string>& call) {
  ParseOptions options;
  for (size_t w = 1; w < call.size(); ++w) {
    const auto* name = std::find(std::begin(kDepartureNames), std::end(kDepartureNames), call[w]);
    if (name == std::end(kDepartureNames)) return "unknown departure " + call[w] + "\n";
    options.accept(static_cast<Departure>(name - std::begin(kDepartureNames)));
  }
  Song song;
  const ParseResult result = parse(bytes, song, options);
  char line[160];
  std::snprintf(line, sizeof line, "%s track %u offset %u\nformat %u tracks %u division %u\n", code_name(result.code),
                result.track, result.offset, song.format, song.declared_tracks, song.division);
  std::string out = line;
  for (const DepartureMet& d : result.departures) {
    std::snprintf(line, sizeof line, "accepted %s track %u offset %u%s%s\n",
                  kDepartureNames[static_cast<size_t>(d.departure)], d.track, d.offset,
                  d.fault == ParseCode::kRead ? "" : " after ", d.fault == ParseCode::kRead ? "" : code_name(d.fault));
    out += line;
  }
  for (size_t t = 0; t < song.tracks.size(); ++t) {
    std::snprintf(line, sizeof line, "track %zu ends at %lld\n", t + 1, static_cast<long long>(song.tracks[t].end_tick));
    out += line;
    for (const SongEvent& event : song.tracks[t].events) {
      std::snprintf(line, sizeof line, "  @%u tick %lld %02x %02x %02x", event.offset,
                    static_cast<long long>(event.tick), event.status, event.data1, event.data2);
      out += line;
      for (const char c : song.tracks[t].data(event)) {
        std::snprintf(line, sizeof line, " %02x", static_cast<unsigned char>(c));
        out += line;
      }
      out += '\n';
    }
  }
  return out;
}

TEST(CodecCasesTest, EveryFileParsesAsRecorded) {
  test::check_cases(std::string(ZELVO_TEST_DATA) + "/midi/codec_cases.txt", [](const test::Case& c) {
    EXPECT_EQ(c.files.size(), 1u) << c.name;
    return c.files.empty() ? std::string() : record(c.files.front().second, c.call);
  });
}

}  // namespace
}  // namespace zelvo::midi
