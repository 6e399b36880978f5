#pragma once
// The ALSA sequencer through RtMidi: the path to real hardware on a Linux
// desktop. RtMidi 5 loses data without a word unless it is set up with care,
// so every port here:
//   - names its API: the unspecified API throws when there is no ALSA
//     sequencer instead of trying another;
//   - calls ignoreTypes(false, ...): SysEx is ignored by default;
//   - takes input through the callback: polled input keeps only 100 queued
//     messages, and a drum-voice dump is 374;
//   - sets an error callback: warnings go to standard error otherwise, and
//     with the callback set errors no longer throw, so they are recorded and
//     checked after every call that can fail.
// A machine without an ALSA sequencer simply has no ports of this kind.
//
// Thread: enumeration, opening and sending on the user-interface thread;
// RtMidi's own thread runs the input callback.

#include <rtmidi/RtMidi.h>

#include <memory>
#include <string>

#include "midi/MidiDriver.h"

namespace cs6 {

class RtMidiDriver : public MidiDriver {
public:
    // api: RtMidi::LINUX_ALSA in the program. kind names the GUID namespace
    // ("alsa") and label the description's suffix ("ALSA").
    RtMidiDriver(RtMidi::Api api, std::string clientName, std::string kind, std::string label);
    ~RtMidiDriver() override;

    // False when the MIDI system behind the API could not be opened.
    bool Available() const { return available_; }

    std::vector<DriverPortInfo> ListPorts() override;
    std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) override;

    // A port of our own that other programs connect to (the emulated
    // instrument's); null when the sequencer is absent or refuses it.
    std::unique_ptr<DriverPort> OpenVirtual(PortDirection direction, const std::string& portName);

    // What the driver did with RtMidi's warnings and errors (tests look here).
    const std::vector<std::string>& Diagnostics() const;

private:
    struct Enumerators;

    RtMidi::Api api_;
    std::string clientName_;
    std::string kind_;
    std::string label_;
    bool available_ = false;
    std::unique_ptr<Enumerators> enumerators_;
};

} // namespace cs6
