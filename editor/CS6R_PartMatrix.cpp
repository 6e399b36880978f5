#include "editor/CS6R_PartMatrix.h"

#include <QPushButton>

#include <array>

#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/FlatSwitchStyle.h"
#include "editor/PartBlock.h"
#include "resources/DialogTemplates.h"

namespace cs6 {
namespace {

using part_matrix::kSelectorCount;
constexpr int kFirstSelector = part_matrix::kPart1; // then parts 2 to 16 and the special parts
constexpr std::array<int, 4> kSpecialParts = {kPartAD, kPartCL, kPartPLG1, kPartPLG2};

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
    if (position < 16)
        return position;
    return kSpecialParts[static_cast<std::size_t>(position - 16)];
}

void CS6R_PartMatrix::OnSelector(int id)
{
    if (!partStrip)
        return;
    partStrip->SetPartIndex(PartIndexOf(id));
    partStrip->RefreshFromMemory();
}

} // namespace cs6
