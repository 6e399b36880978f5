#pragma once
// "Select patch": the user picks one stored sound of the instrument by bank
// (the rows PRE1 .. EXT drum of bankTable) and program, the programs labelled
// with the names the editor keeps. It only returns the choice: it reads no
// parameter memory and sends nothing.
//
// OK is enabled only while a bank and a program are chosen, so an accepted
// dialog always holds a bankTable row from 2 to 10 and a program of that row.
//
// Thread: the user-interface thread.

#include <cstdint>

#include "framework/TemplateDialog.h"

class QComboBox;
class QPushButton;

namespace cs6 {

class PatchSelectDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit PatchSelectDlg(QWidget* parent = nullptr);

    QComboBox* BankList() const;
    QComboBox* ProgramList() const;
    QPushButton* OkButton() const;

    // The bank selection changed: the programs of the new bank, keeping the
    // chosen program where the new bank has it.
    void FillProgramList();
    // Takes the choice and ends the dialog with OK; does nothing while the
    // choice is not complete.
    void OnOk();

    // Set by OK: the bankTable row and the 0-based program. -1 until then.
    std::int32_t selectedBank = -1;
    std::int32_t selectedProgram = -1;

private:
    void UpdateOkButton();
    // The chosen bankTable row and program, or -1 where none is chosen.
    int ChosenBank() const;
    int ChosenProgram() const;
};

} // namespace cs6
