#pragma once
// The instrument model wired to the open connection as the program wires it,
// and the set-up the benchmarks share.

#include <QUuid>

#include <string>

#include "framework/FileIo.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
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
