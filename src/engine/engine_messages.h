#pragma once

#include "base/status.h"

namespace zelvo::engine {

// Whether a Stop pressed before the job ends on `failure` wins over the
// abort: so for a line that cannot be harmonized, never for a broken limit.
inline bool stop_wins_over(const base::Message& failure) {
  return failure.id() == base::MessageId::kImpossible;
}

}  // namespace zelvo::engine
