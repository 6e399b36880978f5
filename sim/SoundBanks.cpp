#include "sim/SoundBanks.h"

#include <array>
#include <utility>

namespace cs6::sim {
namespace {

constexpr std::array<BankInfo, 9> kBanks{{
    {bank::kPre1, DumpType::NormalVoice, 128, false},
    {bank::kPre2, DumpType::NormalVoice, 128, false},
    {bank::kInt, DumpType::NormalVoice, 128, true},
    {bank::kExt, DumpType::NormalVoice, 128, true},
    {bank::kPreDrum, DumpType::DrumVoice, 8, false},
    {bank::kIntDrum, DumpType::DrumVoice, 2, true},
    {bank::kExtDrum, DumpType::DrumVoice, 2, true},
    {bank::kIntPerf, DumpType::Performance, 128, true},
    {bank::kExtPerf, DumpType::Performance, 64, true},
}};

} // namespace

SoundBanks::SoundBanks()
{
    for (const BankInfo& info : kBanks)
        stores_.emplace_back(ImageSize(info.type) * static_cast<std::size_t>(info.programs), std::uint8_t{0});
}

std::optional<BankInfo> SoundBanks::FindBank(int code)
{
    for (const BankInfo& info : kBanks)
        if (info.code == code)
            return info;
    return std::nullopt;
}

std::size_t SoundBanks::ImageSize(DumpType type) { return BulkRegion(type).size; }

std::optional<std::size_t> SoundBanks::IndexOf(int code) const
{
    for (std::size_t i = 0; i < kBanks.size(); ++i)
        if (kBanks[i].code == code)
            return i;
    return std::nullopt;
}

std::span<const std::uint8_t> SoundBanks::Image(int code, int program) const
{
    const auto index = IndexOf(code);
    if (!index || program < 0 || program >= kBanks[*index].programs)
        return {};
    const std::size_t size = ImageSize(kBanks[*index].type);
    return std::span<const std::uint8_t>(stores_[*index]).subspan(size * static_cast<std::size_t>(program), size);
}

std::span<std::uint8_t> SoundBanks::MutableImage(int code, int program)
{
    const auto image = std::as_const(*this).Image(code, program);
    return {const_cast<std::uint8_t*>(image.data()), image.size()};
}

} // namespace cs6::sim
