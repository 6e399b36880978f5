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

// The control ids of each template, shared by the template and its dialog.

namespace midi_setup {
enum Id : int { kInput = 1000, kOutput = 1001, kThru = 1002, kDetect = 1003 };
} // namespace midi_setup

namespace perf_part_edit {
enum Id : int { kCutoff = 1010, kResonance = 1011, kAttack = 1012, kDecay = 1013, kSustain = 1014, kRelease = 1015 };
} // namespace perf_part_edit

namespace perf_part_recv {
enum Id : int {
    kControlChange = 1017,
    kBankSelect = 1018,
    kAftertouch = 1019,
    kPitchBend = 1020,
    kProgramChange = 1021,
    kModWheel = 1022,
    kFootController = 1023,
    kFootSwitch = 1024,
    kRibbon = 1025,
    kBreath = 1026,
    kKnob1 = 1027,
    kKnob2 = 1028,
    kVolume = 1029,
    kPan = 1030,
    kSustain = 1031,
};
} // namespace perf_part_recv

namespace perf_main {
enum Id : int {
    kCategory = 1000,
    kLayerChannel = 1001,
    kInsEffectPart = 1002,
    kInsEffectPlgPart = 1003,
    kInsPlgPart = 1004,
    kArpOutChannel = 1005,
    kArpType = 1006,
    kArpKeyMode = 1007,
    kArpVelocityMode = 1008,
    kVolume = 1009,
    kArpVelocityRate = 1010,
    kArpGateTime = 1011,
    kArpTempo = 1012,
    kArpNoteLow = 1013,
    kArpNoteHigh = 1014,
    kArpHold = 1015,
    kArpUnit = 1016,
    kArpOutSwitch = 1017,
    kArpSwitch = 1018,
    kPhraseClipPitch = 1019,
    kMasterKeyboardMode = 1020,
    kSplitPoint = 1021,
    kInitPerf = 1022,
    kName = 1023,
    kPartStripPlace = 1024, // the part strip is laid over it
    kMidiSetup = 1025,
    kPartMatrixPlace = 1026, // the part selectors are laid over it
    kRequest = 1027,
    kTransmit = 1028,
    kReceivePatches = 1029,
    kDetectManualChange = 1030,
    kCopyReverb = 1031,
    kCopyChorus = 1032,
    kReverbMore = 1033,
    kChorusMore = 1034,
    kReverbLabel = 1035,
    kChorusLabel = 1036,
    kAudition = 1037,
    kOpenFile = 1038,
    kSaveFile = 1039,
    kLibrary = 1040,
    kUndo = 1041,
    kRedo = 1042,
};
} // namespace perf_main

namespace perf_part_main {
enum Id : int {
    kBank = 1000,
    kProgram = 1001,
    kReceiveChannel = 1002,
    kPortamentoMode = 1003,
    kVolume = 1004,
    kPan = 1005,
    kVelocityDepth = 1006,
    kVelocityOffset = 1007,
    kNoteShift = 1008,
    kDetune = 1009,
    kPortamentoTime = 1010,
    kReverbSend = 1011,
    kChorusSend = 1012,
    kOutputSelect = 1013,
    kQuickEdit = 1014,
    kReceiveSwitches = 1015,
    kRange = 1016,
    kMono = 1017,
    kPortamento = 1018,
    kLayer = 1019,
    kArp = 1020,
    kTitle = 1024,
    kSelectPatch = 1026,
};
} // namespace perf_part_main

namespace patch_select {
enum Id : int { kBank = 1000, kProgram = 1001 };
} // namespace patch_select

// Parts 1 to 16 are kPart1 + 0..15, the four special parts follow.
namespace part_matrix {
enum Id : int { kPart1 = 1028, kPartAD = 1044, kPartCL = 1045, kPartPLG1 = 1046, kPartPLG2 = 1047 };
inline constexpr int kSelectorCount = 20;
} // namespace part_matrix

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
