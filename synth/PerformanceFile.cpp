#include "synth/PerformanceFile.h"

#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "framework/FileIo.h"
#include "synth/BulkSequences.h"
#include "synth/StoredSounds.h"
#include "synth/SysExMessages.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlocks = 32;
constexpr std::size_t kMessages = kBlocks + 2;
constexpr int kIntPrograms = 128;
constexpr int kExtPrograms = 64;

// A performance block and where its bytes lie in FilePerformance::blocks.
struct Slot {
    BulkBlock block;
    std::size_t offset;
};

const std::array<Slot, kBlocks>& Slots()
{
    static const auto slots = [] {
        const ParameterMemory memory;
        const auto blocks = PerformanceBulkBlocks();
        if (blocks.size() != kBlocks)
            throw std::logic_error("a performance bulk of another size");
        std::array<Slot, kBlocks> table{};
        for (std::size_t i = 0; i < kBlocks; ++i) {
            const auto bytes = memory.Bytes(blocks[i].address, static_cast<std::size_t>(blocks[i].count));
            table[i] = {blocks[i], static_cast<std::size_t>(bytes.data() - memory.image.data()) -
                                       kPerformanceBlocks.offset};
        }
        return table;
    }();
    return slots;
}

std::optional<std::size_t> SlotIndex(std::uint32_t address)
{
    const auto& slots = Slots();
    for (std::size_t i = 0; i < kBlocks; ++i)
        if (slots[i].block.address == address)
            return i;
    return std::nullopt;
}

std::string Hex(int high, int mid, int low) { return FormatAddress(PackAddress(high, mid, low)); }

bool IsPerformanceLocation(int mid, int low)
{
    return (mid == kPerformanceEditBuffer && low == 0) || (mid == bank::kIntPerf && low < kIntPrograms) ||
           (mid == bank::kExtPerf && low < kExtPrograms);
}

// The bank codes and edit buffers a voice bulk is framed with.
bool IsVoiceLocation(int mid)
{
    constexpr std::array kVoices{kNormalVoiceEditBuffer, kDrumVoiceEditBuffer, bank::kPre1,    bank::kPre2,
                                 bank::kInt,             bank::kExt,           bank::kPlg1,    bank::kPlg2,
                                 bank::kPreDrum,         bank::kIntDrum,       bank::kExtDrum, bank::kClipKit};
    return std::find(kVoices.begin(), kVoices.end(), mid) != kVoices.end();
}

// The framing of the whole file: it is nothing but messages F0 .. F7. Counts
// them, or says where it is not.
std::optional<std::string> CheckFraming(std::span<const std::uint8_t> bytes, std::size_t& count)
{
    count = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes[at] != sysex::kSysExStart)
            return at == 0 ? "not a file of SysEx messages" : "byte " + std::to_string(at) + " is outside any message";
        std::size_t end = at + 1;
        while (end < bytes.size() && bytes[end] < 0x80)
            ++end;
        if (end == bytes.size())
            return "ends in the middle of a message at byte " + std::to_string(at);
        if (bytes[end] != sysex::kSysExEnd)
            return "the message at byte " + std::to_string(at) + " is cut short by byte " + std::to_string(end);
        ++count;
        at = end + 1;
    }
    return std::nullopt;
}

// Reads the messages of a well-framed file one by one into performances,
// stopping at the first fault.
class BulkReader {
public:
    explicit BulkReader(std::size_t total) : total_(total) {}

    // False once the file is refused; Refused() then says why.
    bool Take(std::span<const std::uint8_t> message, std::size_t at)
    {
        ++index_;
        if (message.size() < 4 || message[1] != sysex::kYamaha || message[3] != sysex::kModelCs6x)
            return Fail("another instrument's message at byte " + std::to_string(at));
        if ((message[2] & 0xF0) != sysex::kBulkDumpStatus)
            return Fail(Numbered() + " is not a bulk dump");
        const auto fields = sysex::ReadBulkDump(message);
        if (!fields || message.size() != static_cast<std::size_t>(fields->byteCount) + 11)
            return Fail(Numbered() + ": its length disagrees with its byte count");
        if (!sysex::IsValidBulkDump(message))
            return Fail(Numbered() + ": checksum");
        if (fields->IsHeaderOrFooter() && fields->byteCount != 0)
            return Fail(Numbered() + ": a bulk header or footer with data");
        if (fields->high == block::kBulkHeader)
            return Header(*fields);
        if (fields->high == block::kBulkFooter)
            return Footer(*fields);
        return Block(*fields);
    }

    // The performances, once every message was taken.
    PerformanceRead Finish()
    {
        if (open_) {
            Incomplete(index_ - start_ + 1);
            return Refused();
        }
        return {std::move(performances_), {}};
    }

    PerformanceRead Refused() { return {{}, std::move(error_)}; }

private:
    bool Fail(std::string error)
    {
        error_ = std::move(error);
        return false;
    }

    std::string Numbered() const
    {
        return "message " + std::to_string(index_) + " of " + std::to_string(total_);
    }

    bool Header(const sysex::BulkDumpFields& header)
    {
        if (open_)
            return Incomplete(index_ - start_);
        if (IsVoiceLocation(header.mid))
            return Fail(index_ == 1 ? "a voice, not a performance" : Numbered() + ": a voice, not a performance");
        if (!IsPerformanceLocation(header.mid, header.low))
            return Fail(Numbered() + ": bulk header " + Hex(header.high, header.mid, header.low) +
                        " locates no performance");
        open_ = true;
        start_ = index_;
        seen_.reset();
        current_ = FilePerformance{{header.mid, header.low}, {}};
        return true;
    }

    bool Footer(const sysex::BulkDumpFields& footer)
    {
        if (!open_)
            return Fail(Numbered() + ": a bulk footer without its header");
        const PerformanceLocation location = current_.location;
        if (footer.mid != location.bankLsb || footer.low != location.program)
            return Fail(Numbered() + ": header " + Hex(block::kBulkHeader, location.bankLsb, location.program) +
                        " and footer " + Hex(footer.high, footer.mid, footer.low) + " disagree");
        if (seen_.count() != kBlocks)
            return Incomplete(index_ - start_ + 1);
        open_ = false;
        performances_.push_back(current_);
        return true;
    }

    bool Block(const sysex::BulkDumpFields& fields)
    {
        const std::string name = "block " + Hex(fields.high, fields.mid, fields.low);
        if (!open_)
            return Fail(Numbered() + ": " + name + " before any bulk header");
        const auto slot = SlotIndex(fields.Address());
        if (!slot)
            return Fail(Numbered() + ": " + name + " is outside the performance");
        const Slot& where = Slots()[*slot];
        if (fields.data.size() != static_cast<std::size_t>(where.block.count))
            return Fail(Numbered() + ": " + name + " carries " + std::to_string(fields.data.size()) + " bytes, not " +
                        std::to_string(where.block.count));
        if (seen_.test(*slot))
            return Fail(Numbered() + ": " + name + " a second time");
        seen_.set(*slot);
        std::copy(fields.data.begin(), fields.data.end(), current_.blocks.begin() + static_cast<std::ptrdiff_t>(where.offset));
        return true;
    }

    // The open bulk, of so many messages, ended (a new header, the end of the
    // file) or was closed before all its blocks came.
    bool Incomplete(std::size_t messages)
    {
        const std::string counted = std::to_string(messages) + (messages == 1 ? " message" : " messages");
        const std::string rule = "a performance has " + std::to_string(kMessages);
        if (start_ == 1)
            return Fail(counted + ": " + rule);
        return Fail("the performance from message " + std::to_string(start_) + " has " + counted + "; " + rule);
    }

    const std::size_t total_;
    std::size_t index_ = 0;
    bool open_ = false;
    std::size_t start_ = 0; // number of the open bulk's header
    std::bitset<kBlocks> seen_;
    FilePerformance current_;
    std::vector<FilePerformance> performances_;
    std::string error_;
};

PerformanceRead Refused(std::string error) { return {{}, std::move(error)}; }

std::string TooLarge(std::uintmax_t size)
{
    return "too large for a file of performances: " + std::to_string(size) + " bytes, at most " +
           std::to_string(kMaxPerformanceFileSize);
}

void AppendBulk(Bytes& bytes, const ParameterMemory& memory, PerformanceLocation location)
{
    for (const sysex::Message& message : BuildBulk(memory, DumpType::Performance, location.bankLsb, location.program))
        bytes.insert(bytes.end(), message.begin(), message.end());
}

// The memory holding the performance's blocks (and zero elsewhere).
void PutBlocks(ParameterMemory& memory, const FilePerformance& performance)
{
    std::copy(performance.blocks.begin(), performance.blocks.end(), memory.Region(kPerformanceBlocks).begin());
}

// Moves the file to FILE.bad, or FILE.bad.2 and on when that is taken. A
// link fails rather than replace a name, so no older file is lost.
std::optional<fs::path> PutAside(const fs::path& path, std::string& why)
{
    for (int n = 1; n < 100; ++n) {
        fs::path aside = path;
        aside += n == 1 ? std::string(".bad") : ".bad." + std::to_string(n);
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str()); // should it stay, its bytes are safe under the new name
            return aside;
        }
        if (errno != EEXIST) {
            why = std::strerror(errno);
            return std::nullopt;
        }
    }
    why = "every name up to .bad.99 is taken";
    return std::nullopt;
}

} // namespace

FilePerformance FilePerformance::FromMemory(const ParameterMemory& memory, PerformanceLocation location)
{
    FilePerformance performance{location, {}};
    for (const Slot& slot : Slots()) {
        const auto bytes = memory.Bytes(slot.block.address, static_cast<std::size_t>(slot.block.count));
        std::copy(bytes.begin(), bytes.end(), performance.blocks.begin() + static_cast<std::ptrdiff_t>(slot.offset));
    }
    return performance;
}

std::string FilePerformance::Name() const { return StoredName(blocks.data()); }

PerformanceRead ParsePerformances(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > kMaxPerformanceFileSize)
        return Refused(TooLarge(bytes.size()));
    if (bytes.empty())
        return Refused("an empty file");
    std::size_t total = 0;
    if (auto error = CheckFraming(bytes, total))
        return Refused(std::move(*error));

    BulkReader reader(total);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = static_cast<std::size_t>(
            std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), sysex::kSysExEnd) - bytes.begin());
        if (!reader.Take(bytes.subspan(at, end + 1 - at), at))
            return reader.Refused();
        at = end + 1;
    }
    return reader.Finish();
}

PerformanceRead ReadPerformanceFile(const fs::path& path)
{
    const std::string name = path.filename().string() + ": ";
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        return Refused(name + error.message());
    if (size > kMaxPerformanceFileSize)
        return Refused(name + TooLarge(size));
    Bytes bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileError& failure) {
        return Refused(name + failure.Reason());
    }
    PerformanceRead read = ParsePerformances(bytes);
    if (!read.Ok())
        read.error.insert(0, name);
    return read;
}

std::vector<std::uint8_t> SerializePerformance(const ParameterMemory& memory, PerformanceLocation location)
{
    Bytes bytes;
    AppendBulk(bytes, memory, location);
    return bytes;
}

void SavePerformanceFile(const fs::path& path, const ParameterMemory& memory)
{
    WriteFileAtomically(path, SerializePerformance(memory));
}

std::vector<std::uint8_t> SerializeLibrary(std::span<const FilePerformance> performances)
{
    ParameterMemory scratch;
    Bytes bytes;
    for (const FilePerformance& performance : performances) {
        PutBlocks(scratch, performance);
        AppendBulk(bytes, scratch, performance.location);
    }
    return bytes;
}

void SaveLibrary(const fs::path& path, std::span<const FilePerformance> performances)
{
    WriteFileAtomically(path, SerializeLibrary(performances));
}

LibraryLoad LoadLibrary(const fs::path& path)
{
    std::error_code error;
    if (fs::symlink_status(path, error).type() == fs::file_type::not_found)
        return {};
    PerformanceRead read = ReadPerformanceFile(path);
    if (read.Ok())
        return {std::move(read.performances), {}, true};
    std::string why;
    const auto aside = PutAside(path, why);
    if (!aside)
        return {{}, read.error + "; it could not be put aside (" + why + ") and stays as it is", false};
    return {{}, read.error + "; it is kept as " + aside->filename().string(), true};
}

void ApplyPerformance(SynthDevice& device, const FilePerformance& performance)
{
    ParameterMemory scratch;
    PutBlocks(scratch, performance);
    const auto bulk = BuildBulk(scratch, DumpType::Performance, kPerformanceEditBuffer, 0);
    if (device.ApplyReplies(bulk, kMessages) != DumpOutcome::Complete)
        throw std::logic_error("the memory refused a whole performance");
}

} // namespace cs6
