#include "events.h"

void TRunEvents::Set(int e) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bits_.fetch_or(1u << e, std::memory_order_release);
  }
  changed_.notify_all();
}

void TRunEvents::Reset(int e) {
  std::lock_guard<std::mutex> lock(mutex_);
  bits_.fetch_and(~(1u << e), std::memory_order_release);
}

void TRunEvents::ResetAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  bits_.store(0, std::memory_order_release);
}

int TRunEvents::TakeLowest(unsigned mask) {
  uint32_t hit = bits_.load(std::memory_order_acquire) & mask;
  if (hit == 0) return -1;
  int e = __builtin_ctz(hit);
  if (!IsManual(e)) bits_.fetch_and(~(1u << e), std::memory_order_release);
  return e;
}

int TRunEvents::Poll(unsigned mask) {
  // A manual-reset event is only read, never consumed, so it needs no lock:
  // Run is polled at every line marker of a free-running program.
  const uint32_t hit = bits_.load(std::memory_order_acquire) & mask;
  if (hit == 0) return -1;
  const int lowest = __builtin_ctz(hit);
  if (IsManual(lowest)) return lowest;
  std::lock_guard<std::mutex> lock(mutex_);
  return TakeLowest(mask);
}

int TRunEvents::WaitAny() {
  std::unique_lock<std::mutex> lock(mutex_);
  int e;
  changed_.wait(lock, [&] { return (e = TakeLowest((1u << evCount) - 1)) >= 0; });
  return e;
}
