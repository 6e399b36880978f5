#include "editor/MemoryWatch.h"

#include <QCoreApplication>
#include <QEvent>

namespace cs6 {
namespace {

const QEvent::Type kRefreshEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

MemoryWatch::MemoryWatch(SynthDevice& device, std::function<MemoryRegion()> shown, std::function<void()> refresh)
    : shown_(std::move(shown)), refresh_(std::move(refresh)),
      subscription_(device.Subscribe([this](MemoryRegion changed) { OnChange(changed); }))
{
}

void MemoryWatch::OnChange(MemoryRegion changed)
{
    if (pending_ || !Overlap(changed, shown_()))
        return;
    pending_ = true;
    // The event queue owns the event; it goes with the watch.
    QCoreApplication::postEvent(this, new QEvent(kRefreshEvent), Qt::LowEventPriority);
}

void MemoryWatch::customEvent(QEvent* event)
{
    if (event->type() != kRefreshEvent) {
        QObject::customEvent(event);
        return;
    }
    pending_ = false;
    refresh_();
}

} // namespace cs6
