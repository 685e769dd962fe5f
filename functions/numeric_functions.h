#pragma once
#include <cstdint>

namespace morven {

// The seed of the random numbers (0 at start, so a run repeats its sequence).
extern uint32_t RandomSeed;

// 0xBC: seeds the random numbers from the UTC time of day in milliseconds.
void SeedRandomCommand();

}  // namespace morven
