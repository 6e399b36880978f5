#include "resources/DialogTemplates.h"

namespace cs6 {

const DialogTemplate& MidiSetupTemplate()
{
    using namespace midi_setup;
    static constexpr ControlTemplate controls[] = {
        {kNoId, ControlKind::Label, "IN", 7, 9, 38, 10},
        {kInput, ControlKind::DropDownList, "", 58, 7, 244, 90, kVScroll},
        {kNoId, ControlKind::Label, "OUT", 7, 28, 38, 10},
        {kOutput, ControlKind::DropDownList, "", 58, 25, 244, 90, kVScroll},
        {kNoId, ControlKind::Label, "THRU", 7, 44, 38, 10, kDisabled},
        {kThru, ControlKind::DropDownList, "", 58, 42, 244, 90, kVScroll | kDisabled},
        {kIdOk, ControlKind::DefaultPushButton, "OK", 311, 7, 52, 15},
        {kIdCancel, ControlKind::PushButton, "Cancel", 311, 23, 52, 15},
        {kDetect, ControlKind::PushButton, "Detect", 311, 42, 52, 15},
    };
    static const DialogTemplate dialog{kMidiSetupTemplateId, "MIDI setup", "MS Shell Dlg", 8, 370, 82, false, controls};
    return dialog;
}

} // namespace cs6
