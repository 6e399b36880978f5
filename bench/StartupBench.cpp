// Start-up: from process start to the main window showing its first refresh,
// less the start-up sequence's fixed waits (250 ms) and the wire time of the
// performance answer (1449 bytes at 320 us). The emulated instrument runs in
// process, paced like a cable, as cs6edit has it. Goal: under 300 ms.
//
// With --jack it is a first start instead: no settings file, the instrument
// is cs6sim on a JACK server of the bench's own, and the editor finds it by
// detection before its first refresh. The listening time (500 ms) and the
// wire time of the two identity answers (15 bytes each) count as fixed too.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "app/EditorApp.h"
#include "bench/BenchLink.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/InstrumentDetector.h"
#include "midi/JackDriver.h"
#include "midi/MidiSettings.h"
#include "midi/PortGuid.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

using namespace cs6;

namespace {

// Seconds since boot when this process started (/proc/self/stat, field 22).
double ProcessStartSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    return std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double BootSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const bool overJack = std::string(argv[argc - 1]) == "--jack";
    if (argc < 3 || std::string(argv[1]) != "--measure") {
        // Prepare a run folder, then start afresh in it: the measured process
        // does nothing but start the editor.
        QTemporaryDir folder;
        if (!bench::PrepareRunFolder(folder.path().toStdString()))
            return 1;
        std::unique_ptr<test::JackServer> server;
        std::unique_ptr<test::ChildProcess> sim;
        std::unique_ptr<JackDriver> quiet;
        if (overJack) {
            std::filesystem::remove(folder.path().toStdString() + "/" + kSettingsFileName); // a first start
            std::string whyNot;
            server = test::JackServer::StartAny(&whyNot); // the measured process finds it by its environment
            if (!server) {
                std::printf("no JACK server: %s\n", whyNot.c_str());
                return 1;
            }
            sim = test::ChildProcess::Start(CS6SIM_PATH, {});
            std::string ready;
            if (!sim || !sim->ReadLine(ready, std::chrono::seconds(10)))
                return 1;
            // Ports that never answer, as a desktop has them: the detection
            // then listens its full time.
            quiet = std::make_unique<JackDriver>("quiet");
        }
        const std::string self = "/proc/self/exe";
        const std::string path = folder.path().toStdString();
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(self.c_str(), argv[0], "--measure", path.c_str(), overJack ? "--jack" : static_cast<char*>(nullptr),
                    static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (sim) {
            sim->Signal(SIGTERM);
            (void)sim->Wait(std::chrono::seconds(5));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));

    QApplication application(argc, argv);
    SetMessageBoxHandler([](std::string_view text) { std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data()); });
    auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions{});
    EditorApp app(overJack ? MidiSystemConfig{.drivers = {JackMidi("cs6edit")}}
                           : MidiSystemConfig{.drivers = {InProcessPorts(
                                                  {{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
    app.StartUp();
    if (!inputOpen || !outputOpen) {
        std::printf("the instrument was not found\n"); // the main dialog would ask for ports
        return 1;
    }
    if (!app.MainDialog()->InitDialog())
        return 1;
    app.MainDialog()->show();
    if (!QTest::qWaitForWindowExposed(app.MainDialog()))
        return 1;
    const double total = BootSeconds() - ProcessStartSeconds();
    double fixed = 0.250 + 1449 * 320e-6;
    if (overJack)
        fixed += std::chrono::duration<double>(kIdentityListenTime).count() + 2 * 15 * 320e-6;
    app.ShutDown();
    std::printf("process start to first refresh: %.0f ms, of which fixed waits and wire time %.0f ms\n", total * 1e3,
                fixed * 1e3);
    std::printf("start-up time less the fixed waits%s and the answer's wire time: %.0f ms\n",
                overJack ? ", the detection's listening time" : "", (total - fixed) * 1e3);
    return 0;
}
