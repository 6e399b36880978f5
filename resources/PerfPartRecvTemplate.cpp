#include "resources/DialogTemplates.h"

namespace cs6 {

// A part's receive switches: fifteen flat push-like check boxes in two rows.
// The caption is replaced by the part's name when the dialog opens.
const DialogTemplate& PerfPartRecvTemplate()
{
    static constexpr ControlTemplate controls[] = {
        {1018, ControlKind::PushLikeCheckBox, "BnkCh", 7, 7, 28, 10, kFlat},
        {1017, ControlKind::PushLikeCheckBox, "CC", 39, 7, 20, 10, kFlat},
        {1029, ControlKind::PushLikeCheckBox, "Vol", 59, 7, 17, 10, kFlat},
        {1030, ControlKind::PushLikeCheckBox, "Pan", 76, 7, 17, 10, kFlat},
        {1031, ControlKind::PushLikeCheckBox, "Sus", 93, 7, 17, 10, kFlat},
        {1019, ControlKind::PushLikeCheckBox, "AT", 110, 7, 17, 10, kFlat},
        {1027, ControlKind::PushLikeCheckBox, "Kn1", 127, 7, 17, 10, kFlat},
        {1028, ControlKind::PushLikeCheckBox, "Kn2", 144, 7, 17, 10, kFlat},

        {1021, ControlKind::PushLikeCheckBox, "PrgCh", 7, 18, 28, 10, kFlat},
        {1022, ControlKind::PushLikeCheckBox, "MW", 39, 18, 20, 10, kFlat},
        {1020, ControlKind::PushLikeCheckBox, "PB", 59, 18, 17, 10, kFlat},
        {1025, ControlKind::PushLikeCheckBox, "RB", 76, 18, 17, 10, kFlat},
        {1026, ControlKind::PushLikeCheckBox, "BC", 93, 18, 17, 10, kFlat},
        {1023, ControlKind::PushLikeCheckBox, "FC", 110, 18, 17, 10, kFlat},
        {1024, ControlKind::PushLikeCheckBox, "FS", 127, 18, 17, 10, kFlat},
    };
    static const DialogTemplate dialog{kPerfPartRecvTemplateId, "Receive switches", "MS Sans Serif", 8, 168, 34, false,
                                       controls};
    return dialog;
}

} // namespace cs6
