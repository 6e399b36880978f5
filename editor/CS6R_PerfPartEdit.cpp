#include "editor/CS6R_PerfPartEdit.h"

#include <utility>

#include "editor/PartBlock.h"
#include "resources/DialogTemplates.h"

namespace cs6 {

using namespace perf_part_edit;

namespace {

struct FaderSetup {
    int id;
    int low;
};
constexpr std::array<FaderSetup, CS6R_PerfPartEdit::kFaderCount> kFaders = {{
    {kCutoff, 0x16}, // cutoff
    {kResonance, 0x17}, // resonance
    {kAttack, 0x21}, // attack
    {kDecay, 0x23}, // decay
    {kSustain, 0x20}, // sustain
    {kRelease, 0x24}, // release
}};

} // namespace

CS6R_PerfPartEdit::CS6R_PerfPartEdit(QWidget* parent, SynthDevice* device, int part)
    : TemplateDialog(PerfPartEditTemplate(), parent), synthDevice(device), partIndex(part),
      history_(EditHistory::Of(parent)),
      watch_(*device, [this] { return PartBlockRegion(std::as_const(*synthDevice).Memory(), partIndex); },
             [this] { ShowMemory(); })
{
    setObjectName(QStringLiteral("CS6R_PerfPartEdit"));
    for (std::size_t i = 0; i < faders_.size(); ++i) {
        auto* fader = new FaderControl(this);
        ReplaceControl(kFaders[i].id, fader);
        faders_[i] = fader;
    }
    InitDialog();
    if (history_)
        history_->AddShortcuts(this);
}

void CS6R_PerfPartEdit::InitDialog()
{
    setWindowTitle(PartCaptionName(partIndex) + QStringLiteral(" filter & envelope QED"));
    for (int index = 0; index < kFaderCount; ++index) {
        FaderControl* fader = Fader(index);
        fader->SetVerticalPosition(0);
        fader->SetScrollSizes(-1, -1);
        fader->SetRange(0, 127, 64);
        fader->notifyTarget = this;
        fader->dragMessage = kFaderDragMessage;
        fader->releaseMessage = kFaderReleaseMessage;
        fader->notifyWParam = static_cast<quintptr>(index);
        fader->notifyLParam = 0;
        faderAddresses_[static_cast<std::size_t>(index)] =
            PartAddress(partIndex, kFaders[static_cast<std::size_t>(index)].low);
        fader->SetValue(synthDevice->Read(FaderAddress(index)));
    }
}

// Only the faders whose value changed: the one being dragged keeps its anchor.
void CS6R_PerfPartEdit::ShowMemory()
{
    for (int index = 0; index < kFaderCount; ++index) {
        const int value = synthDevice->Read(FaderAddress(index));
        if (Fader(index)->Value() != value) {
            Fader(index)->SetValue(value);
            Fader(index)->repaint();
        }
    }
}

void CS6R_PerfPartEdit::OnFaderNotify(int index, EditGesture gesture)
{
    if (index < 0 || index >= kFaderCount)
        return;
    const auto value = static_cast<std::uint8_t>(static_cast<int>(Fader(index)->Value()));
    MakeEdit(history_, *synthDevice, Fader(index), gesture, {{FaderAddress(index), {value}}});
}

void CS6R_PerfPartEdit::OnPostedMessage(const PostedMessageEvent& message)
{
    if (message.Message() == kFaderDragMessage)
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Moving);
    else if (message.Message() == kFaderReleaseMessage)
        OnFaderNotify(static_cast<int>(message.WParam()), EditGesture::Done);
}

} // namespace cs6
