#include "editor/CS6R_PartMatrix.h"

#include <QPushButton>

#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/FlatSwitchStyle.h"
#include "resources/DialogTemplates.h"
#include "synth/InstrumentMap.h"

namespace cs6 {
namespace {

using part_matrix::kSelectorCount;
constexpr int kFirstSelector = part_matrix::kPart1; // then the other parts, in part::kIndexes order
static_assert(kSelectorCount == part::kIndexes.size());

} // namespace

CS6R_PartMatrix::CS6R_PartMatrix(QWidget* parent, CS6R_PerfPartMainEdit* strip)
    : TemplateDialog(PartMatrixTemplate(), parent), partStrip(strip)
{
    setObjectName(QStringLiteral("CS6R_PartMatrix"));
    FrameFlatSwitches(this);
    for (int id = kFirstSelector; id < kFirstSelector + kSelectorCount; ++id) {
        connect(Selector(id), &QPushButton::clicked, this, [this, id] { OnSelector(id); });
        // Shows from the start which part the strip edits.
        if (partStrip && PartIndexOf(id) == partStrip->PartIndex())
            Selector(id)->setChecked(true);
    }
}

QPushButton* CS6R_PartMatrix::Selector(int id) const { return ControlAs<QPushButton>(id); }

int CS6R_PartMatrix::PartIndexOf(int id)
{
    const int position = id - kFirstSelector;
    if (position < 0 || position >= kSelectorCount)
        return -1;
    return part::kIndexes[static_cast<std::size_t>(position)];
}

void CS6R_PartMatrix::OnSelector(int id)
{
    if (!partStrip)
        return;
    partStrip->SetPartIndex(PartIndexOf(id));
    partStrip->RefreshFromMemory();
}

} // namespace cs6
