#pragma once
// A CS6x that answers over MIDI, without the hardware: the editor, the
// transport's in-process driver and cs6sim talk to it as to the instrument.
//
// What it holds: the performance, normal-voice and drum-voice edit buffers in
// its own parameter memory (laid out like the editor's), and the stored sounds
// of SoundBanks, starting from the factory contents.
//
// What it does with a received message:
//  - dump request F0 43 2n 64 0E mm nn F7: answers with the whole-sound bulk
//    of BuildBulk (header 0E mm nn, blocks, footer 0F mm nn) for the edit
//    buffers mm 4F, 0F, 2F (nn 00) and the stored INT / EXT voices (08 / 09),
//    kits (28 / 29) and performances (40 / 41). Anything else, the plug-in
//    banks 18 / 19 included (no board is fitted), gets no answer;
//  - bank select MSB / LSB and program change on channel 1 (with MSB 3F)
//    load a stored voice, kit or performance into its edit buffer;
//  - parameter change F0 43 1n 64 hh mm ll data F7: written into memory when
//    the whole range lies in one directory block's room; 0A 00 10 and
//    0A 00 11 are the instrument's switches and are recorded as events;
//  - bulk dump F0 43 0n 64 ...: ignored with a wrong checksum; a block is
//    written where it is addressed; a footer matching the open header that
//    names an INT / EXT location stores the edit buffer of that kind there;
//  - identity request F0 7E xx 06 01 F7: answered as a CS6x.
// The presets are read-only: nothing stores into PRE1, PRE2 or PRE drum.
//
// Output goes to the transmit sink in order, one complete message per call,
// from the instrument's own delivery thread, paced like the cable if asked.
//
// Thread: every public function may be called from any thread, concurrently.
// The sink runs on the delivery thread; it may call Receive (a loopback) but
// not SetTransmitSink or the Wait functions.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "sim/InstrumentOptions.h"
#include "sim/MessageLog.h"
#include "sim/SoundBanks.h"
#include "sim/WireTransmitter.h"
#include "synth/BulkSequences.h"
#include "synth/ParameterMemory.h"

namespace cs6::sim {

// F0 7E 7F 06 02 43 00 41 5C 03 00 00 00 01 F7: a CS6x (5D 03 would be a CS6R).
inline constexpr std::array<std::uint8_t, 15> kIdentityReply{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x43, 0x00, 0x41,
                                                             0x5C, 0x03, 0x00, 0x00, 0x00, 0x01, 0xF7};

enum class PerformanceBank {
    Internal, // 128 performances, bank select LSB 40
    External, // 64 performances, bank select LSB 41
};

enum class PanelOutcome {
    Selected,
    NoSuchPerformance, // the number is outside the bank; nothing changed or sent
};

struct SwitchEvent {
    Clock::time_point time;
    int switchNumber; // kSwitchBeforeRead or kSwitchAfterRead (low byte of 0A 00 ss)
    std::uint8_t value;
};

class EmulatedInstrument {
public:
    using TransmitSink = std::function<void(std::span<const std::uint8_t>)>;

    explicit EmulatedInstrument(InstrumentOptions options = {});
    // Starts from these stored sounds instead of the factory contents, which
    // take a while to make: whoever makes many instruments makes them once.
    EmulatedInstrument(InstrumentOptions options, SoundBanks banks);
    ~EmulatedInstrument();

    EmulatedInstrument(const EmulatedInstrument&) = delete;
    EmulatedInstrument& operator=(const EmulatedInstrument&) = delete;

    // Where outgoing messages go. Once this returns the previous sink is not
    // called again. Until a sink is set, output is logged and dropped.
    void SetTransmitSink(TransmitSink sink);

    // One complete incoming MIDI message (a whole SysEx message from F0 to F7,
    // or a whole channel message with its status byte).
    void Receive(std::span<const std::uint8_t> message);

    // The front panel: loads the performance into the edit buffer and sends
    // B0 00 3F, B0 20 40 (or 41), C0 pp on channel 1. number is 0-based.
    [[nodiscard]] PanelOutcome SelectPerformance(PerformanceBank which, int number);

    // Faults for the answers to dump requests (identity replies and front-panel
    // messages are never faulted). A NextAnswer plan is used up by the next
    // request that gets an answer; requests that get none leave it waiting.
    void SetFaults(const AnswerFaults& faults, FaultScope scope);
    void ClearFaults();

    // The logs, kept only with InstrumentOptions::keepLogs (empty otherwise).
    // Everything received, in order, stamped on arrival.
    std::vector<LoggedMessage> ReceivedMessages() const;
    // Everything handed to the sink, stamped at the hand-over.
    std::vector<LoggedMessage> TransmittedMessages() const;
    std::vector<SwitchEvent> SwitchEvents() const;

    // Forgets the logs and the switch events; counts for WaitForReceived start
    // again from 0.
    void ClearLogs();

    // Until the receive log holds count messages, each already handled (its
    // effect visible, its answer queued). Needs keepLogs.
    [[nodiscard]] WaitOutcome WaitForReceived(std::size_t count, Clock::duration timeout) const;
    // Until every queued message has been handed to the sink.
    [[nodiscard]] WaitOutcome WaitUntilIdle(Clock::duration timeout) const;

    // Copies of the instrument's memory, for checking.
    std::vector<std::uint8_t> EditBuffer(DumpType type) const; // the type's BulkRegion
    // Throws UnknownAddressError when the address's block is not in the
    // directory or the bytes would leave the memory.
    std::vector<std::uint8_t> ReadMemory(std::uint32_t address, std::size_t count) const;
    // Empty when there is no such location.
    std::vector<std::uint8_t> StoredImage(int bankCode, int program) const;
    SoundBanks StoredSounds() const;

private:
    struct Reply {
        std::vector<sysex::Message> messages;
        bool faultable = false;
    };
    struct OpenBulk {
        int mid;
        int low;
    };

    void SendReply(Reply reply, Clock::time_point arrived);
    std::optional<Reply> Handle(std::span<const std::uint8_t> message, Clock::time_point time);
    std::optional<Reply> HandleDumpRequest(std::span<const std::uint8_t> message);
    void HandleParameterChange(std::span<const std::uint8_t> message, Clock::time_point time);
    void HandleBulkDump(std::span<const std::uint8_t> message);
    void HandleChannelMessage(std::span<const std::uint8_t> message);
    void LoadIntoEditBuffer(int bankCode, int program);
    void StoreEditBuffer(int bankCode, int program);
    static std::vector<sysex::Message> ApplyFaults(std::vector<sysex::Message> messages, const AnswerFaults& faults);

    mutable std::mutex mutex_; // guards everything below down to the transmitter
    ParameterMemory memory_;
    ParameterMemory scratch_; // builds answers for stored sounds
    SoundBanks banks_;
    std::uint8_t bankMsb_ = bank::kStoredSoundMsb;
    std::uint8_t bankLsb_ = 0;
    std::optional<OpenBulk> openBulk_;
    const std::chrono::microseconds replyLatency_;
    const bool keepLogs_;
    std::optional<AnswerFaults> faults_;
    FaultScope faultScope_ = FaultScope::NextAnswer;
    std::vector<SwitchEvent> switchEvents_;

    MessageLog received_;
    WireTransmitter transmitter_; // last: its thread stops before the rest goes
};

} // namespace cs6::sim
