#include "framework/PostedMessage.h"

#include <QCoreApplication>

namespace cs6 {

PostedMessageEvent::PostedMessageEvent(unsigned message, quintptr wParam, qintptr lParam)
    : QEvent(Type()), message_(message), wParam_(wParam), lParam_(lParam)
{
}

QEvent::Type PostedMessageEvent::Type()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostUserMessage(QObject* target, unsigned message, quintptr wParam, qintptr lParam)
{
    if (!target)
        return;
    // The event queue takes ownership of the event.
    QCoreApplication::postEvent(target, new PostedMessageEvent(message, wParam, lParam));
}

} // namespace cs6
