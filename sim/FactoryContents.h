#pragma once
// The factory contents of the emulated instrument: invented but plausible
// voices, kits and performances, the same on every run and every machine (the
// only randomness is a fixed-seed generator of our own, not the standard
// library's distributions, whose results vary between implementations).
//
// Voices cover all 23 categories; performances use preset voices and kits on
// sensible part settings; every reverb and chorus type is a key of the effect
// type table.
//
// Thread: any; nothing is shared.

#include <cstdint>
#include <vector>

#include "sim/SoundBanks.h"
#include "synth/ParameterMemory.h"

namespace cs6::sim {

// All nine banks filled.
SoundBanks MakeFactoryBanks();

// The performance region (8192 bytes) of an otherwise empty memory holding
// the neutral initial performance "Init Perf".
std::vector<std::uint8_t> MakeInitialPerformanceImage();

} // namespace cs6::sim
