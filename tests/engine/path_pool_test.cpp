// The keyed pool against the pool of scans and exchanges it stands for.
#include "engine/path_pool.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/exchange_order.h"
#include "engine_fixture.h"
#include "support/files.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;

// The layouts of data/engine/exchange_order_cases.txt.
TEST(ExchangeOrderTest, EveryLayoutOfTheTableOrdersAsRecorded) {
  for (const std::string& text : test::table_rows("engine/exchange_order_cases.txt", 20)) {
    std::istringstream words(text.substr(0, text.find('|')));
    std::vector<int32_t> index;
    std::vector<double> cost;
    std::vector<std::string> names;
    int32_t size = 0;
    for (std::string word; words >> word; ++size) {
      if (word == ".") continue;
      const size_t equals = word.find('=');
      names.push_back(word.substr(0, equals));
      index.push_back(size);
      cost.push_back(std::stod(word.substr(equals + 1)));
    }
    std::vector<int32_t> order(index.size());
    exchange_order(index.data(), cost.data(), static_cast<int32_t>(index.size()), size, order.data());
    std::string got;
    for (const int32_t x : order) {
      for (size_t k = 0; k < index.size(); ++k) {
        if (index[k] == x) got += " " + names[k];
      }
    }
    EXPECT_EQ(got, text.substr(text.find('|') + 1)) << text;
  }
}

using PoolTest = EngineTest;

// Each entry told apart by its first two pitches.
int32_t identity(const PoolEntry& entry) { return entry.notes[0].pitch + 128 * entry.notes[1].pitch; }

// Pools like the search's (scored entries mostly low, free ones between
// them, many equal costs, negative zero among them): laid out, they are
// the sorted pool, entry for entry.
TEST_F(PoolTest, LaidOutPoolIsTheSortedPool) {
  std::mt19937 rng(11);
  auto sorted = std::make_unique<PathPool>();
  for (int32_t round = 0; round < 300; ++round) {
    PathPool& pool = st().pool;
    pool.scored_count = 0;
    const int32_t front = static_cast<int32_t>(rng() % 150);
    const int32_t kinds = 1 + round % 7;
    for (int32_t x = 0; x < kPoolSize; ++x) {
      PoolEntry& entry = pool.entries[x];
      entry.notes[0].pitch = static_cast<int8_t>(x % 128);
      entry.notes[1].pitch = static_cast<int8_t>(x / 128);
      entry.serial = x;
      const bool scored = pool.scored_count < kMaxScored && (x < front ? rng() % 3 != 0 : rng() % 40 == 0);
      entry.cost = kFreeEntry;
      if (!scored) continue;
      entry.cost = rng() % 9 == 0 ? -0.0 : static_cast<double>(rng() % kinds) / 8.0;
      pool.scored[pool.scored_count] = x;
      pool.scored_costs[pool.scored_count++] = entry.cost;
    }
    *sorted = pool;
    Engine& e = engine();
    std::swap(st().pool, *sorted);
    sort_pool(e);
    std::swap(st().pool, *sorted);
    lay_out_scored(pool);
    for (int32_t x = 0; x < kPoolSize; ++x) {
      const PoolEntry& got = pool.entries[x];
      const PoolEntry& want = sorted->entries[x];
      ASSERT_EQ(std::signbit(got.cost), std::signbit(want.cost)) << "round " << round << " entry " << x;
      ASSERT_EQ(got.cost, want.cost) << "round " << round << " entry " << x;
      if (want.cost < 0.0) continue;
      ASSERT_EQ(identity(got), identity(want)) << "round " << round << " entry " << x;
      ASSERT_EQ(got.serial, want.serial);
    }
  }
}

// The same paths offered to both pools, many of them alike and many of
// equal cost, in stages: the same paths scored, in the same entries, with
// the same costs and serials; the pools laid out and sorted alike.
TEST_F(PoolTest, KeyedPoolScoresAsTheScanningPool) {
  std::mt19937 rng(5);
  auto scanning = std::make_unique<PathPool>();
  PathPool& keyed = st().pool;
  for (int32_t round = 0; round < 60; ++round) {
    const int32_t count = 1 + round % 6;
    const int32_t pitches = 2 + round % 4;
    for (PathPool* pool : {&keyed, scanning.get()}) {
      for (PoolEntry& entry : pool->entries) entry.cost = kFreeEntry;
      clear_scored(*pool);
      find_free_entries(*pool);
    }
    for (int32_t offer = 0; offer < 400 + round * 10; ++offer) {
      PathNote path[kMaxLineNotes] = {};
      for (int32_t k = 0; k < count; ++k) {
        path[k] = PathNote{static_cast<int8_t>(60 + rng() % pitches), static_cast<int8_t>(rng() % 2)};
      }
      const uint32_t key = path_key(digest_of(path, count), path[count - 1].type);
      const double cost = static_cast<double>(rng() % (3 + round)) / 4.0;
      const int32_t n = take_free_entry(keyed);
      ASSERT_EQ(take_free_entry(*scanning), n);
      keep_scored(keyed, n, path, count, cost, key, offer);
      std::memcpy(scanning->entries[n].notes, path, sizeof(path));
      scanning->entries[n].serial = offer;
      insert_exchange(*scanning, n, cost, count, key);
      ASSERT_EQ(keyed.scored_count, scanning->scored_count);
      for (int32_t x = 0; x < kPoolSize; ++x) {
        ASSERT_EQ(keyed.entries[x].cost, scanning->entries[x].cost) << "round " << round << " offer " << offer;
      }
      for (int32_t i = 0; i < keyed.scored_count; ++i) {
        const PoolEntry& a = keyed.entries[keyed.scored[i]];
        const PoolEntry& b = scanning->entries[scanning->scored[i]];
        ASSERT_EQ(keyed.scored[i], scanning->scored[i]);
        ASSERT_EQ(a.serial, b.serial);
        ASSERT_TRUE(same_notes(a.notes, b.notes, count));
      }
    }
    lay_out_scored(keyed);
    Engine& e = engine();
    std::swap(st().pool, *scanning);
    sort_pool(e);
    std::swap(st().pool, *scanning);
    for (int32_t x = 0; x < kPoolSize; ++x) {
      ASSERT_EQ(keyed.entries[x].cost, scanning->entries[x].cost) << "round " << round;
      if (keyed.entries[x].cost >= 0.0) {
        ASSERT_EQ(keyed.entries[x].serial, scanning->entries[x].serial);
      }
    }
  }
}

}  // namespace
}  // namespace zelvo::engine
