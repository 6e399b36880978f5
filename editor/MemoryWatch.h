#pragma once
// Keeps a view in line with the parameter memory: after a change through the
// SynthDevice in the stretch the view shows, wherever it came from, the
// view's refresh runs once the events waiting before it are handled, however
// many changes came meanwhile (a fader drag refreshes once a turn of the
// event loop, not once a step). The refresh waits behind every other posted
// event, so an edit waiting to be sent is never held up by a redraw.
//
// Thread: the user-interface thread only.

#include <QObject>

#include <functional>

#include "synth/SynthDevice.h"

namespace cs6 {

class MemoryWatch : public QObject {
public:
    // shown says where the view looks now.
    MemoryWatch(SynthDevice& device, std::function<MemoryRegion()> shown, std::function<void()> refresh);

protected:
    void customEvent(QEvent* event) override;

private:
    void OnChange(MemoryRegion changed);

    std::function<MemoryRegion()> shown_;
    std::function<void()> refresh_;
    bool pending_ = false;
    SynthDevice::Subscription subscription_;
};

} // namespace cs6
