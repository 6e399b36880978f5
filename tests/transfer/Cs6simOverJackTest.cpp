// cs6sim as a separate process on a JACK server of the test's own, reached
// through the transport's JACK driver.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "midi/ReplyCollector.h"
#include "synth/SysExMessages.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

struct RecordingTarget : NotificationTarget {
    void PostShortMessage(std::uint8_t status, std::uint8_t data) override
    {
        std::lock_guard lock(mutex);
        posted.push_back({status, data});
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Bytes> posted;
};

TEST(Cs6simOverJack, AnswersAPerformanceRequestAndReportsAFrontPanelChange)
{
    std::string whyNot;
    auto server = test::JackServer::StartAny(&whyNot);
    if (!server)
        GTEST_SKIP() << "JACK server could not start here: " << whyNot;

    auto sim = test::ChildProcess::Start(CS6SIM_PATH, {});
    ASSERT_TRUE(sim);
    std::string line;
    ASSERT_TRUE(sim->ReadLine(line, 10s)) << "cs6sim did not start";
    EXPECT_NE(line.find("cs6sim:midi_in"), std::string::npos) << line;

    MidiSystemConfig config;
    config.useAlsa = false;
    MidiSystem system(std::move(config));
    auto output = system.CreateOutputPort(PortGuid(kJackKind, "cs6sim:midi_in"), 0x100000);
    auto input = system.CreateInputPort(PortGuid(kJackKind, "cs6sim:midi_out"), 0x100000);
    ReplyCollector collector;
    RecordingTarget target;
    collector.SetNotifyTarget(&target);
    input->StartReceiving(&collector);

    collector.Arm(34);
    ASSERT_EQ(output->SendMidiMessage(sysex::DumpRequest(0x0E, 0x4F, 0x00), 0), SendOutcome::Sent);
    ASSERT_EQ(collector.WaitForReplies(), 34u);
    const auto batch = collector.TakeCollected();
    for (const auto& message : batch)
        EXPECT_TRUE(sysex::IsValidBulkDump(message.data));
    EXPECT_EQ(batch.front().data, sysex::BulkDump(0x0E, 0x4F, 0x00, {}));
    EXPECT_EQ(batch.back().data, sysex::BulkDump(0x0F, 0x4F, 0x00, {}));
    // Paced like the cable: the answer took at least its wire time.
    std::size_t bytes = 0;
    for (const auto& message : batch)
        bytes += message.data.size();
    EXPECT_GE(batch.back().time - batch.front().time,
              static_cast<ReferenceTime>((bytes - batch.back().data.size()) * 3200 * 9 / 10));

    // The front panel: the program change reaches the notification target.
    ASSERT_TRUE(sim->Write("perf 3\n"));
    {
        std::unique_lock lock(target.mutex);
        ASSERT_TRUE(target.changed.wait_for(lock, 5s, [&] { return !target.posted.empty(); }));
        EXPECT_EQ(target.posted.front(), (Bytes{0xC0, 0x02}));
    }

    input->StopReceiving();
    collector.SetNotifyTarget(nullptr);
    sim->Signal(SIGTERM);
    EXPECT_EQ(sim->Wait(10s), 0);
}

TEST(Cs6simOverJack, WritesTheFourDataFiles)
{
    const auto dir = std::filesystem::temp_directory_path() / ("cs6sim-write-files-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto sim = test::ChildProcess::Start(CS6SIM_PATH, {"--write-files", dir.string()});
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->Wait(20s), 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "patches_pre.bnk"), 852760u);
    EXPECT_EQ(std::filesystem::file_size(dir / "patches_int.bnk"), 409990u);
    EXPECT_EQ(std::filesystem::file_size(dir / "patches_ext.bnk"), 409990u);
    EXPECT_EQ(std::filesystem::file_size(dir / "perf_init.prf"), 8192u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace cs6
