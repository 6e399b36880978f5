#pragma once
// The editor's four data files made from an instrument's sounds, so that the
// names the editor lists are the names the emulated instrument holds.
//
// The files, their names, sizes and record layout are the editor's own
// (synth/BankFiles.h): the bytes are made by SerializeUserBank, which the
// editor reads back with LoadUserBankFromBytes, so the two sides share one
// layout. What this adds is the way from a SoundBanks to those records:
//
//   patches_pre.bnk   PRE1, PRE2 (128 voices each), PRE drum (8 kits)
//   patches_int.bnk   INT (128 voices), INT drum (2 kits)
//   patches_ext.bnk   the same for EXT
//   perf_init.prf     one performance-region image
//
// Thread: any; the functions share nothing.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "sim/SoundBanks.h"
#include "synth/BankFiles.h"

namespace cs6::sim {

enum class BankFile { Preset, Int, Ext };

// In-memory twins of the bank files.
std::vector<std::uint8_t> BankFileBytes(const SoundBanks& banks, BankFile file);

struct WriteResult {
    enum class Outcome {
        Written,
        CouldNotWrite,  // creating, writing, syncing or renaming failed; detail says which
        WrongImageSize, // an image handed in is not the size its file holds
    };
    Outcome outcome = Outcome::Written;
    std::filesystem::path path; // the file that failed (or the last one written)
    std::string detail;
};

// Writes one file with WriteFileAtomically (a temporary beside it renamed
// over the final name, so a reader never sees half a file) and turns its
// FileError into an outcome.
[[nodiscard]] WriteResult WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The four files into an existing directory; stops at the first failure.
// initialPerformance must be a whole performance region (kPerformanceRegion).
[[nodiscard]] WriteResult WriteDataFiles(const std::filesystem::path& directory, const SoundBanks& banks,
                                         std::span<const std::uint8_t> initialPerformance);

// The factory banks and the factory "Init Perf".
[[nodiscard]] WriteResult WriteFactoryDataFiles(const std::filesystem::path& directory);

} // namespace cs6::sim
