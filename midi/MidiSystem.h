#pragma once
// The program's access to MIDI: the drivers, the enumerated port lists, and
// the opening of ports by GUID.
//
// Thread: the user-interface thread.

#include <QUuid>

#include <memory>
#include <string>
#include <vector>

#include "midi/DriverList.h"
#include "midi/MidiPort.h"

namespace cs6 {

struct MidiPortInfo {
    QUuid portGuid;
    std::string name; // the description shown to the user
};

// Enumerated ports, in the order of the MIDI system's drivers.
extern std::vector<MidiPortInfo> inputPorts;
extern std::vector<MidiPortInfo> outputPorts;

struct MidiSystemConfig {
    // The drivers, in the order their ports are listed and a GUID is looked up.
    std::vector<DriverFactory> drivers = StandardDrivers();
};

class MidiSystem {
public:
    // Makes the configured drivers; "nono1" when not one could be made
    // (enumeration, opening and sending then do nothing).
    explicit MidiSystem(MidiSystemConfig config = {});
    ~MidiSystem();
    MidiSystem(const MidiSystem&) = delete;
    MidiSystem& operator=(const MidiSystem&) = delete;

    // Open a port by GUID, activated. Throw PyxMidiPortException when no
    // driver has the port or it cannot be opened.
    std::unique_ptr<MidiInputPort> CreateInputPort(const QUuid& guid, std::uint32_t maxMessageBytes);
    std::unique_ptr<MidiPort> CreateOutputPort(const QUuid& guid, std::uint32_t maxMessageBytes);

    // All drivers' ports as they are now.
    std::vector<DriverPortInfo> ListPorts();

    // The driver's port itself, activated, for a caller that handles its
    // failures without the message boxes of MidiPort. Throws as above.
    std::unique_ptr<DriverPort> OpenActive(const QUuid& guid, PortDirection direction);

private:
    std::vector<std::unique_ptr<MidiDriver>> drivers_;
};

// Created at start-up, destroyed at shutdown.
extern std::unique_ptr<MidiSystem> midiSystem;

// Appends every port of midiSystem to inputPorts or outputPorts.
void EnumerateMidiPorts();

} // namespace cs6
