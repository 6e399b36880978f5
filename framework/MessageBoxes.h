#pragma once
// Message boxes with an OK button for the whole program: installs the GUI's
// handler behind ShowMessageBox, so that the core and transport libraries
// report through real boxes.
//
// Thread: the user-interface thread.

#include <QString>

namespace cs6 {

// Shows every ShowMessageBox text in a modal box with an OK button, titled
// with the program's name.
void InstallGuiMessageBoxes(const QString& title);

} // namespace cs6
