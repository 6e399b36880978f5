#pragma once
// JACK MIDI directly on libjack: one JACK client per program (the editor's is
// "cs6edit" with the ports "midi_in" and "midi_out"). Opening a port by GUID
// connects one of ours to that JACK port: "midi_in" or "midi_out" while it is
// free, else a further port of ours ("midi_in_2", ...) kept while the opened
// port lives, so every opened port carries only its own messages. A send never blocks: it queues the
// message for the next process cycle, refuses a message too large for the
// port's buffer, and fails at once once the server has gone away. Without a
// running server the driver simply lists no ports; it connects again when a
// server runs.
//
// Thread: ListPorts, Open and the port operations on the user-interface
// thread; Read on the receive thread; JACK's process and shutdown callbacks
// on JACK's threads.

#include <memory>
#include <string>

#include "midi/MidiDriver.h"

namespace cs6 {

class JackDriver : public MidiDriver {
public:
    explicit JackDriver(std::string clientName = "cs6edit");
    ~JackDriver() override;

    std::vector<DriverPortInfo> ListPorts() override;
    std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) override;

    // Our own "midi_in" or "midi_out", connected to nothing by us: for a
    // program that others connect to (the emulated instrument). Null without
    // a server.
    std::unique_ptr<DriverPort> OpenOwn(PortDirection direction);

    // True when a client is connected to a live server (connecting if needed).
    bool Connect();
    // The JACK name of our own input or output port, e.g. "cs6edit:midi_in".
    std::string OwnPortName(PortDirection direction) const;

private:
    struct Channel; // one JACK port of ours
    class Client;   // the JACK client with our ports, shared by the ports opened on it
    class Port;

    std::shared_ptr<Client> EnsureClient();

    std::string clientName_;
    std::shared_ptr<Client> client_;
};

} // namespace cs6
