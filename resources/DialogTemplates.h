#pragma once
// The program's dialog templates, by number.

#include "framework/DialogTemplate.h"

namespace cs6 {

inline constexpr int kMidiSetupTemplateId = 9;
inline constexpr int kPerfPartEditTemplateId = 105;
inline constexpr int kPerfPartRecvTemplateId = 106;
inline constexpr int kPerfMainTemplateId = 107;
inline constexpr int kPerfPartMainTemplateId = 108;
inline constexpr int kPatchSelectTemplateId = 109;
inline constexpr int kPartMatrixTemplateId = 130;

const DialogTemplate& MidiSetupTemplate();    // 9: "MIDI setup"
const DialogTemplate& PerfPartEditTemplate(); // 105: a part's quick edit
const DialogTemplate& PerfPartRecvTemplate(); // 106: a part's receive switches
const DialogTemplate& PerfMainTemplate();     // 107: the main window
const DialogTemplate& PerfPartMainTemplate(); // 108: the part strip
const DialogTemplate& PatchSelectTemplate();  // 109: "Select patch"
const DialogTemplate& PartMatrixTemplate();   // 130: the part selectors

// The caption of the main window: the program's title.
inline constexpr const char* kProgramTitle = "CS6x Performance Editor";

} // namespace cs6
