// The transport over a real MIDI server: jackd with the dummy driver, started
// by the test under a name of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/UserMessage.h"
#include "midi/JackDriver.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "midi/ReplyCollector.h"
#include "tests/support/JackServer.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes SysEx(std::size_t size, std::uint8_t seed)
{
    Bytes message(size);
    message.front() = 0xF0;
    for (std::size_t i = 1; i + 1 < size; ++i)
        message[i] = static_cast<std::uint8_t>((i + seed) & 0x7F);
    message.back() = 0xF7;
    return message;
}

// Reads everything a port receives until count events arrived or time ran out.
std::vector<TimedEvent> ReadEvents(DriverPort& port, std::size_t count, std::chrono::milliseconds timeout)
{
    std::vector<TimedEvent> events;
    const auto deadline = Clock::now() + timeout;
    while (events.size() < count && Clock::now() < deadline) {
        port.ReadNotification()->WaitUntil(std::min(deadline, Clock::now() + 100ms));
        (void)port.Read(events);
    }
    return events;
}

class JackTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string whyNot;
        server = test::JackServer::StartAny(&whyNot);
        if (!server)
            GTEST_SKIP() << "JACK server could not start here: " << whyNot;
        previous_ = SetMessageBoxHandler([this](std::string_view text) { boxes.emplace_back(text); });
    }

    void TearDown() override
    {
        if (server)
            SetMessageBoxHandler(std::move(previous_));
    }

    std::unique_ptr<MidiSystem> MakeSystem()
    {
        MidiSystemConfig config;
        config.useAlsa = false;
        return std::make_unique<MidiSystem>(std::move(config));
    }

    std::unique_ptr<test::JackServer> server;
    std::vector<std::string> boxes;

private:
    MessageBoxHandler previous_;
};

TEST_F(JackTransportTest, PortsOpenedByGuidCarryLargeSysExAndShortMessagesWholeAndInOrder)
{
    JackDriver peer("testpeer"); // the other JACK client, playing the instrument
    ASSERT_TRUE(peer.Connect());
    auto system = MakeSystem();

    // The editor's client lists the peer's ports under stable GUIDs.
    const QUuid toPeer = PortGuid(kJackKind, "testpeer:midi_in");
    const QUuid fromPeer = PortGuid(kJackKind, "testpeer:midi_out");
    bool listedIn = false, listedOut = false;
    for (const auto& port : system->ListPorts()) {
        listedOut |= port.guid == toPeer && port.direction == PortDirection::Output &&
                     port.description == "testpeer:midi_in (JACK)";
        listedIn |= port.guid == fromPeer && port.direction == PortDirection::Input;
        EXPECT_EQ(port.name.rfind("cs6edit:", 0), std::string::npos) << "own port listed: " << port.name;
    }
    EXPECT_TRUE(listedIn);
    EXPECT_TRUE(listedOut);

    auto output = system->CreateOutputPort(toPeer, 0x100000);
    auto input = system->CreateInputPort(fromPeer, 0x100000);
    ReplyCollector collector;
    input->StartReceiving(&collector);

    auto peerIn = peer.Open(PortGuid(kJackKind, "cs6edit:midi_out"), PortDirection::Input);
    auto peerOut = peer.Open(PortGuid(kJackKind, "cs6edit:midi_in"), PortDirection::Output);
    ASSERT_TRUE(peerIn && peerOut);
    ASSERT_TRUE(peerIn->Activate(true));
    ASSERT_TRUE(peerOut->Activate(true));

    // Editor to peer: a 4 KB SysEx between two-byte messages.
    const std::vector<Bytes> sent = {{0xC0, 0x05}, SysEx(4096, 1), {0xC0, 0x06}, SysEx(11, 2)};
    for (const auto& message : sent)
        ASSERT_EQ(output->SendMidiMessage(message, 0), SendOutcome::Sent);
    const auto received = ReadEvents(*peerIn, sent.size(), 5s);
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(received[i].bytes, sent[i]) << "message " << i;

    // Peer to editor: the answers reach the collector whole and in order.
    std::vector<Bytes> answers;
    for (std::uint8_t i = 0; i < 40; ++i)
        answers.push_back(SysEx(i == 0 ? 4096 : 37 + i, i));
    collector.Arm(static_cast<int>(answers.size()));
    for (const auto& answer : answers)
        ASSERT_EQ(peerOut->Send(answer, ReferenceNow()), DriverSendResult::Sent);
    ASSERT_EQ(collector.WaitForReplies(), answers.size());
    const auto batch = collector.TakeCollected();
    for (std::size_t i = 0; i < answers.size(); ++i)
        EXPECT_EQ(batch[i].data, answers[i]) << "answer " << i;

    input->StopReceiving();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(JackTransportTest, AMessageTooLargeForThePortBufferIsRefused)
{
    JackDriver peer("testpeer");
    ASSERT_TRUE(peer.Connect());
    auto system = MakeSystem();
    auto output = system->CreateOutputPort(PortGuid(kJackKind, "testpeer:midi_in"), 0x100000);
    EXPECT_EQ(output->SendMidiMessage(SysEx(0x100000, 0), 0), SendOutcome::Refused);
    EXPECT_EQ(boxes, std::vector<std::string>{"B"});
}

TEST_F(JackTransportTest, SendsFailAtOnceWhenTheServerIsGoneAndPortsOpenAgainWithANewServer)
{
    auto peer = std::make_unique<JackDriver>("testpeer");
    ASSERT_TRUE(peer->Connect());
    auto system = MakeSystem();
    const QUuid toPeer = PortGuid(kJackKind, "testpeer:midi_in");
    auto output = system->CreateOutputPort(toPeer, 0x100000);
    ASSERT_EQ(output->SendMidiMessage(Bytes{0xC0, 0x01}, 0), SendOutcome::Sent);

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
    EXPECT_EQ(boxes.back(), "C");
    EXPECT_TRUE(system->ListPorts().empty()); // no server: no ports, no error
    EXPECT_THROW(system->CreateOutputPort(toPeer, 0x100000), PyxMidiPortException);

    // A new server under the same name: the same GUID opens again.
    std::string whyNot;
    server = test::JackServer::Start(server->Name(), &whyNot);
    ASSERT_TRUE(server) << whyNot;
    peer = std::make_unique<JackDriver>("testpeer");
    ASSERT_TRUE(peer->Connect());
    output.reset(); // the old port is released with its dead client
    output = system->CreateOutputPort(toPeer, 0x100000);
    auto peerIn = peer->Open(PortGuid(kJackKind, "cs6edit:midi_out"), PortDirection::Input);
    ASSERT_TRUE(peerIn);
    ASSERT_TRUE(peerIn->Activate(true));
    ASSERT_EQ(output->SendMidiMessage(Bytes{0xC0, 0x03}, 0), SendOutcome::Sent);
    const auto received = ReadEvents(*peerIn, 1, 5s);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, (Bytes{0xC0, 0x03}));
}

} // namespace
} // namespace cs6
