#pragma once
// The editor's local copy of the instrument's parameter memory: a flat image
// of 17408 bytes behind a fixed directory of 128-byte address blocks. Every
// dialog reads what it shows from here and writes every edit here before the
// edit is sent; replies to dump requests are copied in, stored sounds are
// moved in and out as whole regions.
//
// Thread: the user-interface thread only. The receive thread never touches it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace cs6 {

// ((high << 7) + mid) << 7: the packed address of byte 0 of a 128-byte block.
using BlockKey = std::uint32_t;

constexpr std::uint32_t PackAddress(int high, int mid, int low)
{
    return static_cast<std::uint32_t>(high) << 14 | static_cast<std::uint32_t>(mid) << 7 |
           static_cast<std::uint32_t>(low);
}

constexpr BlockKey MakeBlockKey(int high, int mid)
{
    return ((static_cast<std::uint32_t>(high) << 7) + static_cast<std::uint32_t>(mid)) << 7;
}

constexpr int AddressHigh(std::uint32_t address) { return static_cast<int>(address >> 14 & 127); }
constexpr int AddressMid(std::uint32_t address) { return static_cast<int>(address >> 7 & 127); }
constexpr int AddressLow(std::uint32_t address) { return static_cast<int>(address & 127); }

// "30 00 0C": how addresses are written in messages to the user and in errors.
std::string FormatAddress(std::uint32_t address);

// An address whose block the directory does not hold, or a byte range that
// would leave the memory. Says which address.
class UnknownAddressError : public std::out_of_range {
public:
    UnknownAddressError(std::uint32_t address, const std::string& what);
    std::uint32_t Address() const { return address_; }

private:
    std::uint32_t address_;
};

// The regions that requests and stored sounds move as wholes.
struct MemoryRegion {
    std::size_t offset;
    std::size_t size;
};
// True when the two stretches share a byte.
constexpr bool Overlap(MemoryRegion a, MemoryRegion b)
{
    return a.offset < b.offset + b.size && b.offset < a.offset + a.size;
}

inline constexpr MemoryRegion kPerformanceRegion{1024, 8192};
// The front half of kPerformanceRegion, which its 32 bulk blocks fill.
inline constexpr MemoryRegion kPerformanceBlocks{1024, 4096};
inline constexpr MemoryRegion kNormalVoiceRegion{5120, 3072};
inline constexpr MemoryRegion kDrumVoiceRegion{8192, 8192};

class ParameterMemory {
public:
    static constexpr std::size_t kImageSize = 17408;
    static constexpr std::size_t kSlotSize = 128;

    // Builds the fixed block directory and the bulk block sizes; the image is zero.
    ParameterMemory();

    ParameterMemory(const ParameterMemory&) = delete;
    ParameterMemory& operator=(const ParameterMemory&) = delete;

    // The byte at (high, mid, low). Throws UnknownAddressError when the block
    // is not in the directory or a part is not a 7-bit value.
    std::uint8_t* ByteAt(int high, int mid, int low);
    const std::uint8_t* ByteAt(int high, int mid, int low) const;

    // The same for a packed address high << 14 | mid << 7 | low.
    std::uint8_t* ByteAtAddress(std::uint32_t address);
    const std::uint8_t* ByteAtAddress(std::uint32_t address) const;

    // Offset in the image of byte 0 of the block, or nothing when the block is
    // not in the directory.
    std::optional<std::size_t> BlockOffset(BlockKey key) const;

    // Byte 0 of the block (high, mid); index it with low. Throws like ByteAt.
    std::uint8_t* Block(int high, int mid);
    const std::uint8_t* Block(int high, int mid) const;

    // The bytes a block can hold from its byte 0 before it runs into another
    // block: up to the next key's block for drum-key blocks, 128 otherwise.
    // Zero for a block that is not in the directory.
    std::size_t BlockRoom(BlockKey key) const;

    // True when count bytes from the address stay inside its block's room.
    bool FitsInBlock(std::uint32_t address, std::size_t count) const;

    // count bytes from the address on, which must stay inside the image
    // (drum-key blocks may run into the blocks behind them). Throws
    // UnknownAddressError otherwise.
    std::span<std::uint8_t> Bytes(std::uint32_t address, std::size_t count);
    std::span<const std::uint8_t> Bytes(std::uint32_t address, std::size_t count) const;

    std::span<std::uint8_t> Region(MemoryRegion region);
    std::span<const std::uint8_t> Region(MemoryRegion region) const;

    // Bulk byte count of the block starting at a packed address, or nothing.
    std::optional<int> BulkSize(std::uint32_t address) const;

    std::array<std::uint8_t, kImageSize> image{};
    // BlockKey -> offset of the block's byte 0 in image. 371 entries.
    std::map<BlockKey, std::uint32_t> blockDirectory;
    // Packed start address -> byte count of the bulk block there. 448 entries.
    std::map<std::uint32_t, int> blockSizes;

private:
    void BuildBlockDirectory();
    void BuildBlockSizes();
    std::size_t OffsetOf(std::uint32_t address) const;
};

} // namespace cs6
