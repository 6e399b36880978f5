// The wire model, measured on the instrument's own clock: the arrival stamp of
// a request in its receive log against the hand-over stamps in its transmit log.

#include <gtest/gtest.h>

#include <numeric>

#include "sim/EmulatedInstrument.h"
#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::kWait;

std::size_t TotalBytes(const std::vector<LoggedMessage>& messages)
{
    return std::accumulate(messages.begin(), messages.end(), std::size_t{0},
                           [](std::size_t sum, const LoggedMessage& m) { return sum + m.bytes.size(); });
}

Clock::duration WireTime(std::size_t bytes) { return kMidiByteTime * static_cast<long>(bytes); }

class Paced : public test::InstrumentHarness {
protected:
    Paced() : InstrumentHarness(InstrumentOptions{}) {} // the default: paced
};

TEST_F(Paced, AnAnswerOfNBytesTakesAtLeastNTimes320Microseconds)
{
    ASSERT_EQ(Request(0x4F, 0x00).size(), 34u);
    const auto request = instrument.ReceivedMessages().at(0);
    const auto sent = instrument.TransmittedMessages();
    ASSERT_EQ(sent.size(), 34u);
    const std::size_t bytes = TotalBytes(sent);
    EXPECT_EQ(bytes, 1449u);

    const auto took = sent.back().time - request.time;
    EXPECT_GE(took, WireTime(bytes)); // 463.68 ms
    EXPECT_LT(took, WireTime(bytes) + 5s) << "generous bound: pacing must not stall";

    // Every message waits for the one before it to leave the wire.
    std::size_t before = 0;
    for (const LoggedMessage& message : sent) {
        before += message.bytes.size();
        EXPECT_GE(message.time - request.time, WireTime(before));
    }
}

TEST_F(Paced, ReplyLatencyComesBeforeTheFirstByte)
{
    instrument.SetReplyLatency(60ms);
    const auto reply = Exchange({{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}});
    ASSERT_EQ(reply.size(), 1u);
    const auto took = instrument.TransmittedMessages().at(0).time - instrument.ReceivedMessages().at(0).time;
    EXPECT_GE(took, 60ms + WireTime(15)); // 15 bytes of identity reply
}

TEST_F(Paced, FrontPanelMessagesArePacedWithoutLatency)
{
    instrument.SetReplyLatency(10s); // would time the test out if it applied
    const Clock::time_point pressed = Clock::now();
    ASSERT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, 0), PanelOutcome::Selected);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    const auto sent = instrument.TransmittedMessages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_GE(sent.back().time - pressed, WireTime(3 + 3 + 2));
}

TEST_F(Paced, TurnedOffItHandsOnFasterThanTheWire)
{
    instrument.SetPacing(WirePacing::Off);
    ASSERT_EQ(Request(0x2F, 0x00).size(), 374u);
    const auto sent = instrument.TransmittedMessages();
    const auto took = sent.back().time - instrument.ReceivedMessages().at(0).time;
    EXPECT_LT(took, WireTime(TotalBytes(sent))); // 7889 bytes would take 2.52 s
}

TEST(WireTransmitter, DestroyedWithMessagesStillQueuedDropsThem)
{
    test::Capture capture;
    {
        WireTransmitter transmitter(WirePacing::MidiBaud);
        transmitter.SetSink([&](std::span<const std::uint8_t> m) { capture.Take(m); });
        // Due in an hour: the destructor must not wait for it.
        transmitter.Send({Bytes{0xC0, 0x01}}, Clock::now() + 1h);
    }
    EXPECT_TRUE(capture.Drain().empty());
}

TEST(WireTransmitter, AfterSetSinkReturnsTheOldSinkIsNotCalled)
{
    WireTransmitter transmitter(WirePacing::Off);
    test::Capture first;
    test::Capture second;
    transmitter.SetSink([&](std::span<const std::uint8_t> m) { first.Take(m); });
    transmitter.Send({Bytes{0xC0, 0x01}}, Clock::now());
    ASSERT_EQ(transmitter.WaitUntilIdle(kWait), WaitOutcome::Reached);
    transmitter.SetSink([&](std::span<const std::uint8_t> m) { second.Take(m); });
    transmitter.Send({Bytes{0xC0, 0x02}, Bytes{0xC0, 0x03}}, Clock::now());
    ASSERT_EQ(transmitter.WaitUntilIdle(kWait), WaitOutcome::Reached);
    EXPECT_EQ(first.Drain(), (std::vector<Bytes>{{0xC0, 0x01}}));
    EXPECT_EQ(second.Drain(), (std::vector<Bytes>{{0xC0, 0x02}, {0xC0, 0x03}}));
}

} // namespace
} // namespace cs6::sim
