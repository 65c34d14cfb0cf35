// The generator behind random and randomu: one linear congruential sequence
// per process, seed := seed * 134775813 + 1 (mod 2^32), never seeded from
// the clock. A run's numbers depend only on the draws made before it in the
// same process, and successive runs continue the sequence.
#pragma once

#include <cstdint>

// Advances the sequence and returns seed / 2^32, in [0, 1).
double NextRandom();
// trunc(u * n) for the next u, computed exactly in integers.
int32_t NextRandomBelow(int32_t n);
// The current seed (tests set it to replay a sequence).
uint32_t RandomSeed();
void SetRandomSeed(uint32_t seed);
