#pragma once
// The application: the start-up order (settings, data files, the main
// dialog, the MIDI system, on a first run (no settings file) the detection of
// the instrument, the connection, the name tables), the modal run
// of the main dialog and the shutdown (connection closed, MIDI system
// released, settings saved). All files are looked up in the current folder.
// From its construction every window of the program shows the program's icon.
// While the main dialog runs, a port watcher reopens the chosen ports when
// they come back after going away; the title says when they are gone, and
// what was sent meanwhile is made good by sending the whole performance once.
// Given the preset file the program came with (SetShippedPresetFile), the
// run offers "Receive PRE patches" once, when the main dialog is up on an
// instrument other than the built-in emulated one while patches_pre.bnk is
// still that file; "cs6edit.ini" remembers that it was offered.
//
// Thread: the user-interface thread.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "midi/MidiConnection.h"
#include "midi/MidiSystem.h"
#include "midi/PortWatcher.h"
#include "synth/SynthDevice.h"

namespace cs6 {

class CS6R_PerfMainEdig;

class EditorApp {
public:
    // midi: the MIDI system StartUp makes.
    explicit EditorApp(MidiSystemConfig midi);
    ~EditorApp();
    EditorApp(const EditorApp&) = delete;
    EditorApp& operator=(const EditorApp&) = delete;

    // The whole run; returns the process's exit status. A file given is
    // opened as "Open…" does once the main dialog is up.
    int InitInstance(const std::filesystem::path& file = {});

    // The parts of the run, once each, for tests that drive the dialog themselves.
    void StartUp();
    void ShutDown();
    CS6R_PerfMainEdig* MainDialog() const { return dialog_.get(); }
    SynthDevice& Device() { return device_; }
    // The bytes of patches_pre.bnk as the program ships it (invented names).
    void SetShippedPresetFile(std::vector<std::uint8_t> bytes) { shippedPresets_ = std::move(bytes); }
    PortWatcher* Watcher() const { return watcher_.get(); }

private:
    void LoadFiles();
    // When exactly one CS6x answers, its ports become the choice, so that the
    // editor starts on it without asking.
    void ChooseDetectedInstrument();
    void OnPortState(PortState state, bool behind);
    // The question of "Receive PRE patches", when it is due.
    void OfferPresetPatches();

    MidiSystemConfig midi_;
    ConnectionOutput output_;
    CollectorReplySource replies_;
    SynthDevice device_;
    std::unique_ptr<CS6R_PerfMainEdig> dialog_;
    std::unique_ptr<PortWatcher> watcher_;
    bool firstRun_ = false;
    std::vector<std::uint8_t> shippedPresets_;
};

// The organisation the application is filed under (nothing is stored there).
inline constexpr const char* kOrganisationName = "Local AppWizard-Generated Applications";

} // namespace cs6
