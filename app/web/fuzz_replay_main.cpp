// zelvo-fuzz-replay.js: every fuzz target in one module under node, so that
// the committed corpora go through the readers as the page runs them
// (32-bit, emscripten's C library). Each target's entry point is renamed
// when it is compiled; fuzz_targets.inc, written by CMake, lists them.
//   node zelvo-fuzz-replay.js TARGET PATH...   (files, or folders of them)
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/whole_file.h"

#define ZELVO_FUZZ_TARGET(name) extern "C" int zelvo_fuzz_##name(const uint8_t* data, size_t size);
#include "fuzz_targets.inc"
#undef ZELVO_FUZZ_TARGET

namespace {

struct Target {
  const char* name;
  int (*run)(const uint8_t* data, size_t size);
};

constexpr Target kTargets[] = {
#define ZELVO_FUZZ_TARGET(name) {#name, zelvo_fuzz_##name},
#include "fuzz_targets.inc"
#undef ZELVO_FUZZ_TARGET
};

bool replay_file(const Target& target, const std::filesystem::path& path) {
  std::string bytes;
  if (!zelvo::files::read_whole(path.string(), bytes)) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const Target* target = nullptr;
  for (const Target& candidate : kTargets) {
    if (argc > 1 && std::strcmp(candidate.name, argv[1]) == 0) target = &candidate;
  }
  if (target == nullptr) {
    std::fprintf(stderr, "usage: zelvo-fuzz-replay.js TARGET PATH...; targets:");
    for (const Target& candidate : kTargets) std::fprintf(stderr, " %s", candidate.name);
    std::fprintf(stderr, "\n");
    return 2;
  }
  int failures = 0;
  int replayed = 0;
  for (int i = 2; i < argc; ++i) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(argv[i], error);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(path, error)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(path);
    }
    for (const auto& file : files) {
      failures += replay_file(*target, file) ? 0 : 1;
      ++replayed;
    }
  }
  std::printf("replayed %d inputs through %s\n", replayed, target->name);
  return failures == 0 && replayed > 0 ? 0 : 1;
}
