// The emulated instrument as a test double: it shrugs off bad input, paces
// its output like the cable, and keeps no logs in the programs that ship it.
#include "sim/EmulatedInstrument.h"

#include <gtest/gtest.h>

#include <atomic>

#include "synth/SysExMessages.h"

namespace cs6::sim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
constexpr auto kWait = 10s;

Bytes Request(int mid, int low) { return sysex::DumpRequest(0x0E, mid, low); }
Bytes Change(int high, int mid, int low, Bytes data) { return sysex::ParameterChange(high, mid, low, data); }
Bytes Frame(int high, int mid, int low) { return sysex::BulkDump(high, mid, low, {}); } // bulk header 0E, footer 0F

class Instrument : public ::testing::Test {
protected:
    // Sends the messages and returns all that went out since the last call.
    std::vector<Bytes> Exchange(const std::vector<Bytes>& messages)
    {
        for (const Bytes& m : messages)
            instrument.Receive(m);
        EXPECT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
        const auto sent = instrument.TransmittedMessages();
        std::vector<Bytes> out;
        for (; taken_ < sent.size(); ++taken_)
            out.push_back(sent[taken_].bytes);
        return out;
    }

    EmulatedInstrument instrument{InstrumentOptions::ForUnitTests()};
    std::size_t taken_ = 0;
};

TEST_F(Instrument, BadOrForeignInputChangesNothingAndGetsNoAnswer)
{
    const auto state = [this] {
        return std::tuple{instrument.EditBuffer(DumpType::Performance), instrument.EditBuffer(DumpType::NormalVoice),
                          instrument.EditBuffer(DumpType::DrumVoice), instrument.StoredSounds()};
    };
    const auto before = state();
    const auto badChecksum = [](Bytes m) { m[m.size() - 2] ^= 0x01; return m; }; // off by one
    EXPECT_EQ(Exchange({
                  Request(0x18, 0x00), Request(0x00, 0x05), // PLG1 (no board), PRE1 (never requested)
                  Request(0x28, 0x02), Request(0x41, 0x40), // INT kit 3, EXT perf 65: no such location
                  Request(0x4F, 0x01), sysex::DumpRequest(0x30, 0x00, 0x00), // edit buffer with a program; one block
                  {0xF0, 0x43, 0x20, 0x4C, 0x0E, 0x4F, 0x00, 0xF7},       // another model
                  {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0x00, 0xF7}, // one byte too long
                  {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00},             // no F7
                  {0xF0, 0x7E, 0x00, 0x06, 0x02, 0xF7},                   // an identity reply, not a request
                  {},
                  Change(0x31, 0x10, 0x00, {0x11}), Change(0x33, 0x00, 0x00, {0x11}), // no part 17, no such area
                  Change(0x47, 0x00, 0x3F, {0x11, 0x22}), // past a drum key block's 64 bytes of room
                  Change(0x30, 0x00, 0x7F, {0x11, 0x22}), // past the end of its block
                  Change(0x30, 0x00, 0x05, {}),           // no data
                  {0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x05, 0x91, 0xF7}, // high bit inside SysEx
                  badChecksum(sysex::BulkDump(0x30, 0x00, 0x00, Bytes(68, 0x33))),
                  badChecksum(Frame(0x0E, 0x08, 0x05)), Frame(0x0F, 0x08, 0x05), // a bad header opens nothing
                  Frame(0x0E, 0x08, 0x05), Frame(0x0F, 0x08, 0x06),     // a footer for another program
                  Frame(0x0E, 0x00, 0x05), Frame(0x0F, 0x00, 0x05),     // PRE1 is read-only
                  {0xB0, 0x00, 0x3F}, {0xB0, 0x20, 0x01}, {0xC1, 0x05}, // program change on channel 2
                  {0xB0, 0x20, 0x28}, {0xC0, 0x02}, {0xB0, 0x20, 0x18}, {0xC0, 0x00}, // INT kit 3, PLG1
                  {0xB0, 0x00, 0x00}, {0xB0, 0x20, 0x00}, {0xC0, 0x09}, // GM bank: not modelled
              }),
              std::vector<Bytes>{});
    EXPECT_TRUE(state() == before);
    // Still answering, whatever the device number: a whole performance.
    EXPECT_EQ(Exchange({{0xF0, 0x43, 0x2F, 0x64, 0x0E, 0x4F, 0x00, 0xF7}}).size(), 34u);
}

TEST(ShippedInstrument, KeepsNoLogs)
{
    std::atomic<int> delivered = 0;
    EmulatedInstrument instrument{InstrumentOptions{}}; // as cs6edit and cs6sim run it, for hours
    instrument.SetTransmitSink([&delivered](std::span<const std::uint8_t>) { ++delivered; });
    for (int i = 0; i < 100; ++i) {
        instrument.Receive(Change(0x30, 0x00, 0x41, {static_cast<std::uint8_t>(i)}));
        instrument.Receive(Change(0x0A, 0x00, 0x10, {0x01})); // a switch event
    }
    ASSERT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, 1), PanelOutcome::Selected);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    EXPECT_EQ(delivered, 3);
    EXPECT_TRUE(instrument.ReceivedMessages().empty() && instrument.TransmittedMessages().empty() &&
                instrument.SwitchEvents().empty());
}

// A performance answer (34 messages, 1449 bytes) on the instrument's clock,
// against the request's arrival.
TEST(InstrumentPacing, OnEveryByteTakes320MicrosecondsOffTheAnswerIsFaster)
{
    const auto wireTime = [](std::size_t bytes) { return kMidiByteTime * static_cast<long>(bytes); };
    for (const WirePacing pacing : {WirePacing::MidiBaud, WirePacing::Off}) {
        EmulatedInstrument instrument({.pacing = pacing, .keepLogs = true});
        instrument.Receive(Request(0x4F, 0x00));
        ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
        const Clock::time_point asked = instrument.ReceivedMessages().at(0).time;
        const auto sent = instrument.TransmittedMessages();
        ASSERT_EQ(sent.size(), 34u);
        if (pacing == WirePacing::Off) {
            EXPECT_LT(sent.back().time - asked, wireTime(1449)) << "unpaced, faster than the wire";
            continue;
        }
        std::size_t bytes = 0;
        for (const LoggedMessage& message : sent)
            EXPECT_GE(message.time - asked, wireTime(bytes += message.bytes.size()));
        EXPECT_EQ(bytes, 1449u);
        EXPECT_LT(sent.back().time - asked, wireTime(bytes) + 5s) << "generous bound: pacing must not stall";
    }
}

} // namespace
} // namespace cs6::sim
