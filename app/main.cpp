// cs6edit: the performance editor for the Yamaha CS6x / CS6R.
#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/EditorApp.h"
#include "framework/MessageBoxes.h"
#include "resources/DialogTemplates.h"
#include "sim/EmulatedPeer.h"

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: cs6edit\n"
                        "Edits the current performance of a Yamaha CS6x / CS6R over MIDI (ALSA or JACK).\n"
                        "Press \"MIDI Setup\" to choose the instrument's ports; \"Emulated CS6x\" is a\n"
                        "built-in instrument for trying the editor without one. The files settings.dat,\n"
                        "patches_pre.bnk, patches_int.bnk, patches_ext.bnk and perf_init.prf are read\n"
                        "from and written to the current folder.\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("cs6edit %s\n", CS6EDIT_VERSION);
            return 0;
        }
    }
    // A full disk or a file-size limit must fail a write, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication application(argc, argv);
    cs6::InstallGuiMessageBoxes(QString::fromLatin1(cs6::kProgramTitle));

    auto instrument = std::make_shared<cs6::sim::EmulatedInstrument>(cs6::sim::InstrumentOptions{});
    auto peer = std::make_shared<cs6::sim::EmulatedPeer>(instrument);
    cs6::EditorApp app({.drivers = cs6::StandardDrivers({{cs6::sim::kEmulatedPortName, peer}})});
    return app.InitInstance();
}
