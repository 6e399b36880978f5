#pragma once
// The part strip: a borderless row in the main window that shows and edits
// the main settings of one performance part (bank and program, receive
// channel, output, the mode switches, portamento and nine faders), and opens
// the part's quick-edit and receive-switch dialogs.
//
// Every edit of the part block 31 pp (pp = partIndex) goes through the edit
// history of the window the strip sits in (straight to the device for a strip
// on its own), which writes the memory and sends a parameter change for
// exactly the bytes written. The controls follow every change of the block
// in the memory, wherever it came from; RefreshFromMemory reloads them at
// once, program names included, and the part matrix calls it after choosing
// another part.
//
// Thread: the user-interface thread only.

#include <array>
#include <cstdint>

#include "editor/MemoryWatch.h"
#include "editor/ParameterDialog.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace cs6 {

class CS6R_PerfPartMainEdit : public ParameterDialog {
public:
    // A child of parent showing part (a part index, 0 for part 1); device is
    // not owned. The controls are filled; the title, selections and switches
    // wait for RefreshFromMemory.
    CS6R_PerfPartMainEdit(QWidget* parent, SynthDevice* device, int part);

    int PartIndex() const { return partIndex; }
    // Takes effect at the next RefreshFromMemory.
    void SetPartIndex(int part) { partIndex = part; }

    // Relabels the strip for partIndex and loads every control from its block.
    void RefreshFromMemory();
    // Rebuilds the program list for the chosen bank, keeping the program's
    // position where the bank is long enough, else choosing the first.
    void FillProgramList();

    // Handlers of the two dialog buttons, also reachable for tests.
    void OnQuickEdit();
    void OnReceiveSwitches();

    static constexpr int kFaderCount = 9;
    static constexpr int kDetuneFader = 5;
    static constexpr int kNoteShiftFader = 4;

    QComboBox* BankCombo() const { return bankCombo_; }
    QComboBox* ProgramCombo() const { return programCombo_; }
    QComboBox* ReceiveChannelCombo() const { return receiveChannelCombo_; }
    QComboBox* PortamentoModeCombo() const { return portamentoModeCombo_; }
    QComboBox* OutputSelectCombo() const { return outputSelectCombo_; }
    QPushButton* Button(int id) const;
    QLabel* Title() const;

protected:
    int partIndex;

private:
    void InitDialog();
    void ConnectHandlers();
    // The controls from the memory; the program list is rebuilt when asked
    // or when the bank changed.
    void ShowMemory(bool refillPrograms);
    void OnSwitch(int id);
    void OnBankChange();
    void OnProgram();
    void OnReceiveChannel();
    void OnOutputSelect();
    void OnPortamentoMode();

    std::uint8_t Part(int low) const { return synthDevice->Read(PackAddress(block::kPart, partIndex, low)); }
    // One edit of single bytes of the part block: {low, byte} in order.
    void EditPart(const void* control, EditGesture gesture, std::initializer_list<std::pair<int, std::uint8_t>> bytes);

    QComboBox* bankCombo_ = nullptr;
    QComboBox* programCombo_ = nullptr;
    QComboBox* receiveChannelCombo_ = nullptr;
    QComboBox* portamentoModeCombo_ = nullptr;
    QComboBox* outputSelectCombo_ = nullptr;
    MemoryWatch watch_;
};

} // namespace cs6
