// What only a real MIDI server can break: jackd with the dummy driver, started
// by the test under a name of its own, for the JACK driver and for the RtMidi
// driver's guards against RtMidi's silent data loss. There is no ALSA
// sequencer on the test machines, so that driver is exercised through
// RtMidi's JACK API: the traps (SysEx ignored by default, a 100-message
// polling queue, warnings printed to standard error) are RtMidi's, whatever
// its API.
#include <jack/jack.h>

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "midi/JackDriver.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSetupDlg.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "midi/RtMidiDriver.h"
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

Bytes Bulk(int index) { return {0xF0, 0x43, 0x00, 0x64, 0x00, 0x01, 0x47, std::uint8_t(index), 0x00, 0x10, 0x00, 0xF7}; }

TEST(RtMidiDriver, WithoutAnAlsaSequencerThereAreSimplyNoPorts)
{
    if (std::filesystem::exists("/dev/snd/seq"))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    ::testing::internal::CaptureStderr();
    RtMidiDriver alsa(RtMidi::LINUX_ALSA, "cs6edit", "alsa", "ALSA");
    EXPECT_FALSE(alsa.Available());
    EXPECT_TRUE(alsa.ListPorts().empty());
    EXPECT_EQ(alsa.Open(PortGuid(kAlsaKind, "CS6x:CS6x Port 1"), PortDirection::Input), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(RtMidiDriver, ReceivesAWholeDrumDumpOfSysExThroughTheCallbackWithoutAWord)
{
    CS6_JACK_SERVER_OR_SKIP();
    JackDriver peer("testpeer");
    ASSERT_TRUE(peer.Connect());
    ::testing::internal::CaptureStderr();
    {
        RtMidiDriver driver(RtMidi::UNIX_JACK, "cs6rt", "rtjack", "JACK");
        ASSERT_TRUE(driver.Available());
        auto input = driver.Open(PortGuid("rtjack", "testpeer:midi_out"), PortDirection::Input);
        auto output = driver.Open(PortGuid("rtjack", "testpeer:midi_in"), PortDirection::Output);
        ASSERT_TRUE(input && output && input->Activate(true) && output->Activate(true));
        EXPECT_EQ(driver.Open(PortGuid("rtjack", "nobody:midi_out"), PortDirection::Input), nullptr);

        // RtMidi names its own ports after the client; the peer reaches them there.
        std::unique_ptr<DriverPort> toEditor;
        for (const auto& port : peer.ListPorts())
            if (port.direction == PortDirection::Output && port.name.rfind("cs6rt", 0) == 0)
                toEditor = peer.Open(port.guid, PortDirection::Output);
        ASSERT_TRUE(toEditor && toEditor->Activate(true));

        // 374 messages: a drum-voice bulk, far beyond RtMidi's polling queue.
        std::vector<Bytes> sent;
        for (int i = 0; i < 374; ++i)
            ASSERT_EQ(toEditor->Send(sent.emplace_back(Bulk(i % 73)), ReferenceNow()), DriverSendResult::Sent);
        EXPECT_EQ(test::Received(*input, 374), sent);

        EXPECT_EQ(output->Send(Bulk(1), ReferenceNow()), DriverSendResult::Sent);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Two identical interfaces list under names that differ only in the
// client:port numbers RtMidi appends, as "twin:Out 20:0" and "twin:Out 24:0".
TEST(RtMidiDriver, OfTwoIdenticalDevicesTheSecondCanBeChosenInMidiSetupAndIsTheOneOpened)
{
    CS6_JACK_SERVER_OR_SKIP();
    jack_client_t* twin = jack_client_open("twin", JackNoStartServer, nullptr);
    ASSERT_TRUE(twin);
    jack_port_t *in[2], *out[2];
    for (int i = 0; i < 2; ++i) {
        const std::string numbers = i == 0 ? " 20:0" : " 24:0";
        in[i] = jack_port_register(twin, ("In" + numbers).c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        out[i] = jack_port_register(twin, ("Out" + numbers).c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    }
    // A client that runs no process cycle stalls every connection change.
    jack_set_process_callback(twin, [](jack_nframes_t, void*) { return 0; }, nullptr);
    ASSERT_EQ(jack_activate(twin), 0);

    midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
        .drivers = {[] { return std::make_unique<RtMidiDriver>(RtMidi::UNIX_JACK, "cs6rt", "rtjack", "JACK"); }}});
    midiSettings = {};
    test::OffscreenApp app;
    {
        MidiSetupDlg setup;
        ASSERT_EQ(inputPorts.size(), 2u);
        EXPECT_EQ(inputPorts[0].portGuid, PortGuid("rtjack", "twin:Out")); // as before: settings name it still
        EXPECT_NE(inputPorts[1].portGuid, inputPorts[0].portGuid);
        setup.InputList()->setCurrentIndex(1);
        setup.OutputList()->setCurrentIndex(1);
        setup.OnOk();
    }
    ASSERT_TRUE(inputOpen && outputOpen);
    EXPECT_EQ(MidiSetupDlg().InputList()->currentIndex(), 1); // the stored choice shows as the second again
    // A connection shows from JACK's next cycle on.
    (void)QTest::qWaitFor([&] { return jack_port_connected(in[1]) && jack_port_connected(out[1]); }, 2000);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(jack_port_connected(out[i]), i) << "input from device " << i;
        EXPECT_EQ(jack_port_connected(in[i]), i) << "output to device " << i;
    }
    CloseMidiConnection();
    midiSystem.reset();
    jack_client_close(twin);
}

} // namespace
} // namespace cs6
