#pragma once

#include <cstdio>
#include <string>

namespace zelvo::files {

// A read-only stream over `text`, which it owns until it is closed, so the
// line readers read a laid-out score, or a file a job was given as bytes,
// as they read a file. nullptr when the
// system refuses the stream.
std::FILE* open_memory_stream(std::string text);

}  // namespace zelvo::files
