#pragma once
// The editor's instrument model connected to the emulated instrument through
// the real transport: the in-process driver, the connection and its receive
// thread. Pacing is off unless a test asks for it.

#include <gtest/gtest.h>

#include <memory>

#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/SynthDevice.h"

namespace cs6::test {

class EmulatedLink {
public:
    explicit EmulatedLink(sim::InstrumentOptions options = sim::InstrumentOptions::ForUnitTests())
        : instrument(std::make_shared<sim::EmulatedInstrument>(options))
    {
        MidiSystemConfig config;
        config.useAlsa = false;
        config.useJack = false;
        config.inProcessPeers.emplace_back(sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument));
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        midiSettings = {};
        midiSettings.inputEnabled = 1;
        midiSettings.outputEnabled = 1;
        midiSettings.inputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        midiSettings.outputPortGuid = midiSettings.inputPortGuid;
        OpenMidiConnection();
        EXPECT_TRUE(inputOpen && outputOpen);
        device.SetOutput(&output);
        device.SetReplySource(&replies);
    }

    ~EmulatedLink()
    {
        CloseMidiConnection();
        midiSystem.reset();
    }

    EmulatedLink(const EmulatedLink&) = delete;
    EmulatedLink& operator=(const EmulatedLink&) = delete;

    std::shared_ptr<sim::EmulatedInstrument> instrument;
    ConnectionOutput output;
    CollectorReplySource replies;
    SynthDevice device;
};

} // namespace cs6::test
