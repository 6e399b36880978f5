#pragma once
// A call posted to a QObject as an event: it waits in the event queue and
// runs on the object's thread when the loop reaches it, never at once. This
// is how notifications travel here (a fader's step, a message from the
// instrument, the name field's change): as typed calls of their receiver,
// queued. The receiver runs them from customEvent (TemplateDialog does,
// holding them while one of its handlers is busy); a receiver that is gone
// takes its queued calls with it. A call only ever touches its receiver.
//
// Thread: PostCall may be called from any thread (it only posts).

#include <QEvent>
#include <QObject>

#include <functional>

namespace cs6 {

class PostedCall : public QEvent {
public:
    explicit PostedCall(std::function<void()> call);

    // The one event type all posted calls share.
    static QEvent::Type Type();

    void Run() const { call_(); }
    const std::function<void()>& Call() const { return call_; }

private:
    std::function<void()> call_;
};

// Queues call for target; ignored when target is null.
void PostCall(QObject* target, std::function<void()> call, Qt::EventPriority priority = Qt::NormalEventPriority);

} // namespace cs6
