// The editor, offscreen, in this process and cs6sim in another, connected
// over a JACK server of the test's own through "settings.dat" naming
// cs6sim's ports by their GUIDs: cs6sim killed in the middle of an answer.
// A whole SysEx across JACK is JackTransportTest's, a server restarting under
// the editor InstrumentDetectionTest's, the round trip UndoTest's.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <thread>

#include "app/EditorApp.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSetupDlg.h"
#include "midi/PortGuid.h"
#include "sim/FactoryContents.h"
#include "synth/BankFiles.h"
#include "tests/support/MidiTestSupport.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

TEST(EndToEnd, AnAnswerCutShortKeepsTheMemoryAndAfterMidiSetupANewInstrumentAnswers)
{
    std::string whyNot;
    auto server = test::JackServer::StartAny(&whyNot);
    // CTest counts a skipped test as passed: with jackd installed, a server
    // that does not start is a failure.
    ASSERT_TRUE(server || !std::filesystem::exists("/usr/bin/jackd")) << whyNot;
    if (!server)
        GTEST_SKIP() << "jackd is not installed";
    test::OffscreenApp app;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    test::Boxes boxes;
    // The data files of the instrument's factory contents, and the ports.
    auto writer = test::ChildProcess::Start(CS6SIM_PATH, {"--write-files", folder.path().toStdString()});
    ASSERT_TRUE(writer && writer->Wait(20s) == 0);
    WriteFileAtomically(kSettingsFileName, SerializeMidiSettings({1, 0, 1, PortGuid(kJackKind, "cs6sim:midi_out"), QUuid(),
                                                                  PortGuid(kJackKind, "cs6sim:midi_in")}));
    auto sim = test::StartSim({}); // paced: the answer takes about half a second
    ASSERT_TRUE(sim);
    EditorApp editor({.drivers = {JackMidi("cs6edit")}});
    editor.StartUp();
    CS6R_PerfMainEdig& dialog = *editor.MainDialog();
    ASSERT_TRUE(dialog.InitDialog());
    std::copy_n("Keep Me   ", 10, editor.Device().ByteAt(0x30, 0x00, 0));
    const auto performance = editor.Device().Memory().Region(kPerformanceRegion);
    const Bytes before(performance.begin(), performance.end());

    const auto start = std::chrono::steady_clock::now();
    {
        std::jthread killer([&sim] {
            std::this_thread::sleep_for(200ms);
            sim->Signal(SIGKILL);
        });
        dialog.OnRequest();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    EXPECT_EQ(Bytes(performance.begin(), performance.end()), before);
    EXPECT_EQ(dialog.NameEdit()->text().toStdString(), "Keep Me");
    sim->Wait(5s);

    // A new cs6sim, "MIDI Setup" with the same ports: requests work again.
    ASSERT_TRUE(sim = test::StartSim({"--no-pacing"}));
    MidiSetupDlg(&dialog).OnOk();
    ASSERT_TRUE(inputOpen && outputOpen);
    dialog.OnRequest();
    EXPECT_EQ(dialog.NameEdit()->text().toStdString(), StoredName(sim::MakeFactoryBanks().Image(bank::kIntPerf, 0).data()));
    editor.ShutDown();
}

} // namespace
} // namespace cs6
