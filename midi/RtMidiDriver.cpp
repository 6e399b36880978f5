#include "midi/RtMidiDriver.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

#include "midi/LockedInputQueue.h"
#include "midi/PortGuid.h"

namespace cs6 {
namespace {

// Collects RtMidi's warnings and errors instead of letting them reach
// standard error; an error marks the call that caused it as failed.
class ErrorLog {
public:
    static void Callback(RtMidiError::Type type, const std::string& text, void* self)
    {
        static_cast<ErrorLog*>(self)->Add(type, text);
    }

    void Add(RtMidiError::Type type, const std::string& text)
    {
        std::lock_guard lock(mutex_);
        if (type == RtMidiError::WARNING)
            warned_ = true;
        else if (type != RtMidiError::DEBUG_WARNING)
            failed_ = true;
        messages_.push_back(text);
    }

    // True when an error, or with warnings set also a warning, was recorded
    // since the last call.
    bool TakeFailure(bool warnings = false)
    {
        std::lock_guard lock(mutex_);
        const bool failed = failed_ || (warnings && warned_);
        failed_ = warned_ = false;
        return failed;
    }

    std::vector<std::string> Messages() const
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    mutable std::mutex mutex_;
    bool failed_ = false;
    bool warned_ = false;
    std::vector<std::string> messages_;
};

// RtMidi's ports of one direction in its order (the index is its port
// number) with their names and GUIDs. Listing and opening both go by this, so
// they agree on which of two identical devices a GUID means.
std::vector<std::pair<std::string, QUuid>> ListedPorts(RtMidi& midi, std::string_view kind)
{
    std::vector<std::pair<std::string, QUuid>> ports;
    std::map<std::string, int> seen;
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        std::string reported = midi.getPortName(i);
        const std::string name = StripAlsaClientPort(reported);
        const QUuid guid = PortGuid(kind, name, seen[name]++);
        ports.emplace_back(std::move(reported), guid);
    }
    return ports;
}

class RtMidiInputPort : public DriverPort {
public:
    RtMidiInputPort(RtMidi::Api api, const std::string& clientName) : midi_(api, clientName)
    {
        midi_.setErrorCallback(&ErrorLog::Callback, &errors_);
        midi_.ignoreTypes(false, true, true); // keep SysEx; timing clock and active sensing carry nothing for us
        midi_.setCallback(&RtMidiInputPort::Callback, this);
    }

    ~RtMidiInputPort() override
    {
        // Stop RtMidi's thread before the queue it writes to goes away.
        midi_.closePort();
        midi_.cancelCallback();
    }

    bool OpenAt(unsigned index)
    {
        midi_.openPort(index, "midi_in");
        return !errors_.TakeFailure() && midi_.isPortOpen();
    }

    bool OpenVirtual(const std::string& name)
    {
        midi_.openVirtualPort(name);
        return !errors_.TakeFailure();
    }

    bool Activate(bool active) override
    {
        active_.store(active);
        return true;
    }
    std::size_t MaxMessageBytes() const override { return 0x100000; }
    ReadEvent* ReadNotification() override { return queue_.Notification(); }
    bool Read(std::vector<TimedEvent>& events) override { return queue_.Drain(events); }

private:
    static void Callback(double, std::vector<unsigned char>* message, void* self)
    {
        auto* port = static_cast<RtMidiInputPort*>(self);
        if (message && !message->empty() && port->active_.load())
            port->queue_.Push(ReferenceNow(), *message);
    }

    ErrorLog errors_;
    LockedInputQueue queue_;
    std::atomic<bool> active_{false};
    RtMidiIn midi_; // last, so it is closed before the members its callback uses
};

class RtMidiOutputPort : public DriverPort {
public:
    RtMidiOutputPort(RtMidi::Api api, const std::string& clientName) : midi_(api, clientName)
    {
        midi_.setErrorCallback(&ErrorLog::Callback, &errors_);
    }

    bool OpenAt(unsigned index)
    {
        midi_.openPort(index, "midi_out");
        return !errors_.TakeFailure() && midi_.isPortOpen();
    }

    bool OpenVirtual(const std::string& name)
    {
        midi_.openVirtualPort(name);
        return !errors_.TakeFailure();
    }

    bool Activate(bool active) override
    {
        active_ = active;
        return true;
    }
    std::size_t MaxMessageBytes() const override { return 0x100000; }

    DriverSendResult Send(std::span<const std::uint8_t> message, ReferenceTime) override
    {
        if (message.size() > MaxMessageBytes())
            return DriverSendResult::TooLarge;
        if (!active_)
            return DriverSendResult::Sent;
        midi_.sendMessage(message.data(), message.size());
        // RtMidi reports a message the sequencer would not take ("error
        // sending MIDI message to port") as a mere warning, and the port stays
        // "open" after it. Any report means the message was lost: the port is
        // not used again, so a bulk fails once, not once per message.
        if (errors_.TakeFailure(true)) {
            gone_ = true;
            return DriverSendResult::PortGone;
        }
        return DriverSendResult::Sent;
    }

    bool Gone() const override { return gone_; }

private:
    ErrorLog errors_;
    bool active_ = false;
    bool gone_ = false;
    RtMidiOut midi_;
};

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// RtMidi prints to standard error before it throws when it cannot open the
// sequencer, and libasound prints too; ask quietly first.
bool AlsaSequencerPresent()
{
    snd_lib_error_set_handler(&QuietAlsa);
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
        return false;
    snd_seq_close(sequencer);
    return true;
}

} // namespace

struct RtMidiDriver::Enumerators {
    Enumerators(RtMidi::Api api, const std::string& clientName) : input(api, clientName), output(api, clientName)
    {
        input.setErrorCallback(&ErrorLog::Callback, &errors);
        output.setErrorCallback(&ErrorLog::Callback, &errors);
    }
    ErrorLog errors;
    RtMidiIn input;
    RtMidiOut output;
    std::vector<std::string> diagnostics;
};

RtMidiDriver::RtMidiDriver(RtMidi::Api api, std::string clientName, std::string kind, std::string label)
    : api_(api), clientName_(std::move(clientName)), kind_(std::move(kind)), label_(std::move(label))
{
    if (api_ == RtMidi::LINUX_ALSA && !AlsaSequencerPresent())
        return;
    try {
        enumerators_ = std::make_unique<Enumerators>(api_, clientName_);
        available_ = true;
    } catch (const RtMidiError&) {
        // No sequencer (or no server) behind this API: no ports of this kind.
        available_ = false;
    }
}

RtMidiDriver::~RtMidiDriver() = default;

const std::vector<std::string>& RtMidiDriver::Diagnostics() const
{
    static const std::vector<std::string> none;
    if (!enumerators_)
        return none;
    enumerators_->diagnostics = enumerators_->errors.Messages();
    return enumerators_->diagnostics;
}

std::vector<DriverPortInfo> RtMidiDriver::ListPorts()
{
    std::vector<DriverPortInfo> ports;
    if (!available_)
        return ports;
    auto add = [&](RtMidi& midi, PortDirection direction) {
        for (const auto& [reported, guid] : ListedPorts(midi, kind_)) {
            const std::string name = StripAlsaClientPort(reported);
            // "CS6x:CS6x Port 1" is shown as "CS6x Port 1 (ALSA)".
            const auto colon = name.find(':');
            const std::string shown = colon == std::string::npos ? name : name.substr(colon + 1);
            ports.push_back({guid, reported, shown + " (" + label_ + ")", direction});
        }
    };
    add(enumerators_->input, PortDirection::Input);
    add(enumerators_->output, PortDirection::Output);
    return ports;
}

std::unique_ptr<DriverPort> RtMidiDriver::OpenVirtual(PortDirection direction, const std::string& portName)
{
    if (!available_)
        return nullptr;
    try {
        if (direction == PortDirection::Input) {
            auto port = std::make_unique<RtMidiInputPort>(api_, clientName_);
            return port->OpenVirtual(portName) ? std::move(port) : nullptr;
        }
        auto port = std::make_unique<RtMidiOutputPort>(api_, clientName_);
        return port->OpenVirtual(portName) ? std::move(port) : nullptr;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

std::unique_ptr<DriverPort> RtMidiDriver::Open(const QUuid& guid, PortDirection direction)
{
    if (!available_)
        return nullptr;
    try {
        // Port numbers shift as devices come and go: find the GUID's index now.
        const bool input = direction == PortDirection::Input;
        const auto ports = input ? ListedPorts(enumerators_->input, kind_) : ListedPorts(enumerators_->output, kind_);
        for (unsigned index = 0; index < ports.size(); ++index) {
            if (ports[index].second != guid)
                continue;
            if (input) {
                auto port = std::make_unique<RtMidiInputPort>(api_, clientName_);
                return port->OpenAt(index) ? std::move(port) : nullptr;
            }
            auto port = std::make_unique<RtMidiOutputPort>(api_, clientName_);
            return port->OpenAt(index) ? std::move(port) : nullptr;
        }
    } catch (const RtMidiError&) {
        // Creating the port's own client failed: the port cannot be opened.
    }
    return nullptr;
}

} // namespace cs6
