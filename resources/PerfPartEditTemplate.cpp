#include "resources/DialogTemplates.h"

namespace cs6 {

// A part's quick edit: two filter faders and four envelope faders, each
// named above it, the groups named above them and parted by a line. The
// caption is replaced by the part's name when the dialog opens.
const DialogTemplate& PerfPartEditTemplate()
{
    using namespace perf_part_edit;
    static constexpr ControlTemplate controls[] = {
        {kNoId, ControlKind::Label, "Filter", 7, 5, 39, 9, kCentered},
        {kNoId, ControlKind::Label, "Envelope", 57, 5, 79, 9, kCentered},
        {kNoId, ControlKind::EtchedLine, "", 51, 5, 1, 76},

        {kNoId, ControlKind::Label, "cutoff", 5, 18, 23, 9, kCentered},
        {kCutoff, ControlKind::Fader, "Button1", 7, 29, 19, 48},
        {kNoId, ControlKind::Label, "reso", 27, 18, 19, 9, kCentered},
        {kResonance, ControlKind::Fader, "Button1", 27, 29, 19, 48},
        {kNoId, ControlKind::Label, "attk", 57, 18, 19, 9, kCentered},
        {kAttack, ControlKind::Fader, "Button1", 57, 29, 19, 48},
        {kNoId, ControlKind::Label, "decay", 75, 18, 23, 9, kCentered},
        {kDecay, ControlKind::Fader, "Button1", 77, 29, 19, 48},
        {kNoId, ControlKind::Label, "sust", 97, 18, 19, 9, kCentered},
        {kSustain, ControlKind::Fader, "Button1", 97, 29, 19, 48},
        {kNoId, ControlKind::Label, "rel", 117, 18, 19, 9, kCentered},
        {kRelease, ControlKind::Fader, "Button1", 117, 29, 19, 48},
    };
    static const DialogTemplate dialog{kPerfPartEditTemplateId, "Quick edit", "MS Sans Serif", 8, 143, 93, false,
                                       controls};
    return dialog;
}

} // namespace cs6
