#pragma once
// A template dialog that edits the parameter memory. Its faders are bound
// from a table, a row a fader: the base replaces each row's template button
// by a fader, sets it up once, shows the value the memory holds and writes
// every step the user makes through the edit history of the window the
// dialog sits in (straight through the device for a dialog on its own), so
// the dialogs keep only their tables. The faders' addresses lie in one block
// of the memory, the dialog's (30 00, or a part's 31 pp).
//
// Thread: the user-interface thread only.

#include <cstdint>
#include <span>
#include <vector>

#include "controls/FaderControl.h"
#include "controls/ValueFormatter.h"
#include "editor/EditHistory.h"
#include "framework/TemplateDialog.h"
#include "synth/SynthDevice.h"

namespace cs6 {

// How a fader's value lies in the memory.
enum class FaderEncoding {
    Byte,        // one byte
    TwoSevenBit, // two bytes of 7 bits, the high one first (0..16383)
    NibblePair,  // two bytes of 4 bits, the high one first (0..255)
};

// One fader of a dialog.
struct FaderBinding {
    int control;            // the template's button the fader takes the place of
    int low;                // the low byte of its address in the dialog's block
    FaderEncoding encoding;
    int min, max, initial;  // the range, and the value shown before the memory's
    const ValueFormatter* formatter = nullptr; // null: the fader's own decimal text
    int formatterMode = 0;
};

class ParameterDialog : public TemplateDialog {
public:
    FaderControl* Fader(int index) const { return faders_[static_cast<std::size_t>(index)]; }
    // The packed address fader index writes.
    std::uint32_t FaderAddress(int index) const;

protected:
    // device is not owned.
    ParameterDialog(const DialogTemplate& dialogTemplate, QWidget* parent, SynthDevice* device);

    // Makes and sets up the faders of table (kept, not copied), in the block
    // high mid, showing the memory; once, in the constructor, once the edit
    // history the dialog writes through can be found (EditHistory::Of).
    void BindFaders(std::span<const FaderBinding> table, int high, int mid);
    // Moves the faders to the block whose mid byte is mid; ShowFaders shows it.
    void SetFaderBlock(int mid) { blockMid_ = mid; }
    // The faders from the memory. Only those whose value changed are set and
    // repainted: the one being dragged keeps its anchor.
    void ShowFaders();

    SynthDevice* synthDevice;

private:
    void WriteFader(int index, EditGesture gesture);

    std::span<const FaderBinding> faderTable_;
    EditHistory* faderHistory_ = nullptr; // null: straight through the device
    std::vector<FaderControl*> faders_;
    int blockHigh_ = 0;
    int blockMid_ = 0;
};

} // namespace cs6
