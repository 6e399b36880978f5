// Memory: the editor's peak resident memory during "Receive INT, EXT patches"
// against the emulated instrument in process. Goal: under 80 MB.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "app/EditorApp.h"
#include "bench/BenchLink.h"
#include "bench/BenchSupport.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "framework/UserMessage.h"
#include "midi/MidiSettings.h"
#include "midi/PortGuid.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"
#include "synth/BankFiles.h"

using namespace cs6;

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    if (!bench::PrepareRunFolder(folder.path().toStdString()))
        return 1;

    QApplication application(argc, argv);
    // The fetch ends with its report; anything but both banks written is a failed run.
    bool failed = false;
    SetMessageBoxHandler([&failed](std::string_view text) {
        failed = failed || text.find("not changed") != std::string_view::npos ||
                 text.find("could not") != std::string_view::npos;
        std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data());
    });
    // Unpaced: memory does not depend on the wire's speed, and 260 requests
    // at cable speed take minutes. Otherwise as shipped: no logs.
    auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions{.pacing = sim::WirePacing::Off});
    EditorApp app({.drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
    app.StartUp();
    if (!app.MainDialog()->InitDialog())
        return 1;
    app.MainDialog()->show();
    const double before = bench::PeakResidentMegabytes();
    app.MainDialog()->OnReceivePatches();
    const double peak = bench::PeakResidentMegabytes();
    app.ShutDown();
    std::printf("peak resident memory before the fetch %.1f MB%s\n", before, failed ? " (the fetch reported a problem)" : "");
    std::printf("peak resident memory during Receive INT, EXT patches: %.1f MB\n", peak);
    return failed ? 1 : 0;
}
