#pragma once
// The program's icon (three faders over a keyboard), embedded in the program
// at 16, 22, 24, 32, 48, 64, 128 and 256 pixels. resources/icons holds the
// drawing as SVG and those PNGs; tools/render-icon makes them.
//
// Thread: the user-interface thread (QIcon).

#include <QIcon>

namespace cs6 {

QIcon ProgramIcon();

} // namespace cs6
