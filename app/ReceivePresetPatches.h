#pragma once
// "Receive PRE patches" as the user runs it: the preset fetch of
// synth/PresetFetch.h behind a progress box with Cancel, then one message
// saying what came and whether patches_pre.bnk was written. The main window
// and its program lists name the new presets at once, and the performance
// sent back to the instrument counts as in step with it.
//
// Thread: the user-interface thread, which the fetch blocks (the progress
// box keeps the windows painted).

#include "synth/SynthDevice.h"

class QWidget;

namespace cs6 {

class CS6R_PerfMainEdig;
class PerformanceLibraryWindow;

inline constexpr const char* kReceivePresetPatchesText = "Receive PRE patches";

// parent: the window the progress box is modal over.
void ReceivePresetPatches(SynthDevice& device, CS6R_PerfMainEdig& mainDialog, QWidget* parent);

// Puts the command's button into the librarian's row of receive buttons,
// unless it is there already. device and mainDialog must outlive library.
void AddReceivePresetButton(PerformanceLibraryWindow& library, SynthDevice& device, CS6R_PerfMainEdig& mainDialog);

} // namespace cs6
