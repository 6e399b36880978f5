#include "resources/DialogTemplates.h"

namespace cs6 {

// The main window. Labels sit above their controls; fader labels take two
// lines, since the faders stand closer than their names are long.
const DialogTemplate& PerfMainTemplate()
{
    using namespace perf_main;
    static constexpr ControlTemplate controls[] = {
        // Name, category and the common lists.
        {kNoId, ControlKind::Label, "Perf name", 35, 7, 76, 9},
        {kName, ControlKind::Edit, "", 35, 17, 76, 12},
        {kNoId, ControlKind::Label, "Perf category", 113, 7, 81, 9},
        {kCategory, ControlKind::DropDownList, "", 113, 17, 81, 94, kVScroll},
        {kNoId, ControlKind::Label, "Layer ch", 197, 7, 34, 9},
        {kLayerChannel, ControlKind::DropDownList, "", 197, 17, 32, 94, kVScroll},
        {kNoId, ControlKind::Label, "INS Eff part", 233, 7, 50, 9},
        {kInsEffectPart, ControlKind::DropDownList, "", 233, 17, 48, 94, kVScroll},
        {kNoId, ControlKind::Label, "INS Eff prt PLG", 284, 7, 54, 9},
        {kInsEffectPlgPart, ControlKind::DropDownList, "", 284, 17, 53, 94, kVScroll},
        {kNoId, ControlKind::Label, "INS PLG part", 341, 7, 47, 9},
        {kInsPlgPart, ControlKind::DropDownList, "", 340, 17, 48, 94, kVScroll},
        {kNoId, ControlKind::Label, "Mstr KB mde", 390, 7, 50, 9},
        {kMasterKeyboardMode, ControlKind::DropDownList, "", 390, 17, 48, 94, kVScroll},

        // Volume in its frame.
        {kNoId, ControlKind::EtchedFrame, "", 7, 17, 23, 73},
        {kNoId, ControlKind::Label, "Vol", 7, 7, 23, 9, kCentered},
        {kVolume, ControlKind::Fader, "Button1", 10, 19, 18, 69},

        // Arpeggiator.
        {kNoId, ControlKind::Label, "ARP", 35, 44, 40, 9},
        {kArpSwitch, ControlKind::PushLikeCheckBox, "on", 35, 53, 14, 12},
        {kArpType, ControlKind::DropDownList, "", 50, 53, 61, 94, kVScroll},
        {kNoId, ControlKind::Label, "ARP out", 35, 69, 40, 9},
        {kArpOutSwitch, ControlKind::PushLikeCheckBox, "on", 35, 78, 14, 12},
        {kArpOutChannel, ControlKind::DropDownList, "", 50, 78, 62, 94, kVScroll},
        {kNoId, ControlKind::Label, "ARP keyM", 113, 43, 41, 9},
        {kArpKeyMode, ControlKind::DropDownList, "", 113, 52, 41, 94, kVScroll},
        {kNoId, ControlKind::Label, "ARP velM", 156, 43, 41, 9},
        {kArpVelocityMode, ControlKind::DropDownList, "", 156, 52, 41, 94, kVScroll},
        {kNoId, ControlKind::Label, "ARP hold", 113, 69, 41, 9},
        {kArpHold, ControlKind::DropDownList, "", 113, 78, 41, 94, kVScroll},
        {kNoId, ControlKind::Label, "ARP unit %", 155, 69, 42, 9},
        {kArpUnit, ControlKind::DropDownList, "", 155, 78, 41, 94, kVScroll},

        // Faders of the arpeggiator, the phrase clip and the master keyboard.
        {kNoId, ControlKind::Label, "ARP VelRate", 199, 33, 27, 17, kCentered},
        {kArpVelocityRate, ControlKind::Fader, "Button1", 199, 51, 27, 39},
        {kNoId, ControlKind::Label, "ARP gate tm", 227, 33, 27, 17, kCentered},
        {kArpGateTime, ControlKind::Fader, "Button1", 227, 51, 27, 39},
        {kNoId, ControlKind::Label, "ARP tempo", 255, 33, 27, 17, kCentered},
        {kArpTempo, ControlKind::Fader, "Button1", 255, 51, 27, 39},
        {kNoId, ControlKind::Label, "ARP note low", 281, 33, 31, 17, kCentered},
        {kArpNoteLow, ControlKind::Fader, "Button1", 283, 51, 27, 39},
        {kNoId, ControlKind::Label, "ARP note hi", 312, 33, 29, 17, kCentered},
        {kArpNoteHigh, ControlKind::Fader, "Button1", 312, 51, 26, 39},
        {kNoId, ControlKind::Label, "Phrase CL pitch", 343, 33, 40, 17, kCentered},
        {kPhraseClipPitch, ControlKind::Fader, "Button1", 350, 51, 27, 39},
        {kNoId, ControlKind::Label, "Mstr KB split pt", 392, 33, 44, 17, kCentered},
        {kSplitPoint, ControlKind::Fader, "Button1", 400, 51, 27, 39},

        // Separators.
        {kNoId, ControlKind::EtchedLine, "", 339, 5, 1, 88},
        {kNoId, ControlKind::EtchedLine, "", 388, 5, 1, 88},
        {kNoId, ControlKind::EtchedLine, "", 441, 5, 1, 88},

        // Whole-performance commands and effects.
        {kInitPerf, ControlKind::PushButton, "Init Perf", 446, 7, 40, 15},
        {kRequest, ControlKind::PushButton, "Request", 492, 7, 40, 15},
        {kTransmit, ControlKind::PushButton, "Transmit", 539, 7, 40, 15},
        {kReverbLabel, ControlKind::Label, "Static", 447, 31, 115, 11, kSunken},
        {kChorusLabel, ControlKind::Label, "Static", 447, 42, 115, 11, kSunken},
        {kReverbMore, ControlKind::PushButton, "...", 564, 30, 15, 12, kDisabled},
        {kChorusMore, ControlKind::PushButton, "...", 564, 42, 15, 12, kDisabled},
        {kAudition, ControlKind::PushButton, "Audition", 447, 59, 36, 31},
        {kCopyReverb, ControlKind::PushButton, "Copy Reverb from patch", 488, 59, 91, 14},
        {kCopyChorus, ControlKind::PushButton, "Copy Chorus from patch", 488, 76, 91, 14},

        // The part matrix and the part strip take these places.
        {kNoId, ControlKind::SunkenRule, "", 7, 96, 572, 3},
        {kPartMatrixPlace, ControlKind::Label, "Patch edit dialog", 34, 99, 545, 20, kSunken},
        {kNoId, ControlKind::SunkenRule, "", 7, 119, 572, 3},
        {kPartStripPlace, ControlKind::Label, "Patch edit dialog", 34, 122, 545, 88, kSunken},

        {kMidiSetup, ControlKind::PushButton, "MIDI Setup", 7, 249, 50, 15},
        {kReceivePatches, ControlKind::PushButton, "Receive INT, EXT patches", 62, 249, 116, 15},
        {kOpenFile, ControlKind::PushButton, "Open…", 183, 249, 40, 15},
        {kSaveFile, ControlKind::PushButton, "Save…", 228, 249, 40, 15},
        {kLibrary, ControlKind::PushButton, "Library…", 273, 249, 40, 15},
        {kUndo, ControlKind::PushButton, "Undo", 323, 249, 40, 15},
        {kRedo, ControlKind::PushButton, "Redo", 368, 249, 40, 15},
        {kDetectManualChange, ControlKind::PushLikeCheckBox, "Detect manual perf. chg.", 479, 249, 100, 15, kDisabled},
    };
    static const DialogTemplate dialog{kPerfMainTemplateId, kProgramTitle, "MS Sans Serif", 8, 586, 271, false,
                                       controls};
    return dialog;
}

} // namespace cs6
