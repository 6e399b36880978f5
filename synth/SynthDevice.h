#pragma once
// The model of the instrument: the parameter memory plus the operations that
// send parameter changes and bulk dumps built from it. Every dialog holds a
// pointer to the one SynthDevice and makes every edit through Edit or
// EditEachByte, which write the memory and send the change in one call.
// Whatever changes the memory through the device (an edit, a request's
// answer, a sound written as a whole) is told to the change listeners, so
// that open views follow it wherever it came from.
//
// Thread: the user-interface thread only; listeners are called on it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "synth/InstrumentMap.h"
#include "synth/MessageOutput.h"
#include "synth/ParameterMemory.h"
#include "synth/ReplySource.h"

namespace cs6 {

// The messages of the type's whole bulk: 34, 34 or 374; 1 for any other
// value.
int ExpectedReplies(DumpType type);

// How a whole-sound request ended. Only Complete changed the memory.
enum class DumpOutcome {
    Complete,    // the expected number of good replies arrived and were applied
    NotAnswered, // nothing came back
    Incomplete,  // fewer or more replies than expected
    Corrupt,     // a reply was malformed, failed its checksum or addressed no room of ours
};

const char* DumpOutcomeText(DumpOutcome outcome);

// Pauses between the messages of a bulk: 50 ms in a performance, 10 ms in a
// voice.
inline constexpr std::chrono::milliseconds kPerformancePause{50};
inline constexpr std::chrono::milliseconds kVoicePause{10};

class SynthDevice {
public:
    // output may be null (nothing is sent) and may be set later.
    explicit SynthDevice(MessageOutput* output = nullptr);

    SynthDevice(const SynthDevice&) = delete;
    SynthDevice& operator=(const SynthDevice&) = delete;

    const ParameterMemory& Memory() const { return memory_; }
    const std::uint8_t* ByteAt(int high, int mid, int low) const { return memory_.ByteAt(high, mid, low); }
    const std::uint8_t* ByteAtAddress(std::uint32_t address) const { return memory_.ByteAtAddress(address); }

    // Bytes of the memory, for reading.
    std::uint8_t Read(std::uint32_t address) const { return *memory_.ByteAtAddress(address); }
    std::span<const std::uint8_t> Read(std::uint32_t address, std::size_t count) const
    {
        return memory_.Bytes(address, count);
    }

    // Raw access for setting up a memory: writes here are neither sent nor
    // told to the listeners.
    ParameterMemory& Memory() { return memory_; }
    std::uint8_t* ByteAt(int high, int mid, int low) { return memory_.ByteAt(high, mid, low); }
    std::uint8_t* ByteAtAddress(std::uint32_t address) { return memory_.ByteAtAddress(address); }

    // The edit path. Edit writes the bytes from address on and sends them as
    // one parameter change; EditEachByte sends each byte as a parameter
    // change of its own with kEachBytePause after each (how the name goes).
    // Both then tell the listeners. Throw UnknownAddressError, changing and
    // sending nothing, for bytes outside the directory.
    void Edit(std::uint32_t address, std::span<const std::uint8_t> bytes);
    void EditEachByte(std::uint32_t address, std::span<const std::uint8_t> bytes);
    // Writes without sending, for what is then sent whole, and tells the
    // listeners.
    void Write(std::uint32_t address, std::span<const std::uint8_t> bytes);
    void WriteRegion(MemoryRegion region, std::span<const std::uint8_t> bytes);

    // Called with the stretch of the memory that changed, after every change
    // made through the device. A listener must not subscribe or unsubscribe.
    using ChangeListener = std::function<void(MemoryRegion changed)>;
    // Listens while it lives; the device must outlive it.
    class [[nodiscard]] Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription();

    private:
        friend class SynthDevice;
        Subscription(SynthDevice* device, int id) : device_(device), id_(id) {}

        SynthDevice* device_ = nullptr;
        int id_ = 0;
    };
    Subscription Subscribe(ChangeListener listener);

    void SetOutput(MessageOutput* output) { output_ = output; }
    MessageOutput* Output() const { return output_; }

    // A parameter change whose count data bytes are the memory bytes from
    // (high, mid, low) on. A count below 1 sends nothing. Throws
    // UnknownAddressError for an address outside the directory.
    void SendParameterChange(int high, int mid, int low, int count);
    void SendParameterChangeAt(std::uint32_t address, int count);

    // One bulk dump of count memory bytes from (high, mid, low) on; count is the
    // block's bulk size. A count below 1 sends nothing.
    void SendBulkBlock(int high, int mid, int low, int count);

    // A channel message or any other complete message, as it is.
    void SendMessage(std::span<const std::uint8_t> message);

    void SetReplySource(ReplySource* replies) { replies_ = replies; }

    // Replaces the plain sleep between bulk messages (tests record instead).
    using Pause = std::function<void(std::chrono::milliseconds)>;
    void SetPause(Pause pause);
    void Wait(std::chrono::milliseconds time) const { pause_(time); }

    // Requests the sound at (high, mid, low) and applies the replies, each at
    // its own address, header and footer skipped. The memory changes only
    // when the whole answer arrived and every message checks out.
    [[nodiscard]] DumpOutcome RequestDump(int high, int mid, int low, DumpType type);
    // The same for the type's edit buffer: 0E 4F 00, 0E 0F 00 or 0E 2F 00.
    [[nodiscard]] DumpOutcome RequestEditBuffer(DumpType type);

    // Checks a batch of replies and applies it only when all of it is good:
    // the expected count, every message a well-formed bulk dump of this
    // instrument, every block in the directory with room for its data.
    [[nodiscard]] DumpOutcome ApplyReplies(std::span<const std::vector<std::uint8_t>> batch, std::size_t expected);

    // The type's whole bulk from the memory (BuildBulk): header 0E bankLsb
    // program, the blocks, footer 0F bankLsb program, with a pause after every
    // message, 50 ms in a performance and 10 ms in a voice.
    void SendBulk(DumpType type, int bankLsb, int program);
    // The performance bulk; bankMsb is not used.
    void SendPerformance(int bankMsb, int bankLsb, int program);

private:
    std::span<const std::uint8_t> MemoryBytes(int high, int mid, int low, int count) const;
    void Send(std::span<const std::uint8_t> message);
    // Writes the bytes and returns where they lie in the image.
    MemoryRegion Put(std::uint32_t address, std::span<const std::uint8_t> bytes);
    void Changed(MemoryRegion region) const;

    ParameterMemory memory_;
    MessageOutput* output_;
    ReplySource* replies_ = nullptr;
    Pause pause_;
    std::vector<std::pair<int, ChangeListener>> listeners_;
    int nextListener_ = 1;
};

// After each message of the name, which goes a byte at a time.
inline constexpr std::chrono::milliseconds kEachBytePause{20};

// The instrument's switch s (0A 00 s, kSwitchBeforeRead or kSwitchAfterRead)
// pulsed: data 01, 50 ms, data 00, 50 ms.
void SwitchPulse(SynthDevice& device, int s);
inline constexpr std::chrono::milliseconds kSwitchPause{50};

// A read from the instrument as the instrument wants it bracketed:
// kSwitchBeforeRead pulsed, read(), kAfterReadPause, kSwitchAfterRead pulsed.
// The second pulse goes out whatever read() returned, so the instrument is
// never left mid-read. Returns what read() returned.
inline constexpr std::chrono::milliseconds kAfterReadPause{50};
template <typename Read>
auto ReadBetweenSwitchPulses(SynthDevice& device, Read&& read)
{
    SwitchPulse(device, kSwitchBeforeRead);
    auto result = read();
    device.Wait(kAfterReadPause);
    SwitchPulse(device, kSwitchAfterRead);
    return result;
}

// A parameter change carrying the caller's bytes (used for the switches).
// Empty data sends nothing.
void SendParameterData(MessageOutput* output, int high, int mid, int low, std::span<const std::uint8_t> data);

} // namespace cs6
