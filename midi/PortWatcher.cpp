#include "midi/PortWatcher.h"

#include <algorithm>

#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"

namespace cs6 {
namespace {

bool AnyChosen() { return midiSettings.inputEnabled || midiSettings.outputEnabled; }

// Every chosen port is open.
bool ConnectionOpen()
{
    return AnyChosen() && (!midiSettings.inputEnabled || inputOpen) && (!midiSettings.outputEnabled || outputOpen);
}

// Every chosen port is listed by the MIDI system now.
bool Listed()
{
    if (!midiSystem)
        return false;
    const auto ports = midiSystem->ListPorts();
    auto has = [&ports](const QUuid& guid, PortDirection direction) {
        return std::any_of(ports.begin(), ports.end(),
                           [&](const DriverPortInfo& port) { return port.guid == guid && port.direction == direction; });
    };
    return (!midiSettings.inputEnabled || has(midiSettings.inputPortGuid, PortDirection::Input)) &&
           (!midiSettings.outputEnabled || has(midiSettings.outputPortGuid, PortDirection::Output));
}

bool PortsWell()
{
    return ConnectionOpen() && !(inputOpen && inputPort->Gone()) && !(outputOpen && outputPort->Gone()) && Listed();
}

} // namespace

PortWatcher::PortWatcher(const ConnectionOutput& output, std::function<bool()> busy, std::chrono::milliseconds period,
                         QObject* parent)
    : QObject(parent), output_(output), busy_(std::move(busy))
{
    connect(&timer_, &QTimer::timeout, this, &PortWatcher::Check);
    timer_.start(period);
}

void PortWatcher::Check()
{
    if (busy_ && busy_())
        return;
    if (state_ != PortState::Gone) {
        if (PortsWell()) {
            sentAtLastGood_ = output_.Handed();
            Enter(PortState::Present, false);
        } else if (state_ == PortState::Present && AnyChosen()) {
            CloseMidiConnection();
            Enter(PortState::Gone, false);
        } else {
            Enter(PortState::Closed, false);
        }
        return;
    }
    if (!AnyChosen()) { // the user chose no ports meanwhile
        Enter(PortState::Closed, false);
        return;
    }
    // Reopened by the user in MIDI setup, or listed again: reopen them here.
    if (!ConnectionOpen() && Listed())
        OpenMidiConnection();
    if (!ConnectionOpen())
        return;
    const bool behind = output_.Handed() != sentAtLastGood_;
    sentAtLastGood_ = output_.Handed();
    Enter(PortState::Present, behind);
}

void PortWatcher::Enter(PortState state, bool behind)
{
    if (state == state_)
        return;
    state_ = state;
    emit StateChanged(state, behind);
}

} // namespace cs6
