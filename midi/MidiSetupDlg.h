#pragma once
// "MIDI setup": the user picks the input and output port. OK closes the
// connection, stores the choice in midiSettings and opens it again; the
// settings file is written at shutdown. The THRU list only shows the stored
// thru choice. "Detect" asks every port for a CS6x and selects the ports of
// the one that answers; none or several are said in a message box.
//
// Thread: the user-interface thread.

#include "framework/TemplateDialog.h"

class QComboBox;
class QPushButton;

namespace cs6 {

class MidiSetupDlg : public TemplateDialog {
public:
    explicit MidiSetupDlg(QWidget* parent = nullptr);

    QComboBox* InputList() const;
    QComboBox* OutputList() const;
    QComboBox* ThruList() const;
    QPushButton* DetectButton() const;

    // OK: does nothing while IN or OUT has no selection.
    void OnOk();
    // Detect: the connection is closed while the ports are asked, then
    // opened again as it was; only OK changes it.
    void OnDetect();

private:
    void FillLists();
};

} // namespace cs6
