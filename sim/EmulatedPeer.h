#pragma once
// The emulated instrument as the in-process driver's peer: its "Emulated
// CS6x" input and output ports lead straight to an EmulatedInstrument.
//
// Thread: FromProgram on the sending thread; the instrument transmits from
// its own delivery thread.

#include <memory>

#include "midi/InProcessDriver.h"
#include "sim/EmulatedInstrument.h"

namespace cs6::sim {

inline constexpr const char* kEmulatedPortName = "Emulated CS6x";

class EmulatedPeer : public InProcessPeer {
public:
    explicit EmulatedPeer(std::shared_ptr<EmulatedInstrument> instrument) : instrument_(std::move(instrument)) {}

    void FromProgram(std::span<const std::uint8_t> message) override { instrument_->Receive(message); }
    void SetTransmit(Transmit transmit) override { instrument_->SetTransmitSink(std::move(transmit)); }

private:
    std::shared_ptr<EmulatedInstrument> instrument_;
};

} // namespace cs6::sim
