// A request over the real transport (in-process driver, connection, receive
// thread) fills its region of the editor's memory and leaves the rest alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

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
    using sim::SoundKind;
    for (const auto& [mid, type, kind] : {std::tuple{0x4F, DumpType::Performance, SoundKind::Performance},
                                          std::tuple{0x0F, DumpType::NormalVoice, SoundKind::NormalVoice},
                                          std::tuple{0x2F, DumpType::DrumVoice, SoundKind::DrumVoice}}) {
        auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
        MidiSystemConfig config;
        config.useAlsa = config.useJack = false;
        config.inProcessPeers.emplace_back(sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument));
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        midiSettings = {};
        midiSettings.inputEnabled = midiSettings.outputEnabled = 1;
        midiSettings.inputPortGuid = midiSettings.outputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        OpenMidiConnection();
        ConnectionOutput output;
        CollectorReplySource replies;
        SynthDevice device(&output);
        device.SetReplySource(&replies);
        EXPECT_EQ(device.RequestDump(0x0E, mid, 0x00, type), DumpOutcome::Complete);
        CloseMidiConnection();
        midiSystem.reset();

        const std::vector<std::uint8_t> sent = instrument->EditBuffer(kind);
        std::vector<std::uint8_t> memory(device.Memory().image.begin(), device.Memory().image.end());
        const auto region = memory.begin() + static_cast<std::ptrdiff_t>(sim::StoredRegion(kind).offset);
        EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](std::uint8_t b) { return b != 0; }));
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), region)) << "mid " << mid;
        std::fill_n(region, sent.size(), 0); // and nothing else written
        EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](std::uint8_t b) { return b == 0; })) << "mid " << mid;
    }
}

} // namespace
} // namespace cs6
