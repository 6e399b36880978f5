#pragma once
// The operations the port layer needs of a MIDI system, and nothing more:
// list ports with a GUID, a description and a direction; open a port by GUID;
// activate and deactivate it; a latency clock; send one complete message at
// once; for an input port, a read notification that is signalled when data
// arrives and the arrived events with their time stamps in arrival order.
//
// Drivers: the ALSA sequencer through RtMidi, JACK on libjack, and the
// in-process driver whose ports lead to a peer object in the same process.
// The code above cannot tell which one it has.

#include <QUuid>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/ReadEvent.h"
#include "midi/ReferenceTime.h"

namespace cs6 {

// Direction as seen by this program: an Input port is one we read from.
enum class PortDirection { Input, Output };

struct DriverPortInfo {
    QUuid guid;
    std::string name;        // the driver's own name of the port
    std::string description; // shown to the user: "CS6x Port 1 (ALSA)"
    PortDirection direction = PortDirection::Input;
};

struct TimedEvent {
    ReferenceTime time = 0;
    std::vector<std::uint8_t> bytes;
};

enum class DriverSendResult {
    Sent,
    TooLarge,  // more than the port can carry in one message
    QueueFull, // the driver could not take it now; nothing was sent
    PortGone,  // the port or its server has gone away
};

// An opened port. Thread: the user-interface thread, except Read, which the
// port's receive thread calls once receiving has started.
class DriverPort {
public:
    virtual ~DriverPort() = default;
    DriverPort() = default;
    DriverPort(const DriverPort&) = delete;
    DriverPort& operator=(const DriverPort&) = delete;

    // Starts or stops the flow of messages. False when it failed.
    [[nodiscard]] virtual bool Activate(bool active) = 0;
    // The port's clock, or nothing when it cannot be read.
    [[nodiscard]] virtual std::optional<ReferenceTime> LatencyClock() { return ReferenceNow(); }
    // Largest message the port takes in one send.
    [[nodiscard]] virtual std::size_t MaxMessageBytes() const = 0;
    // Output ports: sends one complete message at once, never blocking.
    [[nodiscard]] virtual DriverSendResult Send(std::span<const std::uint8_t> /*message*/, ReferenceTime /*when*/)
    {
        return DriverSendResult::PortGone;
    }
    // Input ports: the event the driver signals when data arrives, owned by
    // the driver and valid while the port lives; null when it cannot notify.
    [[nodiscard]] virtual ReadEvent* ReadNotification() { return nullptr; }
    // Input ports: appends the events that arrived since the last read, in
    // arrival order. False when there were none.
    [[nodiscard]] virtual bool Read(std::vector<TimedEvent>& /*events*/) { return false; }
    // True once the port or its server has gone away for good.
    [[nodiscard]] virtual bool Gone() const { return false; }
};

class MidiDriver {
public:
    virtual ~MidiDriver() = default;
    MidiDriver() = default;
    MidiDriver(const MidiDriver&) = delete;
    MidiDriver& operator=(const MidiDriver&) = delete;

    // The ports this driver offers now; none when its MIDI system is absent.
    [[nodiscard]] virtual std::vector<DriverPortInfo> ListPorts() = 0;
    // Opens the port with this GUID and direction; null when this driver has
    // no such port or cannot open it.
    [[nodiscard]] virtual std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) = 0;
};

} // namespace cs6
