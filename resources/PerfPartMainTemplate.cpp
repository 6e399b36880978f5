#include "resources/DialogTemplates.h"

namespace cs6 {

// The part strip, one row high: the part's title and its dialogs, bank and
// program, the modes, eight faders and the portamento settings. Labels sit
// above their controls; a label shared by two faders spans both.
const DialogTemplate& PerfPartMainTemplate()
{
    using namespace perf_part_main;
    static constexpr ControlTemplate controls[] = {
        // Title and the part's dialogs in their frame.
        {kNoId, ControlKind::EtchedFrame, "", 4, 4, 58, 54},
        {kTitle, ControlKind::Label, "PART 1", 7, 7, 52, 10, kCentered | kSunken},
        {kQuickEdit, ControlKind::PushButton, "QED", 9, 20, 47, 11},
        {kReceiveSwitches, ControlKind::PushButton, "RecvSW", 9, 32, 47, 11},
        {kRange, ControlKind::PushButton, "Range", 9, 43, 47, 11, kDisabled},

        // Bank, program and receive channel.
        {kNoId, ControlKind::Label, "Bank", 64, 8, 47, 9},
        {kBank, ControlKind::DropDownList, "", 64, 18, 47, 132, kVScroll},
        {kNoId, ControlKind::Label, "Program", 112, 8, 93, 9},
        {kProgram, ControlKind::DropDownCombo, "", 112, 18, 93, 132, kVScroll},
        {kSelectPatch, ControlKind::PushButton, "S", 206, 18, 11, 12},
        {kNoId, ControlKind::Label, "Recv ch", 219, 8, 31, 9},
        {kReceiveChannel, ControlKind::DropDownList, "", 219, 18, 29, 132, kVScroll},

        // Output and the mode switches.
        {kNoId, ControlKind::Label, "Output select", 64, 34, 47, 9},
        {kOutputSelect, ControlKind::DropDownList, "", 64, 44, 47, 132, kVScroll},
        {kNoId, ControlKind::Label, "Modes", 113, 34, 60, 9},
        {kMono, ControlKind::PushLikeCheckBox, "mono", 113, 44, 32, 12, kFlat},
        {kLayer, ControlKind::PushLikeCheckBox, "Layer off", 146, 44, 41, 12, kFlat},
        {kArp, ControlKind::PushLikeCheckBox, "ARP off", 188, 44, 60, 12, kFlat},

        // Faders: volume, pan, reverb and chorus sends, note shift and
        // detune, velocity sensitivity depth and offset.
        {kNoId, ControlKind::Label, "Vol", 256, 7, 19, 9, kCentered},
        {kVolume, ControlKind::Fader, "Button1", 256, 17, 19, 39},
        {kNoId, ControlKind::Label, "Pan", 278, 7, 19, 9, kCentered},
        {kPan, ControlKind::Fader, "Button1", 278, 17, 19, 39},
        {kNoId, ControlKind::Label, "Rev", 304, 7, 19, 9, kCentered},
        {kReverbSend, ControlKind::Fader, "Button1", 304, 17, 19, 39},
        {kNoId, ControlKind::Label, "Cho", 326, 7, 19, 9, kCentered},
        {kChorusSend, ControlKind::Fader, "Button1", 326, 17, 19, 39},
        {kNoId, ControlKind::Label, "Pitch(shft,dtn)", 349, 7, 47, 9, kCentered},
        {kNoteShift, ControlKind::Fader, "Button1", 352, 17, 19, 39},
        {kDetune, ControlKind::Fader, "Button1", 374, 17, 19, 39},
        {kNoId, ControlKind::Label, "VelSns(d,ofs)", 397, 7, 47, 9, kCentered},
        {kVelocityDepth, ControlKind::Fader, "Button1", 400, 17, 19, 39},
        {kVelocityOffset, ControlKind::Fader, "Button1", 422, 17, 19, 39},

        // Portamento.
        {kPortamento, ControlKind::PushLikeCheckBox, "Portamento off", 450, 18, 53, 12, kFlat},
        {kPortamentoMode, ControlKind::DropDownList, "", 450, 32, 53, 132, kVScroll},
        {kNoId, ControlKind::Label, "Prt time", 504, 7, 29, 9, kCentered},
        {kPortamentoTime, ControlKind::Fader, "Button1", 509, 18, 19, 38},

        // Separators between the groups.
        {kNoId, ControlKind::EtchedLine, "", 252, 4, 1, 56},
        {kNoId, ControlKind::EtchedLine, "", 302, 4, 1, 56},
        {kNoId, ControlKind::EtchedLine, "", 348, 4, 1, 56},
        {kNoId, ControlKind::EtchedLine, "", 396, 4, 1, 56},
        {kNoId, ControlKind::EtchedLine, "", 444, 4, 1, 56},
    };
    static const DialogTemplate dialog{kPerfPartMainTemplateId, "", "MS Sans Serif", 8, 535, 66, true, controls};
    return dialog;
}

} // namespace cs6
