#pragma once
// Every driver the program can use, each as a factory, and the list the
// program uses: the one place that names the concrete drivers. MidiSystem
// makes its drivers from such a list when it starts; their order is the order
// ports are listed in and a port's GUID is looked up in.
//
// Thread: the user-interface thread.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "midi/InProcessDriver.h"
#include "midi/MidiDriver.h"

namespace cs6 {

// Makes one driver; null leaves it out (its MIDI system is absent).
using DriverFactory = std::function<std::unique_ptr<MidiDriver>()>;

// Peers in this process under their port names.
using InProcessPeers = std::vector<std::pair<std::string, std::shared_ptr<InProcessPeer>>>;

// Each peer as one input and one output port of its name; left out without peers.
DriverFactory InProcessPorts(InProcessPeers peers);
// The ALSA sequencer through RtMidi; left out when there is no sequencer.
DriverFactory AlsaSequencer(std::string clientName);
// JACK, kept even without a server: it connects when one runs.
DriverFactory JackMidi(std::string clientName);

// The program's drivers: the in-process peers first, then ALSA, then JACK.
std::vector<DriverFactory> StandardDrivers(InProcessPeers peers = {}, const std::string& clientName = "cs6edit");

} // namespace cs6
