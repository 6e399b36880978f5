#pragma once
// The editor's four data files made from an instrument's sounds, so that the
// names the editor lists are the names the emulated instrument holds, and a
// small reader to check them.
//
//   patches_pre.bnk   128 PRE1 + 128 PRE2 voice records, 8 PRE drum records   852760 bytes
//   patches_int.bnk   128 INT voice records, 2 INT drum records              409990 bytes
//   patches_ext.bnk   the same for EXT                                       409990 bytes
//   perf_init.prf     one 8192-byte performance-region image                  8192 bytes
//
// A record is the image (3072 bytes for a voice, 8192 for a kit) followed by
// the location bytes bank MSB (3F), bank LSB (the bank code), program (0-based).
// No header, no padding, no count.
//
// Thread: any; the functions share nothing.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/SoundBanks.h"

namespace cs6::sim {

inline constexpr const char* kPresetBankFile = "patches_pre.bnk";
inline constexpr const char* kIntBankFile = "patches_int.bnk";
inline constexpr const char* kExtBankFile = "patches_ext.bnk";
inline constexpr const char* kInitialPerformanceFile = "perf_init.prf";

inline constexpr std::size_t kVoiceRecordSize = 3075;
inline constexpr std::size_t kKitRecordSize = 8195;
inline constexpr std::size_t kPresetBankFileSize = 256 * kVoiceRecordSize + 8 * kKitRecordSize; // 852760
inline constexpr std::size_t kUserBankFileSize = 128 * kVoiceRecordSize + 2 * kKitRecordSize;   // 409990
inline constexpr std::size_t kPerformanceImageSize = 8192;

enum class BankFile { Preset, Int, Ext };

// In-memory twins of the bank files.
std::vector<std::uint8_t> BankFileBytes(const SoundBanks& banks, BankFile file);

struct WriteResult {
    enum class Outcome {
        Written,
        CouldNotCreate, // the temporary file could not be opened
        CouldNotWrite,  // writing or closing it failed
        CouldNotRename, // it could not take the final name
        WrongImageSize, // an image handed in is not the size its file holds
    };
    Outcome outcome = Outcome::Written;
    std::filesystem::path path; // the file that failed (or the last one written)
    std::string detail;
};

// Writes one file safely: the bytes go to "<name>.tmp" beside it, which is
// then renamed over the final name, so a reader never sees half a file.
// Two writers of the same file at once are not supported.
[[nodiscard]] WriteResult WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The four files into an existing directory; stops at the first failure.
// initialPerformance must be kPerformanceImageSize bytes.
[[nodiscard]] WriteResult WriteDataFiles(const std::filesystem::path& directory, const SoundBanks& banks,
                                         std::span<const std::uint8_t> initialPerformance);

// The factory banks and the factory "Init Perf".
[[nodiscard]] WriteResult WriteFactoryDataFiles(const std::filesystem::path& directory);

// Reading back, for tests.
struct BankRecord {
    std::vector<std::uint8_t> image;
    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;
    std::uint8_t program = 0;
};

struct BankFileContents {
    enum class Outcome { Read, CouldNotOpen, WrongSize };
    Outcome outcome = Outcome::Read;
    std::vector<BankRecord> voices; // in file order
    std::vector<BankRecord> kits;
};

BankFileContents ReadBankBytes(std::span<const std::uint8_t> bytes, BankFile file);
BankFileContents ReadBankFile(const std::filesystem::path& path, BankFile file);

// The whole file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

} // namespace cs6::sim
