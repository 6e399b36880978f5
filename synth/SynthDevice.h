#pragma once
// The model of the instrument: the parameter memory plus the operations that
// send parameter changes and bulk dumps built from it. Every dialog holds a
// pointer to the one SynthDevice and edits parameters through it: write the
// byte through ByteAt / ByteAtAddress first, then send, since the message takes
// its data bytes from the memory.
//
// Thread: the user-interface thread only.

#include <cstdint>
#include <span>

#include "synth/MessageOutput.h"
#include "synth/ParameterMemory.h"

namespace cs6 {

class SynthDevice {
public:
    // output may be null (nothing is sent) and may be set later.
    explicit SynthDevice(MessageOutput* output = nullptr);

    SynthDevice(const SynthDevice&) = delete;
    SynthDevice& operator=(const SynthDevice&) = delete;

    ParameterMemory& Memory() { return memory_; }
    const ParameterMemory& Memory() const { return memory_; }

    std::uint8_t* ByteAt(int high, int mid, int low) { return memory_.ByteAt(high, mid, low); }
    std::uint8_t* ByteAtAddress(std::uint32_t address) { return memory_.ByteAtAddress(address); }

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

private:
    std::span<const std::uint8_t> MemoryBytes(int high, int mid, int low, int count) const;
    void Send(std::span<const std::uint8_t> message);

    ParameterMemory memory_;
    MessageOutput* output_;
};

// A parameter change carrying the caller's bytes (used for the switch
// parameters 0A 00 10 and 0A 00 11). Empty data sends nothing.
void SendParameterData(MessageOutput* output, int high, int mid, int low, std::span<const std::uint8_t> data);

// A bulk dump carrying the caller's bytes; empty data sends a bulk header or
// footer.
void SendBulkData(MessageOutput* output, int high, int mid, int low, std::span<const std::uint8_t> data);

} // namespace cs6
