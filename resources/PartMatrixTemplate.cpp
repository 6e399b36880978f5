#include "resources/DialogTemplates.h"

namespace cs6 {

// The part selectors: one radio group of twenty flat push buttons, parts 1 to
// 16 and the four special parts, side by side.
const DialogTemplate& PartMatrixTemplate()
{
    static constexpr ControlTemplate controls[] = {
        {1028, ControlKind::PushLikeRadio, "1", 7, 4, 14, 13, kFlat | kGroupStart},
        {1029, ControlKind::PushLikeRadio, "2", 21, 4, 14, 13, kFlat},
        {1030, ControlKind::PushLikeRadio, "3", 35, 4, 14, 13, kFlat},
        {1031, ControlKind::PushLikeRadio, "4", 49, 4, 14, 13, kFlat},
        {1032, ControlKind::PushLikeRadio, "5", 63, 4, 14, 13, kFlat},
        {1033, ControlKind::PushLikeRadio, "6", 77, 4, 14, 13, kFlat},
        {1034, ControlKind::PushLikeRadio, "7", 91, 4, 14, 13, kFlat},
        {1035, ControlKind::PushLikeRadio, "8", 105, 4, 14, 13, kFlat},
        {1036, ControlKind::PushLikeRadio, "9", 119, 4, 14, 13, kFlat},
        {1037, ControlKind::PushLikeRadio, "10", 133, 4, 14, 13, kFlat},
        {1038, ControlKind::PushLikeRadio, "11", 147, 4, 14, 13, kFlat},
        {1039, ControlKind::PushLikeRadio, "12", 161, 4, 14, 13, kFlat},
        {1040, ControlKind::PushLikeRadio, "13", 175, 4, 14, 13, kFlat},
        {1041, ControlKind::PushLikeRadio, "14", 189, 4, 14, 13, kFlat},
        {1042, ControlKind::PushLikeRadio, "15", 203, 4, 14, 13, kFlat},
        {1043, ControlKind::PushLikeRadio, "16", 217, 4, 14, 13, kFlat},
        {1044, ControlKind::PushLikeRadio, "AD", 231, 4, 14, 13, kFlat},
        {1045, ControlKind::PushLikeRadio, "CL", 245, 4, 14, 13, kFlat},
        {1046, ControlKind::PushLikeRadio, "P1", 259, 4, 14, 13, kFlat},
        {1047, ControlKind::PushLikeRadio, "P2", 273, 4, 14, 13, kFlat},
    };
    static const DialogTemplate dialog{kPartMatrixTemplateId, "", "MS Shell Dlg", 8, 458, 49, true, controls};
    return dialog;
}

} // namespace cs6
