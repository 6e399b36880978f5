// cs6edit: the performance editor for the Yamaha CS6x / CS6R.
#include <QApplication>
#include <QDir>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "app/DataFolder.h"
#include "app/EditorApp.h"
#include "framework/MessageBoxes.h"
#include "framework/UserMessage.h"
#include "resources/DialogTemplates.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedPeer.h"

int main(int argc, char** argv)
{
    // The editor reads and writes its files by name in the current folder,
    // so the data folder becomes the current folder before it starts.
    std::error_code noRunFolder;
    const cs6::DataFolder data = cs6::ChooseDataFolder(std::filesystem::current_path(noRunFolder),
                                                       cs6::DataFolderEnvironment::FromProcess());
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: cs6edit [FILE.syx]\n"
                        "Edits the current performance of a Yamaha CS6x / CS6R over MIDI (ALSA or JACK);\n"
                        "FILE.syx, a performance saved with \"Save…\", is opened and sent to it.\n"
                        "Press \"MIDI Setup\" to choose the instrument's ports; \"Emulated CS6x\" is a\n"
                        "built-in instrument for trying the editor without one.\n"
                        "The files settings.dat, patches_pre.bnk, patches_int.bnk, patches_ext.bnk and\n"
                        "perf_init.prf are read from and written to the data folder: the current folder\n"
                        "when it holds one of them, otherwise $XDG_DATA_HOME/cs6edit (by default\n"
                        "~/.local/share/cs6edit), made on the first start with the factory files;\n"
                        "cs6edit.ini there keeps the folder of the last performance file.\n"
                        "Data folder: %s\n",
                        data.path.c_str());
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
    // The file to open, named from the folder the program was started in
    // (Qt's own options are gone from argv by now).
    std::filesystem::path file;
    std::error_code noAbsolute;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-' && file.empty())
            file = std::filesystem::absolute(argv[i], noAbsolute);
    }

    if (!data.isRunFolder) {
        const std::string fault = cs6::FillDataFolder(data.path, cs6::FactoryFolder(CS6EDIT_DATADIR));
        if (!fault.empty()) {
            cs6::ShowMessageBox(fault);
            return 1;
        }
    }
    if (!QDir::setCurrent(QString::fromStdString(data.path.string()))) {
        cs6::ShowMessageBox("Cannot enter the data folder " + data.path.string());
        return 1;
    }

    auto instrument = std::make_shared<cs6::sim::EmulatedInstrument>(cs6::sim::InstrumentOptions{});
    auto peer = std::make_shared<cs6::sim::EmulatedPeer>(instrument);
    cs6::EditorApp app({.drivers = cs6::StandardDrivers({{cs6::sim::kEmulatedPortName, peer}})});
    // The shipped preset file is the emulated instrument's invented presets.
    app.SetShippedPresetFile(cs6::sim::BankFileBytes(instrument->StoredSounds(), cs6::sim::BankFile::Preset));
    return app.InitInstance(file);
}
