#pragma once
// The open MIDI connection: the input and output ports that midiSettings
// names, with the receive thread on the input.
//
// Thread: the user-interface thread.

#include <cstdint>
#include <memory>

#include "midi/MidiPort.h"
#include "midi/ReplyCollector.h"
#include "synth/MessageOutput.h"
#include "synth/ReplySource.h"

namespace cs6 {

// Valid while inputOpen / outputOpen are set.
extern std::unique_ptr<MidiInputPort> inputPort;
extern std::unique_ptr<MidiPort> outputPort;
extern bool inputOpen;
extern bool outputOpen;

inline constexpr std::uint32_t kMaxMessageBytes = 0x100000;

// Closes whatever is open, then opens the ports midiSettings names and starts
// receiving into replyCollector. A port that cannot be opened or cannot start
// receiving stays closed without a message; the flags tell.
void OpenMidiConnection();

// Deactivates and releases the ports, waiting for the receive thread to end.
void CloseMidiConnection();

// The instrument model's output: the open output port. A port whose server
// or device has gone away counts as closed from then on, so the user sees one
// failure, not one per message of a bulk.
class ConnectionOutput : public MessageOutput {
public:
    void SendMessage(std::span<const std::uint8_t> message) override;
    // Every message handed to it so far, sent or not (the port watcher asks).
    std::uint64_t Handed() const { return handed_; }

private:
    std::uint64_t handed_ = 0;
};

// The instrument model's replies: a reply collector (the program's one,
// replyCollector, fed by the input port's receive thread).
class CollectorReplySource : public ReplySource {
public:
    explicit CollectorReplySource(ReplyCollector& collector = replyCollector) : collector_(collector) {}
    void Arm(int expectedCount) override;
    std::vector<std::vector<std::uint8_t>> WaitForReplies() override;

private:
    ReplyCollector& collector_;
};

} // namespace cs6
