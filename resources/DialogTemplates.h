#pragma once
// The program's dialog templates, by number.

#include "framework/DialogTemplate.h"

namespace cs6 {

inline constexpr int kMidiSetupTemplateId = 9;
inline constexpr int kPerfMainTemplateId = 107;

const DialogTemplate& MidiSetupTemplate();   // 9: "MIDI setup"
const DialogTemplate& PerfMainTemplate();    // 107: the main window

// The caption of the main window: the program's title.
inline constexpr const char* kProgramTitle = "CS6x Performance Editor";

} // namespace cs6
