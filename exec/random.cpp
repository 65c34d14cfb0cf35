#include "random.h"

#include <atomic>

namespace {

std::atomic<uint32_t> gSeed{0};

uint32_t Advance() {
  uint32_t seed = gSeed.load(std::memory_order_relaxed);
  uint32_t next;
  do {
    next = seed * 134775813u + 1u;
  } while (!gSeed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
  return next;
}

}  // namespace

double NextRandom() { return Advance() / 4294967296.0; }

int32_t NextRandomBelow(int32_t n) {
  const uint64_t seed = Advance();
  // u * n with u = seed / 2^32: the product of the integers shifted back is
  // the exact truncation, where a double product could round up to n.
  const uint64_t magnitude = n < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(n)) : static_cast<uint64_t>(n);
  const int64_t r = static_cast<int64_t>((seed * magnitude) >> 32);
  return static_cast<int32_t>(n < 0 ? -r : r);
}

uint32_t RandomSeed() { return gSeed.load(); }
void SetRandomSeed(uint32_t seed) { gSeed.store(seed); }
