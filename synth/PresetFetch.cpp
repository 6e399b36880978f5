#include "synth/PresetFetch.h"

#include <algorithm>

#include "framework/FileIo.h"

namespace cs6 {
namespace {

// Silent requests in a row, after the first two, that end the fetch.
constexpr int kGiveUpAfter = 3;

constexpr int kPresetVoices = 256;

// PRE1 0..127, PRE2 128..255, PRE drum 256..263.
template <typename Voices, typename Drums>
DumpOutcome FetchPreset(SynthDevice& device, Voices& voices, Drums& drums, int entry)
{
    if (entry < kPresetVoices) {
        const int lsb = entry < 128 ? bank::kPre1 : bank::kPre2;
        return FetchStoredSound(device, voices[static_cast<std::size_t>(entry)], lsb, entry % 128);
    }
    const int kit = entry - kPresetVoices;
    return FetchStoredSound(device, drums[static_cast<std::size_t>(kit)], bank::kPreDrum, kit);
}

} // namespace

BankReceipt ReceivePresetBanks(SynthDevice& device, const std::filesystem::path& folder, const FetchProgress& progress)
{
    // Fetched into copies: the banks in memory change only with their file.
    std::vector<NormalVoice> voices(presetBank1.begin(), presetBank1.end());
    voices.insert(voices.end(), presetBank2.begin(), presetBank2.end());
    std::array<DrumVoice, 8> drums = presetDrums;

    BankReceipt receipt{"PRE", kPresetBankFileName, {}, false, {}};
    receipt.fetch = ReadBetweenSwitchPulses(device, [&] {
        return FetchEntries(
            kPresetEntries, [&](int entry) { return FetchPreset(device, voices, drums, entry); }, progress,
            kGiveUpAfter);
    });
    device.SendPerformance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
    if (!receipt.fetch.Complete())
        return receipt;
    try {
        WriteFileAtomically(folder / kPresetBankFileName, SerializeUserBank(voices, drums));
    } catch (const FileError& error) {
        receipt.saveError = error.Reason();
        return receipt;
    }
    std::copy_n(voices.begin(), 128, presetBank1.begin());
    std::copy_n(voices.begin() + 128, 128, presetBank2.begin());
    presetDrums = drums;
    receipt.written = true;
    return receipt;
}

} // namespace cs6
