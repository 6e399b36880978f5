// Start-up: from process start to the main window showing its first refresh,
// less the start-up sequence's fixed waits (250 ms) and the wire time of the
// performance answer (1449 bytes at 320 us). The emulated instrument runs in
// process, paced like a cable, as cs6edit has it. Goal: under 300 ms.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "app/EditorApp.h"
#include "bench/BenchLink.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/MidiSettings.h"
#include "midi/PortGuid.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"

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
    if (argc < 3 || std::string(argv[1]) != "--measure") {
        // Prepare a run folder, then start afresh in it: the measured process
        // does nothing but start the editor.
        QTemporaryDir folder;
        if (!bench::PrepareRunFolder(folder.path().toStdString()))
            return 1;
        const std::string self = "/proc/self/exe";
        const std::string path = folder.path().toStdString();
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(self.c_str(), argv[0], "--measure", path.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));

    QApplication application(argc, argv);
    SetMessageBoxHandler([](std::string_view text) { std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data()); });
    auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions{});
    EditorApp app({.drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
    app.StartUp();
    if (!app.MainDialog()->InitDialog())
        return 1;
    app.MainDialog()->show();
    if (!QTest::qWaitForWindowExposed(app.MainDialog()))
        return 1;
    const double total = BootSeconds() - ProcessStartSeconds();
    const double fixed = 0.250 + 1449 * 320e-6;
    app.ShutDown();
    std::printf("process start to first refresh: %.0f ms, of which fixed waits and wire time %.0f ms\n", total * 1e3,
                fixed * 1e3);
    std::printf("start-up time less the fixed waits and the answer's wire time: %.0f ms\n", (total - fixed) * 1e3);
    return 0;
}
