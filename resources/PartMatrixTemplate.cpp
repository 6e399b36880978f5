#include "resources/DialogTemplates.h"

namespace cs6 {

// The part selectors: one radio group of twenty flat push buttons, parts 1 to
// 16 and the four special parts, side by side.
const DialogTemplate& PartMatrixTemplate()
{
    using namespace part_matrix;
    static constexpr ControlTemplate controls[] = {
        {kPart1, ControlKind::PushLikeRadio, "1", 7, 4, 14, 13, kFlat | kGroupStart},
        {kPart1 + 1, ControlKind::PushLikeRadio, "2", 21, 4, 14, 13, kFlat},
        {kPart1 + 2, ControlKind::PushLikeRadio, "3", 35, 4, 14, 13, kFlat},
        {kPart1 + 3, ControlKind::PushLikeRadio, "4", 49, 4, 14, 13, kFlat},
        {kPart1 + 4, ControlKind::PushLikeRadio, "5", 63, 4, 14, 13, kFlat},
        {kPart1 + 5, ControlKind::PushLikeRadio, "6", 77, 4, 14, 13, kFlat},
        {kPart1 + 6, ControlKind::PushLikeRadio, "7", 91, 4, 14, 13, kFlat},
        {kPart1 + 7, ControlKind::PushLikeRadio, "8", 105, 4, 14, 13, kFlat},
        {kPart1 + 8, ControlKind::PushLikeRadio, "9", 119, 4, 14, 13, kFlat},
        {kPart1 + 9, ControlKind::PushLikeRadio, "10", 133, 4, 14, 13, kFlat},
        {kPart1 + 10, ControlKind::PushLikeRadio, "11", 147, 4, 14, 13, kFlat},
        {kPart1 + 11, ControlKind::PushLikeRadio, "12", 161, 4, 14, 13, kFlat},
        {kPart1 + 12, ControlKind::PushLikeRadio, "13", 175, 4, 14, 13, kFlat},
        {kPart1 + 13, ControlKind::PushLikeRadio, "14", 189, 4, 14, 13, kFlat},
        {kPart1 + 14, ControlKind::PushLikeRadio, "15", 203, 4, 14, 13, kFlat},
        {kPart1 + 15, ControlKind::PushLikeRadio, "16", 217, 4, 14, 13, kFlat},
        {kPartAD, ControlKind::PushLikeRadio, "AD", 231, 4, 14, 13, kFlat},
        {kPartCL, ControlKind::PushLikeRadio, "CL", 245, 4, 14, 13, kFlat},
        {kPartPLG1, ControlKind::PushLikeRadio, "P1", 259, 4, 14, 13, kFlat},
        {kPartPLG2, ControlKind::PushLikeRadio, "P2", 273, 4, 14, 13, kFlat},
    };
    static const DialogTemplate dialog{kPartMatrixTemplateId, "", "MS Shell Dlg", 8, 458, 49, true, controls};
    return dialog;
}

} // namespace cs6
