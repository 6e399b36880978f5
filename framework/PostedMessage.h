#pragma once
// Posted user messages as Qt events. A window message of the original design
// (WM_USER+n with wParam and lParam) becomes a PostedMessageEvent posted to a
// QObject; it is always queued, never delivered synchronously, and the
// receiver handles it in customEvent() on its own thread.
//
// Thread: PostUserMessage may be called from any thread (it only posts).

#include <QEvent>
#include <QObject>
#include <QtGlobal>

namespace cs6 {

inline constexpr unsigned kWmUser = 0x0400;
inline constexpr unsigned kFaderDragMessage = kWmUser + 1;    // wParam: fader index
inline constexpr unsigned kFaderReleaseMessage = kWmUser + 2; // wParam: fader index
inline constexpr unsigned kShortMessageNotify = kWmUser + 3;  // wParam: status, lParam: data
inline constexpr unsigned kNameCommitMessage = kWmUser + 5;

class PostedMessageEvent : public QEvent {
public:
    PostedMessageEvent(unsigned message, quintptr wParam, qintptr lParam);

    // The one event type all posted user messages share.
    static QEvent::Type Type();

    unsigned Message() const { return message_; }
    quintptr WParam() const { return wParam_; }
    qintptr LParam() const { return lParam_; }

private:
    unsigned message_;
    quintptr wParam_;
    qintptr lParam_;
};

// Queues the message for target; ignored when target is null.
void PostUserMessage(QObject* target, unsigned message, quintptr wParam, qintptr lParam);

} // namespace cs6
