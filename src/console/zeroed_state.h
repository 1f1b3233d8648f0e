#pragma once

#include <cstdlib>
#include <memory>
#include <new>

namespace zelvo::console {

// The engines' states are large (the harmonizer's holds 25 MB of fixed
// tables) and mostly untouched by a short job; the jobs and the check's
// scratch runs build them here. Value-initialising one with
// new zeroes every byte by hand; memory from calloc is already zero (fresh
// pages from the operating system), so a job pays only for the pages it
// touches. The constructor then writes just the members that have default
// values; every other byte stays the zero that value-initialisation gave.
template <typename State>
struct ZeroedDelete {
  void operator()(State* state) const {
    state->~State();
    std::free(state);
  }
};

template <typename State>
using ZeroedPtr = std::unique_ptr<State, ZeroedDelete<State>>;

template <typename State>
ZeroedPtr<State> make_zeroed() {
  void* raw = std::calloc(1, sizeof(State));
  if (raw == nullptr) throw std::bad_alloc();
  return ZeroedPtr<State>(new (raw) State);
}

}  // namespace zelvo::console
