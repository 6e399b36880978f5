#pragma once
// Watches the open MIDI connection for its ports going away (a USB cable
// pulled, the JACK server restarted) and reopens them by GUID when they are
// listed again, with the receive thread on the input as before.
//
// Once a second it looks at the ports: gone is a port whose driver says so or
// whose GUID the MIDI system no longer lists (an ALSA device that vanished
// keeps our port "open" and swallows what is sent). The connection is then
// closed, so that sends are dropped quietly rather than failing one by one,
// and StateChanged says Gone. While gone it lists the ports each second; when
// both GUIDs are back it reopens the connection and says Present, with
// "behind" set when anything was sent, or dropped, since the last check that
// found the ports well: such messages may not have reached the instrument.
//
// Nothing happens while busy() says so (a transfer in progress, a modal box
// open over the window): the ports are never replaced under a send.
//
// Thread: the user-interface thread; its timer runs there. It touches only
// the connection's globals, never a widget or the parameter memory.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

#include "midi/MidiConnection.h"

namespace cs6 {

// How often it looks: a look costs a port listing (tens of microseconds, see
// bench_port_watcher), and a second is soon enough for a cable plugged back.
inline constexpr std::chrono::milliseconds kPortWatchPeriod{1000};

enum class PortState {
    Closed,  // no connection to watch (no ports chosen, or they never opened)
    Present, // the chosen ports are open and listed
    Gone,    // they were open and went away; waiting for them to come back
};

class PortWatcher : public QObject {
    Q_OBJECT
public:
    // output: the connection's output, whose sends are counted.
    explicit PortWatcher(const ConnectionOutput& output, std::function<bool()> busy = {},
                         std::chrono::milliseconds period = kPortWatchPeriod, QObject* parent = nullptr);

    PortState State() const { return state_; }
    // One look at the ports, as the timer takes it.
    void Check();

signals:
    // Emitted on every change of State. behind: the ports are back, and
    // messages went out, or were dropped, while they may have been gone.
    void StateChanged(cs6::PortState state, bool behind);

private:
    void Enter(PortState state, bool behind);

    const ConnectionOutput& output_;
    std::function<bool()> busy_;
    QTimer timer_;
    PortState state_ = PortState::Closed;
    std::uint64_t sentAtLastGood_ = 0;
};

} // namespace cs6
