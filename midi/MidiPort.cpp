#include "midi/MidiPort.h"

#include <pthread.h>
#include <sched.h>

#include "framework/UserMessage.h"

namespace cs6 {
namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Time-critical where the system allows it; normal priority otherwise.
void RaiseReceivePriority()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    (void)pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

} // namespace

std::optional<std::vector<std::uint8_t>> ParseHexString(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', at), text.size());
        std::string_view token = text.substr(at, end - at);
        at = end;
        // Like "%X": leading white space (a tab belongs to the token), an optional 0x prefix, then digits up to the first other
        // character; only the low 8 bits are kept.
        while (!token.empty() && (token[0] == '\t' || token[0] == '\n' || token[0] == '\r' || token[0] == '\v' ||
                                  token[0] == '\f'))
            token.remove_prefix(1);
        if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
            token.remove_prefix(2);
        unsigned value = 0;
        std::size_t digits = 0;
        while (digits < token.size() && HexDigit(token[digits]) >= 0)
            value = (value << 4 | static_cast<unsigned>(HexDigit(token[digits++]))) & 0xFF;
        if (digits == 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

MidiPort::MidiPort(QUuid guid, std::unique_ptr<DriverPort> port, std::uint32_t maxMessageBytes)
    : port_(std::move(port)), portGuid_(guid), maxMessageBytes_(maxMessageBytes)
{
}

MidiPort::~MidiPort() = default;

bool MidiPort::Activate(bool active) { return port_->Activate(active); }

bool MidiPort::Gone() const { return failed_ || port_->Gone(); }

SendOutcome MidiPort::SendMidiMessage(std::span<const std::uint8_t> message, std::uint32_t)
{
    // A port that failed was reported then; whatever is still sent to it
    // (the rest of a bulk, the start-up sequence) fails quietly.
    if (failed_)
        return SendOutcome::Failed;
    ReferenceTime now = ReferenceNow();
    if (const auto clock = port_->LatencyClock())
        now = *clock;
    else if (!port_->Gone()) // a vanished port says so once, with "C"
        ShowMessageBox("A");

    const std::size_t limit = std::min<std::size_t>(maxMessageBytes_, port_->MaxMessageBytes());
    if (message.empty() || message.size() > limit) {
        ShowMessageBox("B");
        return SendOutcome::Refused;
    }
    switch (port_->Send(message, now)) {
    case DriverSendResult::Sent:
        return SendOutcome::Sent;
    case DriverSendResult::TooLarge:
        ShowMessageBox("B");
        return SendOutcome::Refused;
    case DriverSendResult::PortGone:
        // Whatever the driver itself remembers: a port that failed this way
        // counts as gone, so a bulk shows one failure, not one per message.
        failed_ = true;
        ShowMessageBox("C");
        return SendOutcome::Failed;
    case DriverSendResult::QueueFull:
        ShowMessageBox("C");
        return SendOutcome::Failed;
    }
    return SendOutcome::Failed;
}

SendOutcome MidiPort::SendHexString(std::string_view text, std::uint32_t channelGroup)
{
    const auto bytes = ParseHexString(text);
    if (!bytes)
        return SendOutcome::Refused;
    return SendMidiMessage(*bytes, channelGroup);
}

MidiInputPort::~MidiInputPort()
{
    if (Receiving())
        StopReceiving();
}

void MidiInputPort::StartReceiving(MidiInputHandler* handler)
{
    handler_ = handler;
    readEvent_ = Driver().ReadNotification();
    if (!readEvent_) {
        ShowMessageBox("nono7");
        readEvent_ = &ownEvent_;
    }
    stopRequested_ = false;
    // Counted as receiving only once the thread runs: a waiter must never
    // wait on a thread that failed to start.
    thread_ = std::thread(&MidiInputPort::ReceiveThreadMain, this);
    if (handler_)
        handler_->OnReceivingStarted();
}

void MidiInputPort::StopReceiving()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(lock_);
        stopRequested_ = true;
    }
    readEvent_->Signal();
    thread_.join();
    if (handler_)
        handler_->OnReceivingStopped();
    stopRequested_ = false;
}

void MidiInputPort::ReceiveThreadMain()
{
    RaiseReceivePriority();
    // The idle clock restarts at every timeout, at every SysEx message and
    // when a requester arms (the handler says so at the timeout), not at other
    // input: a steady stream of real-time or channel messages must not keep a
    // requester waiting for replies that never come.
    auto idleSince = std::chrono::steady_clock::now();
    std::vector<TimedEvent> events;
    for (;;) {
        const auto timeout = std::chrono::milliseconds(handler_ ? handler_->idleTimeoutMs.load() : 2000);
        if (!readEvent_->WaitUntil(idleSince + timeout))
            idleSince = handler_ ? handler_->OnIdleTimeout(idleSince) : std::chrono::steady_clock::now();
        {
            std::lock_guard lock(lock_);
            if (stopRequested_)
                return;
        }
        // Read after every wake, after a timeout too, so input is picked up
        // even by a driver that cannot notify.
        while (Driver().Read(events)) {
            for (const auto& event : events) {
                if (!handler_ || event.bytes.empty())
                    continue;
                if (event.bytes[0] == 0xF0) {
                    handler_->OnSysEx(event.time, 0, event.bytes);
                    idleSince = std::chrono::steady_clock::now();
                } else {
                    handler_->OnShortMessage(event.time, 0, event.bytes);
                }
            }
            events.clear();
        }
    }
}

} // namespace cs6
