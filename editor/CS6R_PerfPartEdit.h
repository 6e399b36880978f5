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

#include "editor/MemoryWatch.h"
#include "editor/ParameterDialog.h"

namespace cs6 {

class CS6R_PerfPartEdit : public ParameterDialog {
public:
    // For part (a part index); device is not owned. The caption names the part.
    CS6R_PerfPartEdit(QWidget* parent, SynthDevice* device, int part);

    static constexpr int kFaderCount = 6;

protected:
    int partIndex;

private:
    MemoryWatch watch_;
};

} // namespace cs6
