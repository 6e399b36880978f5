#pragma once
// The four data files beside the program and the fetching of the user banks
// from the instrument.
//
//   patches_pre.bnk  PRE1 (128 voices), PRE2 (128 voices), PRE drum (8 kits)   852760 bytes
//   patches_int.bnk  INT (128 voices), INT drum (2 kits)                       409990 bytes
//   patches_ext.bnk  EXT, EXT drum, the same                                   409990 bytes
//   perf_init.prf    one performance image                                       8192 bytes
//
// A record is the image (3072 bytes for a voice, 8192 for a kit) followed by
// bank MSB, bank LSB and program; no header, no padding, no count. A short
// file fills what it reaches and leaves the rest as it was.
//
// Thread: the user-interface thread.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "synth/StoredSounds.h"

namespace cs6 {

inline constexpr const char* kPresetBankFileName = "patches_pre.bnk";
inline constexpr const char* kIntBankFileName = "patches_int.bnk";
inline constexpr const char* kExtBankFileName = "patches_ext.bnk";
inline constexpr const char* kInitialPerformanceFileName = "perf_init.prf";
inline constexpr const char* kSettingsFileName = "settings.dat";

inline constexpr std::size_t kNormalVoiceRecordSize = 3075;
inline constexpr std::size_t kDrumVoiceRecordSize = 8195;
inline constexpr std::size_t kPresetBankFileSize = 256 * kNormalVoiceRecordSize + 8 * kDrumVoiceRecordSize;
inline constexpr std::size_t kUserBankFileSize = 128 * kNormalVoiceRecordSize + 2 * kDrumVoiceRecordSize;

enum class FileLoad {
    Complete, // every record was read
    Short,    // the file ended early; the rest kept its previous content
    Missing,  // the file could not be opened or read; nothing changed
};

// patches_pre.bnk into presetBank1, presetBank2 and presetDrums. Throws
// FileError when the file cannot be opened.
FileLoad LoadPresetBanks(const std::filesystem::path& path);
FileLoad LoadPresetBanksFromBytes(std::span<const std::uint8_t> bytes);

// A user bank file into a bank and its drums. A file that cannot be opened
// or read is no error: the load stops where it failed.
FileLoad LoadUserBank(const std::filesystem::path& path, std::span<NormalVoice> bank, std::span<DrumVoice> drums);
FileLoad LoadUserBankFromBytes(std::span<const std::uint8_t> bytes, std::span<NormalVoice> bank,
                               std::span<DrumVoice> drums);

// perf_init.prf into initialPerformance, located 3F 4F 00: up to 8192 bytes
// over a zero image. Throws FileError when the file cannot be opened.
FileLoad LoadInitialPerformance(const std::filesystem::path& path);
FileLoad LoadInitialPerformanceFromBytes(std::span<const std::uint8_t> bytes);

// A user bank file's bytes, and writing it safely: a temporary file beside it
// renamed over the old one, so an interrupted write never loses the old file.
// Throws FileError.
std::vector<std::uint8_t> SerializeUserBank(std::span<const NormalVoice> bank, std::span<const DrumVoice> drums);
void SaveUserBank(const std::filesystem::path& path, std::span<const NormalVoice> bank,
                  std::span<const DrumVoice> drums);

// Called after each request of a fetch with the number done and the total;
// returning false stops the fetch there.
using FetchProgress = std::function<bool(int done, int total)>;

struct FetchReport {
    int requested = 0;          // requests made
    std::vector<bool> answered; // per entry: voices 0..127, then kits
    bool cancelled = false;     // the progress callback stopped it
    bool notServed = false;     // the first two requests got no message at all: the bank was skipped
    bool lost = false;          // the instrument fell silent part way: the rest was not asked

    int Answered() const;
    // Every entry of the bank answered completely.
    bool Complete() const;
};

// One bank's fetch, entry by entry: request(entry) fetches entry 0..total-1
// and says how it went; progress is called after each. A bank whose first two
// requests get no message at all is taken as one the instrument does not have
// (an EXT bank without its card) and not asked further. With giveUpAfter > 0,
// that many silent requests in a row later on mean the instrument is gone and
// end the fetch (lost); otherwise a later silence costs one entry.
using FetchEntry = std::function<DumpOutcome(int entry)>;
FetchReport FetchEntries(int total, const FetchEntry& request, const FetchProgress& progress = {},
                         int giveUpAfter = 0);

// Locates the sound at 3F bankLsb program and fetches it from the instrument
// (a preset through its edit buffer, see RequestFromDevice).
template <typename Sound>
DumpOutcome FetchStoredSound(SynthDevice& device, Sound& sound, int bankLsb, int program)
{
    sound.bankMsb = bank::kStoredSoundMsb;
    sound.bankLsb = static_cast<std::uint8_t>(bankLsb);
    sound.program = static_cast<std::uint8_t>(program);
    return sound.RequestFromDevice(device);
}

// Fetches INT (bankLsb 8, kits 0x28) or EXT (9, kits 0x29) from the instrument
// into bank and drums: 128 voices then 2 kits, each located 3F lsb program.
// An entry whose request was not answered completely keeps its image; the
// bank is fetched by FetchEntries.
FetchReport FetchUserBank(SynthDevice& device, int bankLsb, std::span<NormalVoice> bank, std::span<DrumVoice> drums,
                          const FetchProgress& progress = {});

// One user bank of "Receive INT, EXT patches": what its fetch brought and
// whether its file was written.
struct BankReceipt {
    const char* label;    // "INT" or "EXT"
    const char* fileName; // patches_int.bnk or patches_ext.bnk
    FetchReport fetch;
    bool written = false;
    std::string saveError; // why the complete bank could not be written

    // One line for the closing message.
    std::string Describe() const;
};

// Fetches INT and then EXT, each in full whatever became of the other, and
// writes each bank's file (in folder) only when all of its entries answered.
// A bank whose file was written replaces internalBank/internalDrums or
// externalBank/externalDrums; any other bank keeps in memory what its file
// holds. progress counts over both banks (260); stopping it stops both.
std::array<BankReceipt, 2> ReceiveUserBanks(SynthDevice& device, const std::filesystem::path& folder,
                                            const FetchProgress& progress = {});

} // namespace cs6
