// The editor, offscreen, in this process and cs6sim in another, connected
// over a JACK server of the test's own through "settings.dat" naming
// cs6sim's ports by their GUIDs.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <thread>

#include "app/EditorApp.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSetupDlg.h"
#include "midi/PortGuid.h"
#include "sim/FactoryContents.h"
#include "synth/BankFiles.h"
#include "synth/BulkSequences.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

using namespace cs6;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void transmitThenRequestGivesBackThePerformance();
    void anAnswerCutShortKeepsTheMemoryAndARestartWorks();

private:
    bool StartSim(std::vector<std::string> args = {"--no-pacing"});
    bool StartEditor();
    Bytes PerformanceBlocks() const;

    std::unique_ptr<test::JackServer> server_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString previousFolder_;
    std::unique_ptr<test::ChildProcess> sim_;
    std::unique_ptr<EditorApp> app_;
    std::vector<std::string> boxes_;
    MessageBoxHandler previousBoxes_;
};

void EndToEndTest::init()
{
    std::string whyNot;
    server_ = test::JackServer::StartAny(&whyNot);
    // Qt Test reports a skipped case as passed to CTest: with jackd installed
    // a server that does not start is a failure, not a skip.
    if (!server_ && std::filesystem::exists("/usr/bin/jackd"))
        QFAIL(("JACK server did not start: " + whyNot).c_str());
    if (!server_)
        QSKIP(("jackd is not installed: " + whyNot).c_str());
    folder_ = std::make_unique<QTemporaryDir>();
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(folder_->path());
    boxes_.clear();
    previousBoxes_ = SetMessageBoxHandler([this](std::string_view text) { boxes_.emplace_back(text); });

    // The data files of the instrument's factory contents, and the ports.
    auto writer = test::ChildProcess::Start(CS6SIM_PATH, {"--write-files", folder_->path().toStdString()});
    QVERIFY(writer);
    QCOMPARE(writer->Wait(20s), 0);
    WriteFileAtomically(kSettingsFileName, SerializeMidiSettings({1, 0, 1, PortGuid(kJackKind, "cs6sim:midi_out"), QUuid(),
                                                                  PortGuid(kJackKind, "cs6sim:midi_in")}));
}

void EndToEndTest::cleanup()
{
    if (app_) {
        app_->ShutDown();
        app_.reset();
    }
    if (sim_) {
        sim_->Signal(SIGTERM);
        sim_->Wait(10s);
        sim_.reset();
    }
    SetMessageBoxHandler(std::move(previousBoxes_));
    if (!previousFolder_.isEmpty())
        QDir::setCurrent(previousFolder_);
    folder_.reset();
    server_.reset();
}

bool EndToEndTest::StartSim(std::vector<std::string> args)
{
    sim_ = test::ChildProcess::Start(CS6SIM_PATH, args);
    std::string line;
    return sim_ && sim_->ReadLine(line, 10s) && line.find("cs6sim:midi_in") != std::string::npos;
}

bool EndToEndTest::StartEditor()
{
    app_ = std::make_unique<EditorApp>(MidiSystemConfig{.drivers = {JackMidi("cs6edit")}});
    app_->StartUp();
    return app_->MainDialog()->InitDialog();
}

Bytes EndToEndTest::PerformanceBlocks() const
{
    Bytes bytes;
    for (const auto& block : PerformanceBulkBlocks()) {
        const auto data = app_->Device().Memory().Bytes(block.address, static_cast<std::size_t>(block.count));
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    return bytes;
}

void EndToEndTest::transmitThenRequestGivesBackThePerformance()
{
    QVERIFY(StartSim());
    QVERIFY(StartEditor());
    CS6R_PerfMainEdig& dialog = *app_->MainDialog();
    std::copy_n("Round Trip", 10, app_->Device().ByteAt(0x30, 0x00, 0));
    *app_->Device().ByteAt(0x31, 0x0F, 0x0D) = 0x21;
    *app_->Device().ByteAt(0x31, 0x61, 0x24) = 0x12; // the last byte of the last part
    const Bytes sent = PerformanceBlocks();
    dialog.OnTransmit();

    // Forget it here, then ask the instrument for it.
    const auto region = app_->Device().Memory().Region({1024, 4096});
    std::fill(region.begin(), region.end(), 0);
    dialog.OnRequest();
    QCOMPARE(PerformanceBlocks(), sent);
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Round Trip"));
    QVERIFY(boxes_.empty());
}

void EndToEndTest::anAnswerCutShortKeepsTheMemoryAndARestartWorks()
{
    QVERIFY(StartSim({})); // paced: the answer takes about half a second
    QVERIFY(StartEditor());
    CS6R_PerfMainEdig& dialog = *app_->MainDialog();
    std::copy_n("Keep Me   ", 10, app_->Device().ByteAt(0x30, 0x00, 0));
    const Bytes before = PerformanceBlocks();

    // cs6sim dies in the middle of its answer.
    std::thread killer([this] {
        std::this_thread::sleep_for(200ms);
        sim_->Signal(SIGKILL);
    });
    const auto start = std::chrono::steady_clock::now();
    dialog.OnRequest();
    killer.join();
    QVERIFY(std::chrono::steady_clock::now() - start < 4s);
    QCOMPARE(PerformanceBlocks(), before);
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Keep Me"));
    sim_->Wait(5s);

    // A new cs6sim, "MIDI Setup" with the same ports: requests work again.
    QVERIFY(StartSim());
    MidiSetupDlg setup(&dialog);
    setup.OnOk();
    QVERIFY(inputOpen && outputOpen);
    dialog.OnRequest();
    QCOMPARE(dialog.NameEdit()->text().toStdString(), StoredName(sim::MakeFactoryBanks().Image(bank::kIntPerf, 0).data()));
}

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
