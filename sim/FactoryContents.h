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

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/SoundBanks.h"
#include "synth/ParameterMemory.h"

namespace cs6::sim {

// All nine banks filled.
SoundBanks MakeFactoryBanks();

// The performance region (8192 bytes) of an otherwise empty memory holding
// the neutral initial performance "Init Perf".
std::vector<std::uint8_t> MakeInitialPerformanceImage();

// Effect type keys (MSB * 256 + LSB) the factory picks from.
std::span<const int> FactoryReverbTypes();
std::span<const int> FactoryChorusTypes();

// Addresses of performance parameters the factory sets (low bytes inside 30 00
// and inside a part block 31 pp).
namespace perf {
inline constexpr int kCategory = 0x0C;
inline constexpr int kMasterKeyboardMode = 0x0E; // 0 split, 1 4zone, 2 layer
inline constexpr int kSplitPoint = 0x0F;
inline constexpr int kArpeggioOn = 0x14;
inline constexpr int kVolume = 0x38;

inline constexpr int kPartBankMsb = 0x00;
inline constexpr int kPartBankLsb = 0x01;
inline constexpr int kPartProgram = 0x02;
inline constexpr int kPartReceiveChannel = 0x03; // 0..15, 16 off
inline constexpr int kPartVolume = 0x0D;
inline constexpr int kPartPan = 0x0E;
inline constexpr int kPartReverbSend = 0x12;
inline constexpr int kPartChorusSend = 0x13;
inline constexpr int kPartNoteShift = 0x15; // 64 is no shift
inline constexpr int kPartSwitches = 0x1D;  // bit 0 layer, bit 1 arpeggio, bits 2..6 receive
inline constexpr std::uint8_t kReceiveOff = 16;
} // namespace perf

// The part blocks in part-index order: 00..0F, 40, 50, 60, 61.
std::span<const int> PartIndexes();

} // namespace cs6::sim
