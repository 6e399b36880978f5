#pragma once
// Performances in files of SysEx messages (.syx), the form any SysEx tool
// reads and sends: a performance is its bulk, header 0E mm nn, the 32
// performance blocks, footer 0F mm nn, where mm nn is the edit buffer (4F 00)
// or a stored location, INT (40 pp, pp 0..127) or EXT (41 pp, pp 0..63). A
// saved performance is exactly the 34 messages "Transmit" sends; the library
// is several bulks one after the other, each at its stored location, so that
// sending the file to the instrument restores those locations.
//
// Reading checks the whole file before it gives anything back: every message
// framed F0 .. F7, made for this instrument, a bulk dump with a right
// checksum; each bulk exactly the 32 blocks, each once and with its byte
// count, between a header and a footer that agree. A file that fails any
// check gives only the reason, so nothing of it can be applied or sent.
// Byte positions in the reasons count from 0, message numbers from 1.
//
// Thread: any; nothing here keeps state. ApplyPerformance runs on the thread
// that owns the device (the user-interface thread).

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "synth/InstrumentMap.h"
#include "synth/ParameterMemory.h"
#include "synth/SynthDevice.h"

namespace cs6 {

// The library in the data folder.
inline constexpr const char* kLibraryFileName = "performances.syx";

// Larger files are refused without being read: fifteen times a library of
// every INT and EXT location (192 × 1449 bytes).
inline constexpr std::size_t kMaxPerformanceFileSize = std::size_t{4} << 20;

struct PerformanceLocation {
    int bankLsb = kPerformanceEditBuffer; // or bank::kIntPerf, bank::kExtPerf
    int program = 0;                      // 0 for the edit buffer

    bool operator==(const PerformanceLocation&) const = default;
};

struct FilePerformance {
    PerformanceLocation location;
    // The kPerformanceBlocks stretch of a parameter memory: the bytes the 32
    // blocks carry, every byte between them 0.
    std::array<std::uint8_t, kPerformanceBlocks.size> blocks{};

    // The performance in the memory's blocks, given a location.
    static FilePerformance FromMemory(const ParameterMemory& memory, PerformanceLocation location);
    std::string Name() const; // block 30 00, bytes 0..9

    bool operator==(const FilePerformance&) const = default;
};

// A file's performances in file order, or why it was refused (never both).
struct PerformanceRead {
    std::vector<FilePerformance> performances;
    std::string error; // e.g. "message 12 of 34: checksum"

    bool Ok() const { return error.empty(); }
};

// The bytes of a file. Never throws for what the bytes hold.
[[nodiscard]] PerformanceRead ParsePerformances(std::span<const std::uint8_t> bytes);
// The same for a file; a reason starts with the file's name.
[[nodiscard]] PerformanceRead ReadPerformanceFile(const std::filesystem::path& path);

// The memory's performance as the 34 messages SendPerformance sends, header
// and footer at the location.
[[nodiscard]] std::vector<std::uint8_t> SerializePerformance(const ParameterMemory& memory,
                                                             PerformanceLocation location = {});
// Writes it for the edit buffer, through a temporary file. Throws FileError.
void SavePerformanceFile(const std::filesystem::path& path, const ParameterMemory& memory);

// Each performance's bulk at its own location, one after the other.
[[nodiscard]] std::vector<std::uint8_t> SerializeLibrary(std::span<const FilePerformance> performances);
// Throws FileError.
void SaveLibrary(const std::filesystem::path& path, std::span<const FilePerformance> performances);

struct LibraryLoad {
    std::vector<FilePerformance> performances;
    std::string problem;    // what was wrong with the file and where it went; empty when nothing was
    bool mayBeSaved = true; // false while a bad file stays in place: a save would overwrite it
};

// The library at start-up. A missing file is an empty library. A file that
// cannot be read or is refused is renamed beside itself (FILE.bad, or
// FILE.bad.2 and on when that is taken, never over an older one) and
// reported; the library is then empty.
[[nodiscard]] LibraryLoad LoadLibrary(const std::filesystem::path& path);

// Writes the performance's blocks into the device's memory at once, as a
// complete answer to a request would (the listeners hear of it), and sends
// nothing: the caller sends it as "Transmit" does. Only kPerformanceBlocks
// changes.
void ApplyPerformance(SynthDevice& device, const FilePerformance& performance);

} // namespace cs6
