#pragma once
// A driver whose ports lead to peer objects in the same process: the
// emulated instrument when no hardware is connected, scripted peers in tests.
// Each peer appears as one input and one output port of the same name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiDriver.h"

namespace cs6 {

class InProcessPeer {
public:
    using Transmit = std::function<void(std::span<const std::uint8_t> message)>;

    virtual ~InProcessPeer() = default;

    // The program's output port sent one complete message to the peer.
    // Called on the sending thread (the user-interface thread).
    virtual void FromProgram(std::span<const std::uint8_t> message) = 0;

    // Called once when the peer is added: the peer sends its messages to the
    // program through transmit, from any thread. Messages sent while the
    // program's input port is closed are lost, as on a cable.
    virtual void SetTransmit(Transmit transmit) = 0;
};

class InProcessDriver : public MidiDriver {
public:
    InProcessDriver();
    ~InProcessDriver() override;

    // Adds a peer under a port name; its ports are listed in the order added.
    void AddPeer(std::string portName, std::shared_ptr<InProcessPeer> peer);

    std::vector<DriverPortInfo> ListPorts() override;
    std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) override;

private:
    class Link; // one per peer: where its messages go
    class InputPort;
    class OutputPort;

    struct Entry {
        std::string portName;
        QUuid guid;
        std::shared_ptr<InProcessPeer> peer;
        std::shared_ptr<Link> link;
    };
    std::vector<Entry> entries_;
};

} // namespace cs6
