#pragma once
// What the benchmarks that run the editor's windows set up first: a
// QApplication on the offscreen platform (an explicit QT_QPA_PLATFORM wins),
// message boxes printed instead of waiting for a click, the name tables.

#include <QApplication>

#include <cstdlib>

#include "bench/BenchSupport.h"
#include "synth/NameTables.h"

namespace cs6::bench {

class OffscreenEditor {
public:
    // argc must outlive this, as QApplication requires.
    OffscreenEditor(int& argc, char** argv) : application_(argc, argv)
    {
        PrintMessageBoxes();
        InitNameTables();
    }

private:
    bool platformSet_ = ::setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0; // before the application
    QApplication application_;
};

} // namespace cs6::bench
