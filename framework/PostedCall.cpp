#include "framework/PostedCall.h"

#include <QCoreApplication>

namespace cs6 {

PostedCall::PostedCall(std::function<void()> call) : QEvent(Type()), call_(std::move(call)) {}

QEvent::Type PostedCall::Type()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostCall(QObject* target, std::function<void()> call, Qt::EventPriority priority)
{
    if (!target)
        return;
    // The event queue takes ownership of the event.
    QCoreApplication::postEvent(target, new PostedCall(std::move(call)), priority);
}

} // namespace cs6
