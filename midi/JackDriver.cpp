#include "midi/JackDriver.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>

#include "midi/ByteRing.h"
#include "midi/PortGuid.h"

namespace cs6 {
namespace {

constexpr std::size_t kRingBytes = 1 << 20;
constexpr const char* kInputName = "midi_in";
constexpr const char* kOutputName = "midi_out";

// Ring records: the message's length and time stamp, then its bytes.
struct RecordHeader {
    std::uint32_t length;
    ReferenceTime time;
};

} // namespace

// One JACK port of ours and the ring that carries its messages to or from the
// process callback. Every opened port has one of its own, so two inputs never
// share a stream and a send goes only where its port is connected.
struct JackDriver::Channel {
    Channel(jack_port_t* jackPort, PortDirection dir) : port(jackPort), direction(dir), ring(kRingBytes) {}

    jack_port_t* const port;
    const PortDirection direction;
    ByteRing ring;                      // inputs: what arrived; outputs: what is to go
    std::mutex sendMutex;               // outputs: one writer of the ring at a time
    std::atomic<bool> receiving{false}; // inputs: keep what arrives
    ReadEvent notification;             // inputs: signalled when something arrived
    bool taken = false;                 // user-interface thread: an open port uses it
    std::uint64_t retiredAt = 0;        // user-interface thread: the cycle it was unpublished in
};

class JackDriver::Client {
public:
    static std::shared_ptr<Client> Create(const std::string& name)
    {
        jack_status_t status{};
        jack_client_t* handle = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (!handle)
            return nullptr;
        auto client = std::make_shared<Client>(handle);
        if (!client->Start())
            return nullptr;
        return client;
    }

    explicit Client(jack_client_t* handle) : handle_(handle) {}

    ~Client()
    {
        // libjack crashes when it closes a client whose server has died (in
        // jack_deactivate and in jack_client_close alike), so such a client is
        // abandoned: a few kilobytes once per server crash.
        if (!Alive())
            return;
        jack_deactivate(handle_);
        jack_client_close(handle_);
    }

    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Alive() const { return !gone_.load(); }
    jack_client_t* Handle() const { return handle_; }

    // The first port of each direction, "midi_in" or "midi_out": registered
    // with the client and kept while it lives, so others can connect to it
    // before we open it.
    std::string OwnName(PortDirection direction) const
    {
        return jack_port_name(channels_[direction == PortDirection::Input ? 0 : 1]->port);
    }

    // A channel of this direction for an opened port: the first one while it
    // is free, else a new port "midi_in_2", "midi_in_3", ... Null when the
    // server is gone or refuses another port.
    Channel* Take(PortDirection direction)
    {
        Reclaim();
        if (!Alive())
            return nullptr;
        Channel* first = channels_[direction == PortDirection::Input ? 0 : 1].get();
        if (!first->taken) {
            // What came in after its last port stopped reading is not for
            // this one; nobody reads or writes an input's ring meanwhile.
            std::vector<TimedEvent> stale;
            if (direction == PortDirection::Input)
                (void)Read(*first, stale);
            first->taken = true;
            return first;
        }
        const auto slot = std::find(slots_.begin(), slots_.end(), nullptr);
        if (slot == slots_.end())
            return nullptr;
        const char* base = direction == PortDirection::Input ? kInputName : kOutputName;
        for (int number = 2;; ++number) {
            const std::string name = std::string(base) + "_" + std::to_string(number);
            if (!jack_port_by_name(handle_, (std::string(jack_get_client_name(handle_)) + ":" + name).c_str())) {
                Channel* channel = Register(name.c_str(), direction);
                if (!channel)
                    return nullptr;
                channel->taken = true;
                slot->store(channel);
                return channel;
            }
        }
    }

    // Gives a channel back. The first ones stay; the others are withdrawn
    // from the process callback now and unregistered once the cycle that may
    // still be using them has ended.
    void Give(Channel* channel)
    {
        channel->taken = false;
        channel->receiving.store(false);
        if (channel == channels_[0].get() || channel == channels_[1].get())
            return;
        std::replace(slots_.begin(), slots_.end(), channel, static_cast<Channel*>(nullptr));
        channel->retiredAt = cyclesStarted_.load();
        Reclaim();
    }

    // The most a message may hold: what fits in one port buffer with room for
    // JACK's own bookkeeping. Read once, while the server is surely there.
    std::size_t MaxMessageBytes() const { return maxMessageBytes_; }

    DriverSendResult Send(Channel& channel, std::span<const std::uint8_t> message, ReferenceTime when)
    {
        if (gone_.load())
            return DriverSendResult::PortGone;
        if (message.empty() || message.size() > MaxMessageBytes())
            return DriverSendResult::TooLarge;
        std::lock_guard lock(channel.sendMutex);
        const RecordHeader header{static_cast<std::uint32_t>(message.size()), when};
        return channel.ring.Write(header, message) ? DriverSendResult::Sent : DriverSendResult::QueueFull;
    }

    static bool Read(Channel& channel, std::vector<TimedEvent>& events)
    {
        bool any = false;
        RecordHeader header{};
        while (channel.ring.Peek(header)) {
            TimedEvent event{header.time, std::vector<std::uint8_t>(header.length)};
            channel.ring.Take<RecordHeader>(header.length, event.bytes.data());
            events.push_back(std::move(event));
            any = true;
        }
        return any;
    }

    // Signalled, besides the arrival of input, when the server goes away.
    ReadEvent* Notification(Channel& channel) { return &channel.notification; }

private:
    // Room for the ports that may be open at once: one per port of the server
    // when every port is tried in turn.
    static constexpr std::size_t kSlots = 256;

    bool Start()
    {
        if (!Register(kInputName, PortDirection::Input) || !Register(kOutputName, PortDirection::Output))
            return false;
        slots_[0].store(channels_[0].get());
        slots_[1].store(channels_[1].get());
        const std::size_t buffer = jack_port_type_get_buffer_size(handle_, JACK_DEFAULT_MIDI_TYPE);
        maxMessageBytes_ = buffer > 256 ? buffer - 256 : 0;
        jack_set_process_callback(handle_, &Client::ProcessThunk, this);
        jack_on_shutdown(handle_, &Client::ShutdownThunk, this);
        return jack_activate(handle_) == 0;
    }

    Channel* Register(const char* name, PortDirection direction)
    {
        const unsigned long flags = direction == PortDirection::Input ? JackPortIsInput : JackPortIsOutput;
        jack_port_t* port = jack_port_register(handle_, name, JACK_DEFAULT_MIDI_TYPE, flags, 0);
        if (!port)
            return nullptr;
        channels_.push_back(std::make_unique<Channel>(port, direction));
        return channels_.back().get();
    }

    // Unregisters and frees the given-back channels no process cycle can
    // still be using: every cycle that began before they were withdrawn has
    // ended. Nothing is freed once the server is gone.
    void Reclaim()
    {
        if (!Alive())
            return;
        const std::uint64_t ended = cyclesEnded_.load();
        const Channel* firstInput = channels_[0].get();
        const Channel* firstOutput = channels_[1].get();
        std::erase_if(channels_, [&](const std::unique_ptr<Channel>& channel) {
            const bool first = channel.get() == firstInput || channel.get() == firstOutput;
            if (first || channel->taken || channel->retiredAt > ended)
                return false;
            jack_port_unregister(handle_, channel->port);
            return true;
        });
    }

    static int ProcessThunk(jack_nframes_t frames, void* self)
    {
        static_cast<Client*>(self)->Process(frames);
        return 0;
    }

    static void ShutdownThunk(void* self)
    {
        auto* client = static_cast<Client*>(self);
        client->gone_.store(true);
        for (const auto& slot : client->slots_)
            if (Channel* channel = slot.load())
                channel->notification.Signal();
    }

    // JACK's real-time thread: no locks, no allocation.
    void Process(jack_nframes_t frames)
    {
        cyclesStarted_.fetch_add(1);
        const ReferenceTime now = ReferenceNow();
        for (const auto& slot : slots_) {
            Channel* channel = slot.load();
            if (!channel)
                continue;
            void* buffer = jack_port_get_buffer(channel->port, frames);
            if (channel->direction == PortDirection::Input)
                TakeInput(*channel, buffer, now);
            else
                PutOutput(*channel, buffer);
        }
        cyclesEnded_.fetch_add(1);
    }

    static void TakeInput(Channel& channel, void* buffer, ReferenceTime now)
    {
        if (!channel.receiving.load())
            return;
        const jack_nframes_t count = jack_midi_get_event_count(buffer);
        bool received = false;
        for (jack_nframes_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0)
                continue;
            const RecordHeader header{static_cast<std::uint32_t>(event.size), now};
            received |= channel.ring.Write(header, std::span<const std::uint8_t>(event.buffer, event.size));
        }
        if (received)
            channel.notification.Signal();
    }

    static void PutOutput(Channel& channel, void* buffer)
    {
        jack_midi_clear_buffer(buffer);
        RecordHeader header{};
        while (channel.ring.Peek(header)) {
            jack_midi_data_t* target = jack_midi_event_reserve(buffer, 0, header.length);
            if (!target)
                break; // the buffer is full this cycle; the rest goes in the next
            channel.ring.Take<RecordHeader>(header.length, target);
        }
    }

    jack_client_t* handle_;
    // All channels, the first input and output first; the user-interface
    // thread's. The slots are what the process callback sees.
    std::vector<std::unique_ptr<Channel>> channels_;
    std::array<std::atomic<Channel*>, kSlots> slots_{};
    std::atomic<std::uint64_t> cyclesStarted_{0};
    std::atomic<std::uint64_t> cyclesEnded_{0};
    std::size_t maxMessageBytes_ = 0;
    std::atomic<bool> gone_{false};
};

class JackDriver::Port : public DriverPort {
public:
    Port(std::shared_ptr<Client> client, Channel* channel, std::string target)
        : client_(std::move(client)), channel_(channel), target_(std::move(target))
    {
    }

    ~Port() override
    {
        if (active_)
            (void)Activate(false);
        client_->Give(channel_);
    }

    bool Activate(bool active) override
    {
        if (active == active_)
            return true;
        if (!client_->Alive()) {
            active_ = false;
            return !active;
        }
        const bool input = channel_->direction == PortDirection::Input;
        if (!target_.empty()) {
            const std::string own = jack_port_name(channel_->port);
            const char* source = input ? target_.c_str() : own.c_str();
            const char* destination = input ? own.c_str() : target_.c_str();
            if (active) {
                const int result = jack_connect(client_->Handle(), source, destination);
                if (result != 0 && result != EEXIST)
                    return false;
            } else {
                jack_disconnect(client_->Handle(), source, destination);
            }
        } // else one of our own ports, left for others to connect to
        if (input)
            channel_->receiving.store(active);
        active_ = active;
        return true;
    }

    std::optional<ReferenceTime> LatencyClock() override
    {
        if (!client_->Alive())
            return std::nullopt;
        return ReferenceNow();
    }

    std::size_t MaxMessageBytes() const override { return client_->MaxMessageBytes(); }

    DriverSendResult Send(std::span<const std::uint8_t> message, ReferenceTime when) override
    {
        if (channel_->direction != PortDirection::Output)
            return DriverSendResult::PortGone;
        return client_->Send(*channel_, message, when);
    }

    ReadEvent* ReadNotification() override
    {
        return channel_->direction == PortDirection::Input ? client_->Notification(*channel_) : nullptr;
    }

    bool Read(std::vector<TimedEvent>& events) override
    {
        return channel_->direction == PortDirection::Input && Client::Read(*channel_, events);
    }

    bool Gone() const override { return !client_->Alive(); }

private:
    std::shared_ptr<Client> client_;
    Channel* channel_; // the client's, taken while this port lives
    std::string target_;
    bool active_ = false;
};

JackDriver::JackDriver(std::string clientName) : clientName_(std::move(clientName))
{
    // Do not let libjack print its complaints when no server runs: not having
    // one is normal on a desktop that uses ALSA.
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    EnsureClient();
}

JackDriver::~JackDriver() = default;

std::shared_ptr<JackDriver::Client> JackDriver::EnsureClient()
{
    if (client_ && !client_->Alive())
        client_.reset(); // ports still open on it keep it until they close
    if (!client_)
        client_ = Client::Create(clientName_);
    return client_;
}

bool JackDriver::Connect() { return EnsureClient() != nullptr; }

std::string JackDriver::OwnPortName(PortDirection direction) const
{
    return client_ ? client_->OwnName(direction) : std::string();
}

std::unique_ptr<DriverPort> JackDriver::OpenOwn(PortDirection direction)
{
    const auto client = EnsureClient();
    Channel* channel = client ? client->Take(direction) : nullptr;
    if (!channel)
        return nullptr;
    return std::make_unique<Port>(client, channel, std::string());
}

std::vector<DriverPortInfo> JackDriver::ListPorts()
{
    std::vector<DriverPortInfo> ports;
    const auto client = EnsureClient();
    if (!client)
        return ports;
    // Ports we read from are other clients' outputs, and the other way round.
    for (const auto direction : {PortDirection::Input, PortDirection::Output}) {
        const unsigned long flags = direction == PortDirection::Input ? JackPortIsOutput : JackPortIsInput;
        const char** names = jack_get_ports(client->Handle(), nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
        if (!names)
            continue;
        const std::string ownPrefix = std::string(jack_get_client_name(client->Handle())) + ":";
        for (const char** name = names; *name; ++name) {
            const std::string full = *name;
            if (full.rfind(ownPrefix, 0) == 0)
                continue;
            ports.push_back({PortGuid(kJackKind, full), full, full + " (JACK)", direction});
        }
        jack_free(names);
    }
    return ports;
}

std::unique_ptr<DriverPort> JackDriver::Open(const QUuid& guid, PortDirection direction)
{
    const auto client = EnsureClient();
    if (!client)
        return nullptr;
    for (const auto& port : ListPorts()) {
        if (port.guid != guid || port.direction != direction)
            continue;
        Channel* channel = client->Take(direction);
        if (!channel)
            return nullptr;
        return std::make_unique<Port>(client, channel, port.name);
    }
    return nullptr;
}

} // namespace cs6
