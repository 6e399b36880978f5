#pragma once
// A part's quick edit: a small modal dialog with six faders for the filter
// (cutoff, resonance) and the envelope (attack, decay, sustain, release) of
// one part. Each step of a fader writes its byte in the part block 31 pp and
// sends it at once, through the edit history of the window the dialog was
// opened from, so Ctrl+Z and Ctrl+Y work here too; there is nothing to apply.
//
// The faders follow every change of the part block in the memory, also one
// made elsewhere while the dialog is open.
//
// Thread: the user-interface thread only.

#include <array>
#include <cstdint>

#include "controls/FaderControl.h"
#include "editor/EditHistory.h"
#include "editor/MemoryWatch.h"
#include "framework/TemplateDialog.h"
#include "synth/SynthDevice.h"

namespace cs6 {

class CS6R_PerfPartEdit : public TemplateDialog {
public:
    // For part (a part index); device is not owned. The caption names the part.
    CS6R_PerfPartEdit(QWidget* parent, SynthDevice* device, int part);

    static constexpr int kFaderCount = 6;

    FaderControl* Fader(int index) const { return faders_[static_cast<std::size_t>(index)]; }
    // The packed address fader index edits.
    std::uint32_t FaderAddress(int index) const { return faderAddresses_[static_cast<std::size_t>(index)]; }

protected:
    void OnPostedMessage(const PostedMessageEvent& message) override;

    SynthDevice* synthDevice;
    int partIndex;

private:
    void InitDialog();
    void ShowMemory();
    void OnFaderNotify(int index, EditGesture gesture);

    std::array<FaderControl*, kFaderCount> faders_{};
    std::array<std::uint32_t, kFaderCount> faderAddresses_{};
    EditHistory* history_;
    MemoryWatch watch_;
};

} // namespace cs6
