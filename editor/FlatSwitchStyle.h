#pragma once
// Flat push-like switches drawn as the instrument's dialogs want them: a thin
// frame around each, so that an unpressed switch still reads as a button and
// not as a label, and a darker face while it is pressed.

#include <QWidget>

namespace cs6 {

inline void FrameFlatSwitches(QWidget* dialog)
{
    dialog->setStyleSheet(QStringLiteral("QPushButton:flat { border: 1px solid palette(dark); padding: 0px 2px; "
                                         "background: palette(button); }"
                                         "QPushButton:flat:checked, QPushButton:flat:pressed { "
                                         "background: palette(mid); border-color: palette(shadow); }"));
}

} // namespace cs6
