#include "synth/ParameterMemory.h"

#include <cstdio>
#include <utility>

#include "synth/BulkSequences.h"

namespace cs6 {
namespace {

constexpr std::uint32_t kDrumKeyBase = 9216;
constexpr std::uint32_t kDrumKeyStride = 88;

// 47 k, 48 k, 49 k and 4A k.
bool IsDrumKeyBlock(int high) { return high >= block::kDrumKey && high < block::kDrumKey + 4; }

bool Is7Bit(int value) { return value >= 0 && value <= 127; }

} // namespace

std::string FormatAddress(std::uint32_t address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", AddressHigh(address), AddressMid(address),
                  AddressLow(address));
    return text;
}

UnknownAddressError::UnknownAddressError(std::uint32_t address, const std::string& what)
    : std::out_of_range(what), address_(address)
{
}

ParameterMemory::ParameterMemory()
{
    BuildBlockDirectory();
    BuildBlockSizes();
}

void ParameterMemory::BuildBlockDirectory()
{
    auto add = [this](int high, int mid, std::uint32_t offset) {
        blockDirectory.emplace(MakeBlockKey(high, mid), offset);
    };

    // The instrument's 00 area.
    add(0x00, 0x00, 512);
    add(0x00, 0x10, 640);
    add(0x00, 0x20, 768);
    add(0x00, 0x70, 896);

    // Scratch: the switch parameters and the bulk header and footer addresses
    // share one slot.
    add(0x0A, 0x00, 384);
    add(0x0E, 0x00, 384);
    add(0x0F, 0x00, 384);

    // Performance common and the twenty parts.
    add(0x30, 0x00, 1024);
    for (std::uint32_t i = 0; i < part::kIndexes.size(); ++i)
        add(0x31, part::kIndexes[i], 1152 + 128 * i);
    for (int m = 0; m < 4; ++m)
        add(0x32, m, 3712 + 128 * static_cast<std::uint32_t>(m));
    add(0x30, 0x01, 4224);
    add(0x30, 0x02, 4352);
    add(0x30, 0x03, 4480);
    add(0x30, 0x04, 4608);
    add(0x30, 0x05, 4736);
    add(0x30, 0x10, 4864);
    add(0x30, 0x20, 4992);

    // Normal voice.
    for (int m = 0; m <= 6; ++m)
        add(0x40, m, 5120 + 128 * static_cast<std::uint32_t>(m));
    add(0x40, 0x70, 6016);
    for (int e = 0; e < 4; ++e) {
        const auto step = 128 * static_cast<std::uint32_t>(e);
        add(0x41, e, 6144 + step);
        add(0x42, e, 6656 + step);
        add(0x43, e, 7168 + step);
        add(0x44, e, 7680 + step);
    }

    // Drum voice.
    for (int m = 0; m <= 5; ++m)
        add(0x46, m, 8192 + 128 * static_cast<std::uint32_t>(m));
    add(0x46, 0x70, 8960);
    add(0x46, 0x71, 9088);
    for (int k = 0; k < block::kDrumKeys; ++k) {
        const std::uint32_t key = kDrumKeyBase + kDrumKeyStride * static_cast<std::uint32_t>(k);
        add(0x47, k, key);
        add(0x48, k, key + 64);
        add(0x49, k, key + 72);
        add(0x4A, k, key + 80);
    }

    // The instrument's 4C area (it has no 4C 04).
    add(0x4C, 0x00, 16384);
    add(0x4C, 0x01, 16512);
    add(0x4C, 0x02, 16640);
    add(0x4C, 0x03, 16768);
    add(0x4C, 0x05, 16896);
    add(0x4C, 0x10, 17024);
    add(0x4C, 0x20, 17152);
    add(0x4C, 0x70, 17280);
}

void ParameterMemory::BuildBlockSizes()
{
    // The blocks the three whole-sound bulks carry, with their counts ...
    for (const DumpType type : kDumpTypes)
        for (const BulkBlock& block : BulkBlocks(type))
            blockSizes.emplace(block.address, block.count);

    // ... and those of the instrument's 00 and 4C areas, which no bulk carries.
    auto add = [this](int high, int mid, int count) { blockSizes.emplace(PackAddress(high, mid, 0), count); };
    add(0x00, 0x00, 60);
    add(0x00, 0x10, 32);
    add(0x00, 0x20, 20);
    add(0x00, 0x70, 1);
    add(0x4C, 0x00, 13);
    add(0x4C, 0x01, 24);
    add(0x4C, 0x02, 25);
    add(0x4C, 0x03, 22);
    add(0x4C, 0x05, 10);
    add(0x4C, 0x10, 35);
    add(0x4C, 0x20, 68);
    add(0x4C, 0x70, 56);
}

std::optional<std::size_t> ParameterMemory::BlockOffset(BlockKey key) const
{
    const auto it = blockDirectory.find(key);
    if (it == blockDirectory.end())
        return std::nullopt;
    return it->second;
}

std::size_t ParameterMemory::OffsetOf(std::uint32_t address) const
{
    if (address >= 1u << 21)
        throw UnknownAddressError(address, "address out of the 21-bit address space");
    const auto block = BlockOffset(address & ~127u);
    if (!block)
        throw UnknownAddressError(address,
                                  "no block in the parameter memory for address " + FormatAddress(address));
    return *block + (address & 127u);
}

std::uint8_t* ParameterMemory::ByteAt(int high, int mid, int low)
{
    return const_cast<std::uint8_t*>(std::as_const(*this).ByteAt(high, mid, low));
}

const std::uint8_t* ParameterMemory::ByteAt(int high, int mid, int low) const
{
    if (!Is7Bit(high) || !Is7Bit(mid) || !Is7Bit(low)) {
        char text[64];
        std::snprintf(text, sizeof text, "address part out of range: %d %d %d", high, mid, low);
        throw UnknownAddressError(PackAddress(high & 127, mid & 127, low & 127), text);
    }
    return ByteAtAddress(PackAddress(high, mid, low));
}

std::uint8_t* ParameterMemory::ByteAtAddress(std::uint32_t address)
{
    return image.data() + OffsetOf(address);
}

const std::uint8_t* ParameterMemory::ByteAtAddress(std::uint32_t address) const
{
    return image.data() + OffsetOf(address);
}

std::uint8_t* ParameterMemory::Block(int high, int mid)
{
    return ByteAt(high, mid, 0);
}

const std::uint8_t* ParameterMemory::Block(int high, int mid) const
{
    return ByteAt(high, mid, 0);
}

std::size_t ParameterMemory::BlockRoom(BlockKey key) const
{
    if (!BlockOffset(key))
        return 0;
    const int high = AddressHigh(key);
    if (!IsDrumKeyBlock(high))
        return kSlotSize;
    return high == block::kDrumKey ? 64 : 8;
}

bool ParameterMemory::FitsInBlock(std::uint32_t address, std::size_t count) const
{
    if (address >= 1u << 21)
        return false;
    const std::size_t room = BlockRoom(address & ~127u);
    const std::size_t low = address & 127u;
    return room > 0 && low <= room && count <= room - low;
}

std::span<std::uint8_t> ParameterMemory::Bytes(std::uint32_t address, std::size_t count)
{
    const auto bytes = std::as_const(*this).Bytes(address, count);
    return {const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
}

std::span<const std::uint8_t> ParameterMemory::Bytes(std::uint32_t address, std::size_t count) const
{
    const std::size_t offset = OffsetOf(address);
    if (count > kImageSize - offset)
        throw UnknownAddressError(address, std::to_string(count) + " bytes from address " +
                                               FormatAddress(address) + " run past the parameter memory");
    return {image.data() + offset, count};
}

std::span<std::uint8_t> ParameterMemory::Region(MemoryRegion region)
{
    return std::span<std::uint8_t>(image).subspan(region.offset, region.size);
}

std::span<const std::uint8_t> ParameterMemory::Region(MemoryRegion region) const
{
    return std::span<const std::uint8_t>(image).subspan(region.offset, region.size);
}

std::optional<int> ParameterMemory::BulkSize(std::uint32_t address) const
{
    const auto it = blockSizes.find(address);
    if (it == blockSizes.end())
        return std::nullopt;
    return it->second;
}

} // namespace cs6
