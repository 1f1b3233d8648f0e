#pragma once

namespace zelvo::harmonizer {

// The harmonizer's settings (which outlive a job) and its tables. Allocated
// once by the application.
struct HarmonizerState {
};

}  // namespace zelvo::harmonizer
