#pragma once
// An opened MIDI port, and the input port that receives on its own thread.
//
// Thread: everything on the user-interface thread; the receive thread runs
// ReceiveThreadMain and touches only the driver port's Read, the stop flag
// and the handler.

#include <QUuid>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "midi/MidiDriver.h"
#include "midi/MidiInputHandler.h"

namespace cs6 {

// Thrown by value when a port cannot be opened.
class PyxMidiPortException {};

enum class SendOutcome {
    Sent,
    Refused, // nothing was sent: the message was empty, too large or not hex text
    Failed,  // the driver failed; the user has been told
};

class MidiPort {
public:
    // Takes a driver port that is open and active; MidiSystem makes them.
    MidiPort(QUuid guid, std::unique_ptr<DriverPort> port, std::uint32_t maxMessageBytes);
    virtual ~MidiPort();
    MidiPort(const MidiPort&) = delete;
    MidiPort& operator=(const MidiPort&) = delete;

    // Sends one complete message (status byte first, SysEx from F0 to F7) at
    // once, stamped with the port's clock. Failures are shown in the message
    // boxes "A" (no clock), "B" (the message does not fit the port) and "C"
    // (the driver could not send it); the call never blocks.
    SendOutcome SendMidiMessage(std::span<const std::uint8_t> message, std::uint32_t channelGroup);

    // Sends hexadecimal text such as "B0 07 7F" as one message.
    SendOutcome SendHexString(std::string_view text, std::uint32_t channelGroup);

    bool Activate(bool active);
    // The port or its server has gone away, or a send failed for that reason;
    // it will not come back.
    bool Gone() const;
    const QUuid& PortGuid() const { return portGuid_; }

protected:
    DriverPort& Driver() const { return *port_; }

private:
    std::unique_ptr<DriverPort> port_; // never null
    QUuid portGuid_;
    std::uint32_t maxMessageBytes_;
    bool failed_ = false; // the driver reported the port gone on a send
};

class MidiInputPort : public MidiPort {
public:
    using MidiPort::MidiPort;
    ~MidiInputPort() override;

    // Starts the receive thread handing events to handler. "nono7" when the
    // driver cannot signal arriving input (the thread then polls once per
    // idle timeout). Throws std::system_error when the thread cannot start;
    // the handler is then not counted as receiving.
    void StartReceiving(MidiInputHandler* handler);
    // Returns after the receive thread has ended.
    void StopReceiving();
    bool Receiving() const { return thread_.joinable(); }

private:
    void ReceiveThreadMain();

    std::thread thread_;
    ReadEvent ownEvent_;           // waited on when the driver has no notification
    ReadEvent* readEvent_ = nullptr;
    MidiInputHandler* handler_ = nullptr;
    std::mutex lock_;              // guards stopRequested_
    bool stopRequested_ = false;
};

// Splits text at spaces and reads each token as a hexadecimal number, keeping
// its low 8 bits ("1B0" gives B0). Nothing when a token is not a hexadecimal
// number or there is no token.
std::optional<std::vector<std::uint8_t>> ParseHexString(std::string_view text);

} // namespace cs6
