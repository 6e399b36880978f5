#include "editor/CS6R_PerfPartRecv.h"

#include <QPushButton>

#include <utility>

#include "editor/FlatSwitchStyle.h"
#include "editor/PartBlock.h"
#include "resources/DialogTemplates.h"

namespace cs6 {

using namespace perf_part_recv;

namespace {

struct SwitchSetup {
    int id;
    int low;
    std::uint8_t mask;
};
// In the order the rows are compared and applied.
constexpr std::array<SwitchSetup, CS6R_PerfPartRecv::kSwitchCount> kSwitches = {{
    {kBankSelect, part::kReceiveSwitches1, 0x08}, // BnkCh
    {kControlChange, part::kReceiveSwitches1, 0x04}, // CC
    {kProgramChange, part::kReceiveSwitches1, 0x10}, // PrgCh
    {kAftertouch, part::kReceiveSwitches1, 0x20}, // AT
    {kPitchBend, part::kReceiveSwitches1, 0x40}, // PB
    {kVolume, part::kReceiveSwitches2, 0x01}, // Vol
    {kPan, part::kReceiveSwitches2, 0x02}, // Pan
    {kSustain, part::kReceiveSwitches2, 0x08}, // Sus
    {kModWheel, part::kReceiveSwitches2, 0x20}, // MW
    {kFootController, part::kReceiveSwitches3, 0x01}, // FC
    {kFootSwitch, part::kReceiveSwitches3, 0x02}, // FS
    {kRibbon, part::kReceiveSwitches3, 0x04}, // RB
    {kBreath, part::kReceiveSwitches3, 0x08}, // BC
    {kKnob1, part::kReceiveSwitches3, 0x10}, // Kn1
    {kKnob2, part::kReceiveSwitches3, 0x20}, // Kn2
}};

} // namespace

CS6R_PerfPartRecv::CS6R_PerfPartRecv(QWidget* parent, SynthDevice* device, int part)
    : TemplateDialog(PerfPartRecvTemplate(), parent), synthDevice(device), partIndex(part),
      history_(EditHistory::Of(parent)),
      watch_(*device, [this] { return PartBlockRegion(std::as_const(*synthDevice).Memory(), partIndex); },
             [this] { ShowMemory(); })
{
    setObjectName(QStringLiteral("CS6R_PerfPartRecv"));
    FrameFlatSwitches(this);
    InitDialog();
    if (history_)
        history_->AddShortcuts(this);
    for (const ReceiveSwitch& row : receiveSwitches)
        connect(Box(static_cast<int>(row.controlId)), &QPushButton::clicked, this,
                &CS6R_PerfPartRecv::ApplyReceiveSwitches);
}

QPushButton* CS6R_PerfPartRecv::Box(int id) const { return ControlAs<QPushButton>(id); }

void CS6R_PerfPartRecv::InitDialog()
{
    setWindowTitle(PartName(partIndex, PartNaming::Caption) + QStringLiteral(" receive switches"));
    for (std::size_t i = 0; i < receiveSwitches.size(); ++i) {
        const SwitchSetup& setup = kSwitches[i];
        ReceiveSwitch& row = receiveSwitches[i];
        row.controlId = static_cast<std::uint32_t>(setup.id);
        row.address = PartAddress(partIndex, setup.low);
        row.mask = setup.mask;
    }
    ShowMemory();
}

void CS6R_PerfPartRecv::ShowMemory()
{
    for (const ReceiveSwitch& row : receiveSwitches)
        Box(static_cast<int>(row.controlId))->setChecked((synthDevice->Read(row.address) & row.mask) != 0);
}

// One step of the history, however many rows differ.
void CS6R_PerfPartRecv::ApplyReceiveSwitches()
{
    const HoldPostedMessages hold;
    std::vector<ParameterWrite> writes;
    QPushButton* clicked = nullptr;
    for (const ReceiveSwitch& row : receiveSwitches) {
        // The byte as the writes before this one leave it.
        std::uint8_t byte = synthDevice->Read(row.address);
        for (const ParameterWrite& write : writes) {
            if (write.address == row.address)
                byte = write.bytes[0];
        }
        QPushButton* box = Box(static_cast<int>(row.controlId));
        if (box->isChecked() == ((byte & row.mask) != 0))
            continue;
        clicked = box;
        writes.push_back({row.address, {static_cast<std::uint8_t>(byte ^ row.mask)}});
    }
    if (!writes.empty())
        MakeEdit(history_, *synthDevice, clicked, EditGesture::Single, std::move(writes));
}

} // namespace cs6
