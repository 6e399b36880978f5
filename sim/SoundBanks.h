#pragma once
// The sounds an instrument keeps in its banks, addressed as the instrument
// addresses them: by bank code (the bank select LSB, also the mid byte of dump
// requests and bulk headers) and 0-based program.
//
//   code  bank       kind          programs  writable
//   00    PRE1       normal voice  128       no
//   01    PRE2       normal voice  128       no
//   08    INT        normal voice  128       yes
//   09    EXT        normal voice  128       yes
//   20    PRE drum   drum voice    8         no
//   28    INT drum   drum voice    2         yes
//   29    EXT drum   drum voice    2         yes
//   40    INT perf   performance   128       yes
//   41    EXT perf   performance   64        yes
//
// An image is a byte copy of the sound's BulkRegion of a parameter memory:
// 3072 bytes for a normal voice, 8192 for a drum voice, 4096 for a performance.
//
// Thread: not synchronised; the owner guards it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "synth/BulkSequences.h"

namespace cs6::sim {

struct BankInfo {
    int code;
    DumpType type;
    int programs;
    bool writable;
};

class SoundBanks {
public:
    // Every image zero.
    SoundBanks();

    static std::optional<BankInfo> FindBank(int code);
    static std::size_t ImageSize(DumpType type);

    // The image at (code, program), or an empty span when there is no such
    // location.
    std::span<const std::uint8_t> Image(int code, int program) const;

    // Writable access for the factory and the owner; presets included, since
    // the read-only rule is the instrument's, not the storage's.
    std::span<std::uint8_t> MutableImage(int code, int program);

    bool operator==(const SoundBanks&) const = default;

private:
    std::optional<std::size_t> IndexOf(int code) const;

    // One contiguous store per bank, in Banks() order.
    std::vector<std::vector<std::uint8_t>> stores_;
};

} // namespace cs6::sim
