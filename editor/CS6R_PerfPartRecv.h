#pragma once
// A part's receive switches: a small modal dialog of fifteen push-like check
// boxes that say which kinds of MIDI message the part receives. Each switch
// is one bit of the bytes 1D, 1E and 1F of the part block 31 pp; a click
// flips that bit in the memory and sends the whole byte, every other bit as
// the memory holds it (bits 0x01 and 0x02 of 1D are the part strip's layer
// and arpeggio switches and stay untouched). Each click is one step of the
// edit history of the window the dialog was opened from, whose Ctrl+Z and
// Ctrl+Y work here too.
//
// The switches follow every change of the part block in the memory, also one
// made elsewhere while the dialog is open.
//
// Thread: the user-interface thread only.

#include <array>
#include <cstdint>

#include "editor/EditHistory.h"
#include "editor/MemoryWatch.h"
#include "framework/TemplateDialog.h"
#include "synth/SynthDevice.h"

class QPushButton;

namespace cs6 {

// One switch: its check box, the byte it lives in and its bit there.
struct ReceiveSwitch {
    std::uint32_t controlId = 0;
    std::uint32_t address = 0; // packed
    std::uint8_t mask = 0;
};

class CS6R_PerfPartRecv : public TemplateDialog {
public:
    // For part (a part index); device is not owned. The caption names the part.
    CS6R_PerfPartRecv(QWidget* parent, SynthDevice* device, int part);

    static constexpr int kSwitchCount = 15;

    // Brings the memory in line with the boxes: every row whose box differs
    // from its bit has the bit flipped and its byte sent. After one click
    // that is exactly one message.
    void ApplyReceiveSwitches();

    const std::array<ReceiveSwitch, kSwitchCount>& Switches() const { return receiveSwitches; }
    QPushButton* Box(int id) const;

protected:
    SynthDevice* synthDevice;
    int partIndex;
    std::array<ReceiveSwitch, kSwitchCount> receiveSwitches{};

private:
    void InitDialog();
    void ShowMemory();

    EditHistory* history_;
    MemoryWatch watch_;
};

} // namespace cs6
