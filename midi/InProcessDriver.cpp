#include "midi/InProcessDriver.h"

#include "midi/LockedInputQueue.h"
#include "midi/PortGuid.h"

namespace cs6 {
namespace {
constexpr std::size_t kMaxMessageBytes = 0x100000;
} // namespace

// Routes a peer's messages to the input port that is open on it, if any. The
// lock makes closing the port wait for a delivery in progress, so the peer
// never calls into a port that is gone.
class InProcessDriver::Link {
public:
    void Deliver(std::span<const std::uint8_t> message)
    {
        std::lock_guard lock(mutex_);
        if (queue_)
            queue_->Push(ReferenceNow(), message);
    }

    void Attach(LockedInputQueue* queue)
    {
        std::lock_guard lock(mutex_);
        queue_ = queue;
    }

private:
    std::mutex mutex_;
    LockedInputQueue* queue_ = nullptr;
};

class InProcessDriver::InputPort : public DriverPort {
public:
    explicit InputPort(std::shared_ptr<Link> link) : link_(std::move(link)) {}
    ~InputPort() override { link_->Attach(nullptr); }

    bool Activate(bool active) override
    {
        link_->Attach(active ? &queue_ : nullptr);
        return true;
    }
    std::size_t MaxMessageBytes() const override { return kMaxMessageBytes; }
    ReadEvent* ReadNotification() override { return queue_.Notification(); }
    bool Read(std::vector<TimedEvent>& events) override { return queue_.Drain(events); }

private:
    std::shared_ptr<Link> link_;
    LockedInputQueue queue_;
};

class InProcessDriver::OutputPort : public DriverPort {
public:
    explicit OutputPort(std::shared_ptr<InProcessPeer> peer) : peer_(std::move(peer)) {}

    bool Activate(bool active) override
    {
        active_ = active;
        return true;
    }
    std::size_t MaxMessageBytes() const override { return kMaxMessageBytes; }
    DriverSendResult Send(std::span<const std::uint8_t> message, ReferenceTime) override
    {
        if (message.size() > kMaxMessageBytes)
            return DriverSendResult::TooLarge;
        if (active_)
            peer_->FromProgram(message);
        return DriverSendResult::Sent;
    }

private:
    std::shared_ptr<InProcessPeer> peer_;
    bool active_ = false;
};

InProcessDriver::InProcessDriver() = default;

InProcessDriver::~InProcessDriver()
{
    // Peers may outlive the driver; their transmit then leads nowhere.
    for (auto& entry : entries_)
        entry.link->Attach(nullptr);
}

void InProcessDriver::AddPeer(std::string portName, std::shared_ptr<InProcessPeer> peer)
{
    auto link = std::make_shared<Link>();
    peer->SetTransmit([link](std::span<const std::uint8_t> message) { link->Deliver(message); });
    const QUuid guid = PortGuid(kEmulatedKind, portName);
    entries_.push_back({std::move(portName), guid, std::move(peer), std::move(link)});
}

std::vector<DriverPortInfo> InProcessDriver::ListPorts()
{
    std::vector<DriverPortInfo> ports;
    for (const auto& entry : entries_)
        ports.push_back({entry.guid, entry.portName, entry.portName, PortDirection::Input});
    for (const auto& entry : entries_)
        ports.push_back({entry.guid, entry.portName, entry.portName, PortDirection::Output});
    return ports;
}

std::unique_ptr<DriverPort> InProcessDriver::Open(const QUuid& guid, PortDirection direction)
{
    for (const auto& entry : entries_) {
        if (entry.guid != guid)
            continue;
        if (direction == PortDirection::Input)
            return std::make_unique<InputPort>(entry.link);
        return std::make_unique<OutputPort>(entry.peer);
    }
    return nullptr;
}

} // namespace cs6
