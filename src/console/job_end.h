#pragma once

namespace zelvo::console {

// How a job ended. A stop or an abort unwinds the job's call stack to its
// runner by throwing JobEnded; destructors close whatever files the job held.
enum class JobOutcome { kFinished, kStopped, kAborted };

struct JobEnded {
  JobOutcome outcome;
};

}  // namespace zelvo::console
