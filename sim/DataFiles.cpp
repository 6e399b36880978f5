#include "sim/DataFiles.h"

#include <algorithm>
#include <array>
#include <utility>

#include "framework/FileIo.h"
#include "sim/FactoryContents.h"

namespace cs6::sim {
namespace {

struct FileLayout {
    std::array<int, 2> voiceBanks; // a code below 0 is unused
    int kitBank;
};

FileLayout LayoutOf(BankFile file)
{
    switch (file) {
    case BankFile::Preset:
        return {{bank::kPre1, bank::kPre2}, bank::kPreDrum};
    case BankFile::Int:
        return {{bank::kInt, -1}, bank::kIntDrum};
    case BankFile::Ext:
        return {{bank::kExt, -1}, bank::kExtDrum};
    }
    return {{-1, -1}, -1};
}

int Programs(int code) { return code < 0 ? 0 : SoundBanks::FindBank(code)->programs; }

// Every program of the bank as a stored sound located where the instrument
// keeps it.
template <typename Sound>
void AppendBank(std::vector<Sound>& sounds, const SoundBanks& banks, int code)
{
    for (int program = 0; program < Programs(code); ++program) {
        Sound& sound = sounds.emplace_back(bank::kStoredSoundMsb, static_cast<std::uint8_t>(code),
                                           static_cast<std::uint8_t>(program));
        const auto image = banks.Image(code, program);
        std::copy(image.begin(), image.end(), sound.image.begin());
    }
}

} // namespace

std::vector<std::uint8_t> BankFileBytes(const SoundBanks& banks, BankFile file)
{
    const FileLayout layout = LayoutOf(file);
    std::vector<NormalVoice> voices;
    for (const int code : layout.voiceBanks)
        AppendBank(voices, banks, code);
    std::vector<DrumVoice> kits;
    AppendBank(kits, banks, layout.kitBank);
    return SerializeUserBank(voices, kits);
}

WriteResult WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    try {
        WriteFileAtomically(path, bytes);
    } catch (const FileError& error) {
        return {WriteResult::Outcome::CouldNotWrite, path, error.Reason()};
    }
    return {WriteResult::Outcome::Written, path, {}};
}

WriteResult WriteDataFiles(const std::filesystem::path& directory, const SoundBanks& banks,
                           std::span<const std::uint8_t> initialPerformance)
{
    if (initialPerformance.size() != kPerformanceRegion.size)
        return {WriteResult::Outcome::WrongImageSize, directory / kInitialPerformanceFileName,
                "the initial performance is not a performance-region image"};
    const std::pair<const char*, BankFile> banksFiles[] = {{kPresetBankFileName, BankFile::Preset},
                                                           {kIntBankFileName, BankFile::Int},
                                                           {kExtBankFileName, BankFile::Ext}};
    for (const auto& [name, file] : banksFiles) {
        WriteResult result = WriteFileSafely(directory / name, BankFileBytes(banks, file));
        if (result.outcome != WriteResult::Outcome::Written)
            return result;
    }
    return WriteFileSafely(directory / kInitialPerformanceFileName, initialPerformance);
}

WriteResult WriteFactoryDataFiles(const std::filesystem::path& directory)
{
    return WriteDataFiles(directory, MakeFactoryBanks(), MakeInitialPerformanceImage());
}

} // namespace cs6::sim
