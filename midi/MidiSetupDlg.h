#pragma once
// "MIDI setup": the user picks the input and output port. OK closes the
// connection, stores the choice in midiSettings and opens it again; the
// settings file is written at shutdown. The THRU list only shows the stored
// thru choice.
//
// Thread: the user-interface thread.

#include "framework/TemplateDialog.h"

class QComboBox;

namespace cs6 {

class MidiSetupDlg : public TemplateDialog {
public:
    explicit MidiSetupDlg(QWidget* parent = nullptr);

    QComboBox* InputList() const;
    QComboBox* OutputList() const;
    QComboBox* ThruList() const;

    // OK: does nothing while IN or OUT has no selection.
    void OnOk();

private:
    void FillLists();
};

} // namespace cs6
