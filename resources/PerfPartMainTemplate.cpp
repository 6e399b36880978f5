#include "resources/DialogTemplates.h"

namespace cs6 {

// The part strip, one row high: the part's title and its dialogs, bank and
// program, the modes, eight faders and the portamento settings. Labels sit
// above their controls; a label shared by two faders spans both.
const DialogTemplate& PerfPartMainTemplate()
{
    static constexpr ControlTemplate controls[] = {
        // Title and the part's dialogs in their frame.
        {kNoId, ControlKind::EtchedFrame, "", 4, 4, 58, 54},
        {1024, ControlKind::Label, "PART 1", 7, 7, 52, 10, kCentered | kSunken},
        {1014, ControlKind::PushButton, "QED", 9, 20, 47, 11},
        {1015, ControlKind::PushButton, "RecvSW", 9, 32, 47, 11},
        {1016, ControlKind::PushButton, "Range", 9, 43, 47, 11, kDisabled},

        // Bank, program and receive channel.
        {kNoId, ControlKind::Label, "Bank", 64, 8, 47, 9},
        {1000, ControlKind::DropDownList, "", 64, 18, 47, 132, kVScroll},
        {kNoId, ControlKind::Label, "Program", 112, 8, 93, 9},
        {1001, ControlKind::DropDownCombo, "", 112, 18, 93, 132, kVScroll},
        {1026, ControlKind::PushButton, "S", 206, 18, 11, 12},
        {kNoId, ControlKind::Label, "Recv ch", 219, 8, 31, 9},
        {1002, ControlKind::DropDownList, "", 219, 18, 29, 132, kVScroll},

        // Output and the mode switches.
        {kNoId, ControlKind::Label, "Output select", 64, 34, 47, 9},
        {1013, ControlKind::DropDownList, "", 64, 44, 47, 132, kVScroll},
        {kNoId, ControlKind::Label, "Modes", 113, 34, 60, 9},
        {1017, ControlKind::PushLikeCheckBox, "mono", 113, 44, 32, 12, kFlat},
        {1019, ControlKind::PushLikeCheckBox, "Layer off", 146, 44, 41, 12, kFlat},
        {1020, ControlKind::PushLikeCheckBox, "ARP off", 188, 44, 60, 12, kFlat},

        // Faders: volume, pan, reverb and chorus sends, note shift and
        // detune, velocity sensitivity depth and offset.
        {kNoId, ControlKind::Label, "Vol", 256, 7, 19, 9, kCentered},
        {1004, ControlKind::Fader, "Button1", 256, 17, 19, 39},
        {kNoId, ControlKind::Label, "Pan", 278, 7, 19, 9, kCentered},
        {1005, ControlKind::Fader, "Button1", 278, 17, 19, 39},
        {kNoId, ControlKind::Label, "Rev", 304, 7, 19, 9, kCentered},
        {1011, ControlKind::Fader, "Button1", 304, 17, 19, 39},
        {kNoId, ControlKind::Label, "Cho", 326, 7, 19, 9, kCentered},
        {1012, ControlKind::Fader, "Button1", 326, 17, 19, 39},
        {kNoId, ControlKind::Label, "Pitch(shft,dtn)", 349, 7, 47, 9, kCentered},
        {1008, ControlKind::Fader, "Button1", 352, 17, 19, 39},
        {1009, ControlKind::Fader, "Button1", 374, 17, 19, 39},
        {kNoId, ControlKind::Label, "VelSns(d,ofs)", 397, 7, 47, 9, kCentered},
        {1006, ControlKind::Fader, "Button1", 400, 17, 19, 39},
        {1007, ControlKind::Fader, "Button1", 422, 17, 19, 39},

        // Portamento.
        {1018, ControlKind::PushLikeCheckBox, "Portamento off", 450, 18, 53, 12, kFlat},
        {1003, ControlKind::DropDownList, "", 450, 32, 53, 132, kVScroll},
        {kNoId, ControlKind::Label, "Prt time", 504, 7, 29, 9, kCentered},
        {1010, ControlKind::Fader, "Button1", 509, 18, 19, 38},

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
