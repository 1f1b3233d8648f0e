#pragma once

// The results a live loop reports, as they come from its thread, and waits
// bounded by minutes that only a hung loop reaches.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "shell/live_loop.h"

namespace zelvo::test {

struct LiveResults {
  void add(shell::LiveResult result) {
    std::lock_guard<std::mutex> hold(lock);
    list.push_back(std::move(result));
    arrived.notify_all();
  }
  bool wait_for(size_t count) {
    std::unique_lock<std::mutex> hold(lock);
    return arrived.wait_for(hold, std::chrono::minutes(2), [&] { return list.size() >= count; });
  }
  bool wait_idle(const shell::LiveLoop& loop) {
    std::unique_lock<std::mutex> hold(lock);
    for (int i = 0; i < 1200 && loop.busy(); ++i) arrived.wait_for(hold, std::chrono::milliseconds(100));
    return !loop.busy();
  }
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<shell::LiveResult> list;
};

}  // namespace zelvo::test
