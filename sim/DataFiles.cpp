#include "sim/DataFiles.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "sim/FactoryContents.h"

namespace cs6::sim {
namespace {

struct FileLayout {
    std::array<int, 2> voiceBanks; // a code below 0 is unused
    int kitBank;
    int kits;
    std::size_t size;
};

FileLayout LayoutOf(BankFile file)
{
    switch (file) {
    case BankFile::Preset:
        return {{bank::kPre1, bank::kPre2}, bank::kPreDrum, 8, kPresetBankFileSize};
    case BankFile::Int:
        return {{bank::kInt, -1}, bank::kIntDrum, 2, kUserBankFileSize};
    case BankFile::Ext:
        return {{bank::kExt, -1}, bank::kExtDrum, 2, kUserBankFileSize};
    }
    return {{-1, -1}, -1, 0, 0};
}

void AppendRecord(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> image, int code, int program)
{
    out.insert(out.end(), image.begin(), image.end());
    out.push_back(kStoredBankMsb);
    out.push_back(static_cast<std::uint8_t>(code));
    out.push_back(static_cast<std::uint8_t>(program));
}

BankRecord TakeRecord(std::span<const std::uint8_t>& bytes, std::size_t imageSize)
{
    BankRecord record;
    record.image.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(imageSize));
    record.bankMsb = bytes[imageSize];
    record.bankLsb = bytes[imageSize + 1];
    record.program = bytes[imageSize + 2];
    bytes = bytes.subspan(imageSize + 3);
    return record;
}

} // namespace

std::vector<std::uint8_t> BankFileBytes(const SoundBanks& banks, BankFile file)
{
    const FileLayout layout = LayoutOf(file);
    std::vector<std::uint8_t> out;
    out.reserve(layout.size);
    for (const int code : layout.voiceBanks)
        if (code >= 0)
            for (int program = 0; program < 128; ++program)
                AppendRecord(out, banks.Image(code, program), code, program);
    for (int program = 0; program < layout.kits; ++program)
        AppendRecord(out, banks.Image(layout.kitBank, program), layout.kitBank, program);
    return out;
}

WriteResult WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return {WriteResult::Outcome::CouldNotCreate, path, "cannot create " + temporary.string()};
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return {WriteResult::Outcome::CouldNotWrite, path, "cannot write " + temporary.string()};
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return {WriteResult::Outcome::CouldNotRename, path, error.message()};
    }
    return {WriteResult::Outcome::Written, path, {}};
}

WriteResult WriteDataFiles(const std::filesystem::path& directory, const SoundBanks& banks,
                           std::span<const std::uint8_t> initialPerformance)
{
    if (initialPerformance.size() != kPerformanceImageSize)
        return {WriteResult::Outcome::WrongImageSize, directory / kInitialPerformanceFile,
                "the initial performance is not a performance-region image"};
    const std::pair<const char*, BankFile> banksFiles[] = {
        {kPresetBankFile, BankFile::Preset}, {kIntBankFile, BankFile::Int}, {kExtBankFile, BankFile::Ext}};
    WriteResult result;
    for (const auto& [name, file] : banksFiles) {
        result = WriteFileSafely(directory / name, BankFileBytes(banks, file));
        if (result.outcome != WriteResult::Outcome::Written)
            return result;
    }
    return WriteFileSafely(directory / kInitialPerformanceFile, initialPerformance);
}

WriteResult WriteFactoryDataFiles(const std::filesystem::path& directory)
{
    return WriteDataFiles(directory, MakeFactoryBanks(), MakeInitialPerformanceImage());
}

BankFileContents ReadBankBytes(std::span<const std::uint8_t> bytes, BankFile file)
{
    const FileLayout layout = LayoutOf(file);
    BankFileContents contents;
    if (bytes.size() != layout.size) {
        contents.outcome = BankFileContents::Outcome::WrongSize;
        return contents;
    }
    for (const int code : layout.voiceBanks)
        if (code >= 0)
            for (int program = 0; program < 128; ++program)
                contents.voices.push_back(TakeRecord(bytes, SoundBanks::ImageSize(SoundKind::NormalVoice)));
    for (int program = 0; program < layout.kits; ++program)
        contents.kits.push_back(TakeRecord(bytes, SoundBanks::ImageSize(SoundKind::DrumVoice)));
    return contents;
}

BankFileContents ReadBankFile(const std::filesystem::path& path, BankFile file)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        BankFileContents contents;
        contents.outcome = BankFileContents::Outcome::CouldNotOpen;
        return contents;
    }
    return ReadBankBytes(*bytes, file);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

} // namespace cs6::sim
