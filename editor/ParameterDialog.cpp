#include "editor/ParameterDialog.h"

namespace cs6 {

ParameterDialog::ParameterDialog(const DialogTemplate& dialogTemplate, QWidget* parent, SynthDevice* device)
    : TemplateDialog(dialogTemplate, parent), synthDevice(device)
{
}

std::uint32_t ParameterDialog::FaderAddress(int index) const
{
    return PackAddress(blockHigh_, blockMid_, faderTable_[static_cast<std::size_t>(index)].low);
}

void ParameterDialog::BindFaders(std::span<const FaderBinding> table, int high, int mid)
{
    faderTable_ = table;
    faderHistory_ = EditHistory::Of(this);
    blockHigh_ = high;
    blockMid_ = mid;
    for (std::size_t index = 0; index < table.size(); ++index) {
        const FaderBinding& binding = table[index];
        auto* fader = new FaderControl(this);
        ReplaceControl(binding.control, fader);
        faders_.push_back(fader);
        fader->SetVerticalPosition(0);
        fader->SetScrollSizes(-1, -1);
        fader->SetRange(binding.min, binding.max, binding.initial);
        fader->notifyTarget = this;
        fader->notify = [this, index = static_cast<int>(index)](FaderStep step) {
            WriteFader(index, step == FaderStep::Drag ? EditGesture::Moving : EditGesture::Done);
        };
        fader->SetValue(binding.initial);
        if (binding.formatter)
            fader->SetFormatter(binding.formatter, binding.formatterMode);
    }
    ShowFaders();
}

void ParameterDialog::ShowFaders()
{
    for (std::size_t index = 0; index < faders_.size(); ++index) {
        const auto bytes = synthDevice->Read(FaderAddress(static_cast<int>(index)),
                                             faderTable_[index].encoding == FaderEncoding::Byte ? 1 : 2);
        int value = bytes[0];
        if (faderTable_[index].encoding == FaderEncoding::TwoSevenBit)
            value = bytes[0] << 7 | bytes[1];
        else if (faderTable_[index].encoding == FaderEncoding::NibblePair)
            value = bytes[0] * 16 + bytes[1];
        if (faders_[index]->Value() != value) {
            faders_[index]->SetValue(value);
            faders_[index]->repaint();
        }
    }
}

void ParameterDialog::WriteFader(int index, EditGesture gesture)
{
    if (index < 0 || index >= static_cast<int>(faders_.size()))
        return;
    const auto value = static_cast<int>(Fader(index)->Value()); // truncation toward zero
    const auto byte = static_cast<std::uint8_t>(value);
    std::vector<std::uint8_t> bytes{byte};
    switch (faderTable_[static_cast<std::size_t>(index)].encoding) {
    case FaderEncoding::Byte:
        break;
    case FaderEncoding::TwoSevenBit:
        bytes = {static_cast<std::uint8_t>(value >> 7), static_cast<std::uint8_t>(value & 0x7F)};
        break;
    case FaderEncoding::NibblePair:
        bytes = {static_cast<std::uint8_t>(byte >> 4), static_cast<std::uint8_t>(byte & 0x0F)};
        break;
    }
    MakeEdit(faderHistory_, *synthDevice, Fader(index), gesture, {{FaderAddress(index), std::move(bytes)}});
}

} // namespace cs6
