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
// An image is a byte copy of the sound's StoredRegion of a parameter memory:
// 3072 bytes for a normal voice, 8192 for a drum voice, 4096 for a performance.
//
// Thread: not synchronised; the owner guards it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/BulkSequence.h"
#include "synth/StoredSounds.h"

namespace cs6::sim {

namespace bank {
inline constexpr int kPre1 = 0x00;
inline constexpr int kPre2 = 0x01;
inline constexpr int kInt = 0x08;
inline constexpr int kExt = 0x09;
inline constexpr int kPreDrum = 0x20;
inline constexpr int kIntDrum = 0x28;
inline constexpr int kExtDrum = 0x29;
inline constexpr int kIntPerf = 0x40;
inline constexpr int kExtPerf = 0x41;
} // namespace bank

// Bank select MSB of every bank above: the one the editor's stored sounds use.
inline constexpr std::uint8_t kStoredBankMsb = kStoredSoundBankMsb;

// Where names and the category sit inside an image (positions in the image),
// as the editor's stored sounds read them.
namespace field {
inline constexpr std::size_t kNameLength = 10;
inline constexpr std::size_t kVoiceName = NormalVoice::kNameOffset;         // block 40 70, bytes 0..9
inline constexpr std::size_t kVoiceCategory = NormalVoice::kCategoryOffset; // block 40 70, byte 12
inline constexpr std::size_t kKitName = DrumVoice::kNameOffset;             // block 46 70, bytes 0..9
inline constexpr std::size_t kPerformanceName = Performance::kNameOffset;   // block 30 00, bytes 0..9
} // namespace field

struct BankInfo {
    int code;
    SoundKind kind;
    int programs;
    bool writable;
};

class SoundBanks {
public:
    // Every image zero.
    SoundBanks();

    static std::optional<BankInfo> FindBank(int code);
    static std::size_t ImageSize(SoundKind kind);

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
