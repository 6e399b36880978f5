#include "editor/CS6R_PerfPartEdit.h"

#include <utility>

#include "editor/PartBlock.h"
#include "resources/DialogTemplates.h"

namespace cs6 {

using namespace perf_part_edit;

namespace {

constexpr std::array<FaderBinding, CS6R_PerfPartEdit::kFaderCount> kFaders = {{
    {kCutoff, part::kCutoff, FaderEncoding::Byte, 0, 127, 64},
    {kResonance, part::kResonance, FaderEncoding::Byte, 0, 127, 64},
    {kAttack, part::kEnvelopeAttack, FaderEncoding::Byte, 0, 127, 64},
    {kDecay, part::kEnvelopeDecay, FaderEncoding::Byte, 0, 127, 64},
    {kSustain, part::kEnvelopeSustain, FaderEncoding::Byte, 0, 127, 64},
    {kRelease, part::kEnvelopeRelease, FaderEncoding::Byte, 0, 127, 64},
}};

} // namespace

CS6R_PerfPartEdit::CS6R_PerfPartEdit(QWidget* parent, SynthDevice* device, int part)
    : ParameterDialog(PerfPartEditTemplate(), parent, device), partIndex(part),
      watch_(*device, [this] { return PartBlockRegion(std::as_const(*synthDevice).Memory(), partIndex); },
             [this] { ShowFaders(); })
{
    setObjectName(QStringLiteral("CS6R_PerfPartEdit"));
    setWindowTitle(PartName(partIndex, PartNaming::Caption) + QStringLiteral(" filter & envelope QED"));
    BindFaders(kFaders, block::kPart, partIndex);
    if (EditHistory* history = EditHistory::Of(parent))
        history->AddShortcuts(this);
}

} // namespace cs6
