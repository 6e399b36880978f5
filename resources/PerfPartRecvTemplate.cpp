#include "resources/DialogTemplates.h"

namespace cs6 {

// A part's receive switches: fifteen flat push-like check boxes in two rows.
// The caption is replaced by the part's name when the dialog opens.
const DialogTemplate& PerfPartRecvTemplate()
{
    using namespace perf_part_recv;
    static constexpr ControlTemplate controls[] = {
        {kBankSelect, ControlKind::PushLikeCheckBox, "BnkCh", 7, 7, 28, 10, kFlat},
        {kControlChange, ControlKind::PushLikeCheckBox, "CC", 39, 7, 20, 10, kFlat},
        {kVolume, ControlKind::PushLikeCheckBox, "Vol", 59, 7, 17, 10, kFlat},
        {kPan, ControlKind::PushLikeCheckBox, "Pan", 76, 7, 17, 10, kFlat},
        {kSustain, ControlKind::PushLikeCheckBox, "Sus", 93, 7, 17, 10, kFlat},
        {kAftertouch, ControlKind::PushLikeCheckBox, "AT", 110, 7, 17, 10, kFlat},
        {kKnob1, ControlKind::PushLikeCheckBox, "Kn1", 127, 7, 17, 10, kFlat},
        {kKnob2, ControlKind::PushLikeCheckBox, "Kn2", 144, 7, 17, 10, kFlat},

        {kProgramChange, ControlKind::PushLikeCheckBox, "PrgCh", 7, 18, 28, 10, kFlat},
        {kModWheel, ControlKind::PushLikeCheckBox, "MW", 39, 18, 20, 10, kFlat},
        {kPitchBend, ControlKind::PushLikeCheckBox, "PB", 59, 18, 17, 10, kFlat},
        {kRibbon, ControlKind::PushLikeCheckBox, "RB", 76, 18, 17, 10, kFlat},
        {kBreath, ControlKind::PushLikeCheckBox, "BC", 93, 18, 17, 10, kFlat},
        {kFootController, ControlKind::PushLikeCheckBox, "FC", 110, 18, 17, 10, kFlat},
        {kFootSwitch, ControlKind::PushLikeCheckBox, "FS", 127, 18, 17, 10, kFlat},
    };
    static const DialogTemplate dialog{kPerfPartRecvTemplateId, "Receive switches", "MS Sans Serif", 8, 168, 34, false,
                                       controls};
    return dialog;
}

} // namespace cs6
