#pragma once
// The instrument model wired to the open connection as the program wires it,
// and the set-up the benchmarks share.

#include <QUuid>

#include <memory>
#include <string>

#include "framework/FileIo.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"
#include "synth/SynthDevice.h"

namespace cs6::bench {

struct ConnectedDevice {
    ConnectedDevice() { device.SetReplySource(&replies); }
    ConnectedDevice(const ConnectedDevice&) = delete;
    ConnectedDevice& operator=(const ConnectedDevice&) = delete;

    ConnectionOutput output;
    CollectorReplySource replies;
    SynthDevice device{&output};
};

// Chooses these ports and opens the connection (midiSystem must exist).
inline void OpenPorts(const QUuid& input, const QUuid& output)
{
    midiSettings = {};
    midiSettings.inputEnabled = midiSettings.outputEnabled = 1;
    midiSettings.inputPortGuid = input;
    midiSettings.outputPortGuid = output;
    OpenMidiConnection();
}

// The emulated instrument behind the program's in-process ports, paced like
// the cable unless options say otherwise, with midiSystem made on those
// ports alone and the connection opened on them. Returns the instrument.
inline std::shared_ptr<sim::EmulatedInstrument> OpenInProcessInstrument(sim::InstrumentOptions options = {})
{
    auto instrument = std::make_shared<sim::EmulatedInstrument>(options);
    midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
        .drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
    const QUuid port = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
    OpenPorts(port, port);
    return instrument;
}

// A run folder: the emulated instrument's data files and a settings.dat
// naming its in-process ports.
inline bool PrepareRunFolder(const std::string& folder)
{
    if (sim::WriteFactoryDataFiles(folder).outcome != sim::WriteResult::Outcome::Written)
        return false;
    MidiSettings settings;
    settings.inputEnabled = settings.outputEnabled = 1;
    settings.inputPortGuid = settings.outputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
    WriteFileAtomically(folder + "/" + kSettingsFileName, SerializeMidiSettings(settings));
    return true;
}

} // namespace cs6::bench
