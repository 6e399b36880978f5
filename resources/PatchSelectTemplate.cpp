#include "resources/DialogTemplates.h"

namespace cs6 {

// "Select patch": a bank list and a program list side by side, labels above,
// OK and Cancel on the right.
const DialogTemplate& PatchSelectTemplate()
{
    using namespace patch_select;
    static constexpr ControlTemplate controls[] = {
        {kNoId, ControlKind::Label, "Bank", 7, 8, 47, 9},
        {kBank, ControlKind::DropDownList, "", 7, 18, 47, 132, kVScroll},
        {kNoId, ControlKind::Label, "Program", 55, 8, 93, 9},
        {kProgram, ControlKind::DropDownCombo, "", 55, 18, 93, 132, kVScroll},
        {kIdOk, ControlKind::DefaultPushButton, "OK", 167, 7, 50, 16},
        {kIdCancel, ControlKind::PushButton, "Cancel", 167, 26, 50, 16},
    };
    static const DialogTemplate dialog{kPatchSelectTemplateId, "Select patch", "MS Sans Serif", 8, 224, 49, false,
                                       controls};
    return dialog;
}

} // namespace cs6
