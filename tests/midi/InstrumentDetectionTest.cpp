// Finding the instrument: the identity reply, "Detect" in MIDI setup over a
// JACK server of the test's own among ports that do not answer, a first
// start that finds the one instrument by itself, and its ports found again
// after the server restarted.
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "app/EditorApp.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "midi/DriverList.h"
#include "midi/InstrumentDetector.h"
#include "midi/JackDriver.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSetupDlg.h"
#include "midi/PortGuid.h"
#include "midi/PortWatcher.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"
#include "tests/support/MidiTestSupport.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

TEST(InstrumentDetection, OnlyACs6xIdentityReplyCounts)
{
    const std::pair<Bytes, bool> replies[] = {
        {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x43, 0x00, 0x41, 0x5C, 0x03, 0x00, 0x00, 0x00, 0x01, 0xF7}, true},
        {{0xF0, 0x7E, 0x10, 0x06, 0x02, 0x43, 0x00, 0x41, 0x5C, 0x03, 0x01, 0x02, 0x03, 0x04, 0xF7}, true}, // device 17
        {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x43, 0x00, 0x41, 0x3C, 0x03, 0x00, 0x00, 0x00, 0x01, 0xF7}, false}, // another model
        {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x43, 0x00, 0x41, 0x5C, 0x03, 0x00, 0x00, 0x01, 0xF7}, false}, // a version byte short
        {{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, false}, // the request itself, looped back
    };
    for (const auto& [reply, cs6x] : replies)
        EXPECT_EQ(IsCs6xIdentity(reply), cs6x) << ::testing::PrintToString(reply);
}

// Another Yamaha instrument in process: it answers the identity request, but
// not as a CS6x.
struct OtherSynth : InProcessPeer {
    void FromProgram(std::span<const std::uint8_t> message) override
    {
        if (std::ranges::equal(message, kIdentityRequest))
            transmit(Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x43, 0x00, 0x41, 0x3C, 0x03, 0x00, 0x00, 0x00, 0x01, 0xF7});
    }
    void SetTransmit(Transmit to) override { transmit = std::move(to); }
    Transmit transmit;
};

// The current folder is a new one holding the factory data files while it lives.
struct InFolderWithDataFiles {
    InFolderWithDataFiles()
    {
        EXPECT_EQ(sim::WriteFactoryDataFiles(folder.path().toStdString()).outcome, sim::WriteResult::Outcome::Written);
        QDir::setCurrent(folder.path());
    }
    ~InFolderWithDataFiles() { QDir::setCurrent(previous); }
    QTemporaryDir folder;
    QString previous = QDir::currentPath();
};

TEST(InstrumentDetection, DetectInMidiSetupSelectsTheOneThatAnswersOrSaysNoneOrSeveral)
{
    CS6_JACK_SERVER_OR_SKIP();
    test::OffscreenApp app;
    JackDriver quiet("quiet"); // ports that never answer
    ASSERT_TRUE(quiet.Connect());
    midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
        .drivers = {InProcessPorts({{"Other synth", std::make_shared<OtherSynth>()}}), JackMidi("cs6edit")}});

    struct Row {
        std::vector<std::string> sims; // cs6sim instruments by client name
        std::string input, output;     // selected afterwards
        std::vector<std::string> box;  // its lines after the first, in any order
    };
    const Row rows[] = {
        {{}, "Other synth", "Other synth", {"No CS6x answered the identity request."}},
        {{"cs6sim"}, "cs6sim:midi_out (JACK)", "cs6sim:midi_in (JACK)", {}},
        {{"cs6sim", "cs6sim2"}, "Other synth", "Other synth",
         {"Several CS6x answered: choose the ports of the one to use.",
          "IN cs6sim2:midi_out (JACK), OUT cs6sim2:midi_in (JACK)", "IN cs6sim:midi_out (JACK), OUT cs6sim:midi_in (JACK)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sims.size());
        std::vector<std::unique_ptr<test::ChildProcess>> sims;
        for (const std::string& name : row.sims)
            ASSERT_TRUE(sims.emplace_back(test::StartSim({"--name", name}))) << name;
        // The connection is open on the quiet ports, and stays so.
        midiSettings = {1, 0, 1, PortGuid(kJackKind, "quiet:midi_out"), {}, PortGuid(kJackKind, "quiet:midi_in")};
        OpenMidiConnection();
        test::Boxes boxes;
        MidiSetupDlg setup;
        // A choice not yet confirmed, which only a single find replaces.
        setup.InputList()->setCurrentText(QStringLiteral("Other synth"));
        setup.OutputList()->setCurrentText(QStringLiteral("Other synth"));
        setup.DetectButton()->click();

        EXPECT_EQ(setup.InputList()->currentText().toStdString(), row.input);
        EXPECT_EQ(setup.OutputList()->currentText().toStdString(), row.output);
        ASSERT_EQ(boxes.size(), row.box.empty() ? 0u : 1u);
        if (!row.box.empty()) {
            std::istringstream text(boxes[0]);
            std::vector<std::string> lines;
            for (std::string line; std::getline(text, line);)
                lines.push_back(line);
            std::sort(lines.begin() + 1, lines.end());
            EXPECT_EQ(lines, row.box);
        }
        EXPECT_TRUE(inputOpen && outputOpen && inputPort->PortGuid() == midiSettings.inputPortGuid);
        CloseMidiConnection();
        for (auto& sim : sims) {
            sim->Signal(SIGTERM);
            EXPECT_EQ(sim->Wait(10s), 0);
        }
    }
    midiSystem.reset();
}

// A first start takes the one instrument found; the built-in emulated one
// only when no real one answers beside it.
TEST(InstrumentDetection, AFirstStartFindsTheOneInstrumentAndStartsOnItWithoutABox)
{
    test::OffscreenApp app;
    const InFolderWithDataFiles folder; // no settings.dat
    std::string whyNot;
    auto server = test::JackServer::StartAny(&whyNot);
    for (const bool withReal : {false, true}) {
        SCOPED_TRACE(withReal);
        if (withReal && !server)
            GTEST_SKIP() << "JACK server could not start here: " << whyNot;
        auto real = withReal ? test::StartSim({}) : nullptr;
        ASSERT_EQ(bool(real), withReal);
        test::Boxes boxes;
        auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
        EditorApp editor({.drivers = {InProcessPorts({{"Other synth", std::make_shared<OtherSynth>()},
                                                      {sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}}),
                                      JackMidi("cs6edit")}});
        editor.StartUp();
        const QUuid emulated = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
        ASSERT_TRUE(inputOpen && outputOpen); // else the main dialog would ask
        EXPECT_EQ(inputPort->PortGuid(), withReal ? PortGuid(kJackKind, "cs6sim:midi_out") : emulated);
        EXPECT_EQ(outputPort->PortGuid(), withReal ? PortGuid(kJackKind, "cs6sim:midi_in") : emulated);
        EXPECT_TRUE(editor.MainDialog()->InitDialog());
        editor.ShutDown();
        EXPECT_TRUE(boxes.empty());
        std::filesystem::remove(kSettingsFileName);
        if (real) {
            real->Signal(SIGTERM);
            EXPECT_EQ(real->Wait(10s), 0);
        }
    }
}

// The JACK server restarted under the editor: no box, the title says so, an
// edit made meanwhile reaches the instrument once the ports are back, and so
// does the next one.
TEST(InstrumentDetection, PortsGoneWithTheJackServerAreReopenedAndTheInstrumentCatchesUp)
{
    CS6_JACK_SERVER_OR_SKIP();
    test::OffscreenApp app;
    const InFolderWithDataFiles folder;
    midiSettings = {1, 0, 1, PortGuid(kJackKind, "cs6sim:midi_out"), {}, PortGuid(kJackKind, "cs6sim:midi_in")};
    SaveMidiSettings(kSettingsFileName);
    auto sim = test::StartSim({"--no-pacing"});
    ASSERT_TRUE(sim);
    test::Boxes boxes;
    EditorApp editor({.drivers = {JackMidi("cs6edit")}});
    editor.StartUp();
    ASSERT_TRUE(editor.MainDialog()->InitDialog());
    PortWatcher& watcher = *editor.Watcher();
    // The volume as the instrument has it.
    auto volume = [&editor] {
        return editor.Device().RequestEditBuffer(DumpType::Performance) == DumpOutcome::Complete
                   ? int{editor.Device().Read(PackAddress(0x30, 0x00, 0x38))} : -1;
    };
    auto setVolume = [&editor](std::uint8_t value) { editor.Device().Edit(PackAddress(0x30, 0x00, 0x38), {{value}}); };

    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State() == PortState::Present; }, 5000));
    server->Kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State() == PortState::Gone; }, 10000));
    EXPECT_TRUE(editor.MainDialog()->windowTitle().endsWith(QStringLiteral("instrument disconnected")));
    setVolume(0x11);
    sim.reset();
    server = test::JackServer::Start(server->Name(), &whyNot);
    ASSERT_TRUE(server) << whyNot;
    ASSERT_TRUE(sim = test::StartSim({"--no-pacing"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State() == PortState::Present; }, 10000));
    EXPECT_FALSE(editor.MainDialog()->windowTitle().contains(QStringLiteral("disconnected")));
    EXPECT_EQ(volume(), 0x11);
    setVolume(0x22);
    EXPECT_EQ(volume(), 0x22);
    EXPECT_TRUE(boxes.empty()) << boxes.size();
    editor.ShutDown();
}

} // namespace
} // namespace cs6
