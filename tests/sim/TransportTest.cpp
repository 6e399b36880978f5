// A request over the real transport (in-process driver, connection, receive
// thread) fills its region of the editor's memory and leaves the rest alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/SynthDevice.h"

namespace cs6 {
namespace {

TEST(OverTheTransport, ARequestChangesOnlyItsRegion)
{
    for (const DumpType type : kDumpTypes) {
        SCOPED_TRACE(static_cast<int>(type));
        auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
        midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
            .drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
        midiSettings = {};
        midiSettings.inputEnabled = midiSettings.outputEnabled = 1;
        midiSettings.inputPortGuid = midiSettings.outputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        OpenMidiConnection();
        ConnectionOutput output;
        CollectorReplySource replies;
        SynthDevice device(&output);
        device.SetReplySource(&replies);
        EXPECT_EQ(device.RequestEditBuffer(type), DumpOutcome::Complete);
        CloseMidiConnection();
        midiSystem.reset();

        const std::vector<std::uint8_t> sent = instrument->EditBuffer(type);
        std::vector<std::uint8_t> memory(device.Memory().image.begin(), device.Memory().image.end());
        const auto region = memory.begin() + static_cast<std::ptrdiff_t>(BulkRegion(type).offset);
        EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](std::uint8_t b) { return b != 0; }));
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), region));
        std::fill_n(region, sent.size(), 0); // and nothing else written
        EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

} // namespace
} // namespace cs6
