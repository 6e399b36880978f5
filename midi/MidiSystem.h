#pragma once
// The program's access to MIDI: the drivers, the enumerated port lists, and
// the opening of ports by GUID.
//
// Thread: the user-interface thread.

#include <QUuid>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "midi/InProcessDriver.h"
#include "midi/MidiPort.h"

namespace cs6 {

class JackDriver;
class RtMidiDriver;

struct MidiPortInfo {
    QUuid portGuid;
    std::string name; // the description shown to the user
};

// Enumerated ports, in the order the drivers list them (the in-process peers
// first, then ALSA, then JACK).
extern std::vector<MidiPortInfo> inputPorts;
extern std::vector<MidiPortInfo> outputPorts;

struct MidiSystemConfig {
    std::string clientName = "cs6edit";
    // In-process peers, each listed as one input and one output port.
    std::vector<std::pair<std::string, std::shared_ptr<InProcessPeer>>> inProcessPeers;
    bool useAlsa = true;
    bool useJack = true;
    // Further drivers, listed after the others (tests use failing ones).
    std::vector<std::unique_ptr<MidiDriver>> extraDrivers;
};

class MidiSystem {
public:
    // Creates every driver it can; "nono1" when not one could be created
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

    JackDriver* Jack() const { return jack_; }

private:
    void OpenPort(MidiPort& port, PortDirection direction);

    std::vector<std::unique_ptr<MidiDriver>> drivers_;
    JackDriver* jack_ = nullptr;
};

// Created at start-up, destroyed at shutdown.
extern std::unique_ptr<MidiSystem> midiSystem;

// Appends every port of midiSystem to inputPorts or outputPorts.
void EnumerateMidiPorts();

} // namespace cs6
