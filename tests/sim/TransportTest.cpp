// The editor's instrument model against the emulated instrument over the real
// transport (in-process driver, connection, receive thread): a request fills
// its region of the memory and leaves the rest alone.
#include <gtest/gtest.h>

#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/SynthDevice.h"

namespace cs6 {
namespace {

struct Row {
    int mid;
    DumpType type;
    sim::SoundKind kind;
};

class OverTheTransport : public ::testing::TestWithParam<Row> {
protected:
    OverTheTransport()
    {
        MidiSystemConfig config;
        config.useAlsa = config.useJack = false;
        config.inProcessPeers.emplace_back(sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument));
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        midiSettings = {};
        midiSettings.inputEnabled = midiSettings.outputEnabled = 1;
        midiSettings.inputPortGuid = midiSettings.outputPortGuid = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        OpenMidiConnection();
        device.SetOutput(&output);
        device.SetReplySource(&replies);
    }
    ~OverTheTransport() override
    {
        CloseMidiConnection();
        midiSystem.reset();
    }

    std::shared_ptr<sim::EmulatedInstrument> instrument =
        std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
    ConnectionOutput output;
    CollectorReplySource replies;
    SynthDevice device;
};

TEST_P(OverTheTransport, ARequestChangesOnlyItsRegion)
{
    ASSERT_TRUE(inputOpen && outputOpen);
    ASSERT_EQ(device.RequestDump(0x0E, GetParam().mid, 0x00, GetParam().type), DumpOutcome::Complete);
    const MemoryRegion region = sim::StoredRegion(GetParam().kind);
    const std::vector<std::uint8_t> sent = instrument->EditBuffer(GetParam().kind);
    ASSERT_NE(sent, std::vector<std::uint8_t>(sent.size(), 0));
    const auto& image = device.Memory().image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        const bool inside = i >= region.offset && i < region.offset + region.size;
        ASSERT_EQ(image[i], inside ? sent[i - region.offset] : 0) << "offset " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EachEditBuffer, OverTheTransport,
                         ::testing::Values(Row{0x4F, DumpType::Performance, sim::SoundKind::Performance},
                                           Row{0x0F, DumpType::NormalVoice, sim::SoundKind::NormalVoice},
                                           Row{0x2F, DumpType::DrumVoice, sim::SoundKind::DrumVoice}));

} // namespace
} // namespace cs6
