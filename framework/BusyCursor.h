#pragma once
// The wait cursor for the length of a command that blocks the user-interface
// thread, put back however the command ends.
//
// Thread: the user-interface thread.

#include <QApplication>

namespace cs6 {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace cs6
