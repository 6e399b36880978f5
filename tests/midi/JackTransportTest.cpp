// What only a real MIDI server can break: jackd with the dummy driver, started
// by the test under a name of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "midi/JackDriver.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "tests/support/MidiTestSupport.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes SysEx(std::size_t size, std::uint8_t seed)
{
    Bytes message{0xF0};
    for (std::size_t i = 1; i + 1 < size; ++i)
        message.push_back(static_cast<std::uint8_t>((i + seed) & 0x7F));
    message.push_back(0xF7);
    return message;
}

TEST(JackTransport, ALargeSysExCrossesWholeAndInOrderAndAServerThatDiesFailsSendsAtOnce)
{
    CS6_JACK_SERVER_OR_SKIP();
    test::Boxes boxes;
    MidiSystem system({.drivers = {JackMidi("cs6edit")}});
    const QUuid toPeer = PortGuid(kJackKind, "testpeer:midi_in");
    auto peer = std::make_unique<JackDriver>("testpeer"); // the other JACK client, playing the instrument
    ASSERT_TRUE(peer->Connect());
    for (const auto& port : system.ListPorts())
        EXPECT_NE(port.name.rfind("cs6edit:", 0), 0u) << "own port listed: " << port.name;

    auto output = system.CreateOutputPort(toPeer, 0x100000);
    auto peerIn = peer->Open(PortGuid(kJackKind, "cs6edit:midi_out"), PortDirection::Input);
    ASSERT_TRUE(peerIn && peerIn->Activate(true));
    const std::vector<Bytes> sent = {{0xC0, 0x05}, SysEx(4096, 1), {0xC0, 0x06}, SysEx(11, 2)};
    for (const auto& message : sent)
        ASSERT_EQ(output->SendMidiMessage(message, 0), SendOutcome::Sent);
    EXPECT_EQ(test::Received(*peerIn, sent.size()), sent);
    EXPECT_TRUE(boxes.empty());

    server->Kill();
    // Until the client notices, a send may still be queued; every send must
    // return at once, and soon they fail.
    SendOutcome outcome = SendOutcome::Sent;
    const auto deadline = Clock::now() + 10s;
    while (outcome == SendOutcome::Sent && Clock::now() < deadline) {
        const auto start = Clock::now();
        outcome = output->SendMidiMessage(Bytes{0xC0, 0x02}, 0);
        EXPECT_LT(Clock::now() - start, 100ms);
        if (outcome == SendOutcome::Sent)
            std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(outcome, SendOutcome::Failed);
    EXPECT_TRUE(output->Gone());
    EXPECT_EQ(boxes.back(), "C"); // after "A": the clock went with the server
    EXPECT_TRUE(system.ListPorts().empty()); // no server: no ports, no error
    EXPECT_THROW(system.CreateOutputPort(toPeer, 0x100000), PyxMidiPortException);
    // A new server under the running editor: InstrumentDetectionTest.
}

} // namespace
} // namespace cs6
