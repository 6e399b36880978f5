#include "midi/JackDriver.h"

#include <jack/jack.h>
#include <jack/midiport.h>

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

    explicit Client(jack_client_t* handle) : handle_(handle), incoming_(kRingBytes), outgoing_(kRingBytes) {}

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

    std::string OwnName(PortDirection direction) const
    {
        return jack_port_name(direction == PortDirection::Input ? input_ : output_);
    }

    // The most a message may hold: what fits in one port buffer with room for
    // JACK's own bookkeeping. Read once, while the server is surely there.
    std::size_t MaxMessageBytes() const { return maxMessageBytes_; }

    DriverSendResult Send(std::span<const std::uint8_t> message, ReferenceTime when)
    {
        if (gone_.load())
            return DriverSendResult::PortGone;
        if (message.empty() || message.size() > MaxMessageBytes())
            return DriverSendResult::TooLarge;
        std::lock_guard lock(sendMutex_);
        const RecordHeader header{static_cast<std::uint32_t>(message.size()), when};
        return outgoing_.Write(header, message) ? DriverSendResult::Sent : DriverSendResult::QueueFull;
    }

    bool Read(std::vector<TimedEvent>& events)
    {
        bool any = false;
        RecordHeader header{};
        while (incoming_.Peek(header)) {
            TimedEvent event{header.time, std::vector<std::uint8_t>(header.length)};
            incoming_.Take<RecordHeader>(header.length, event.bytes.data());
            events.push_back(std::move(event));
            any = true;
        }
        return any;
    }

    void SetInputActive(bool active) { inputActive_.store(active); }
    ReadEvent* Notification() { return &notification_; }

private:
    bool Start()
    {
        input_ = jack_port_register(handle_, kInputName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        output_ = jack_port_register(handle_, kOutputName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        if (!input_ || !output_)
            return false;
        const std::size_t buffer = jack_port_type_get_buffer_size(handle_, JACK_DEFAULT_MIDI_TYPE);
        maxMessageBytes_ = buffer > 256 ? buffer - 256 : 0;
        jack_set_process_callback(handle_, &Client::ProcessThunk, this);
        jack_on_shutdown(handle_, &Client::ShutdownThunk, this);
        return jack_activate(handle_) == 0;
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
        client->notification_.Signal();
    }

    // JACK's real-time thread: no locks, no allocation.
    void Process(jack_nframes_t frames)
    {
        void* in = jack_port_get_buffer(input_, frames);
        const jack_nframes_t count = jack_midi_get_event_count(in);
        bool received = false;
        if (inputActive_.load()) {
            const ReferenceTime now = ReferenceNow();
            for (jack_nframes_t i = 0; i < count; ++i) {
                jack_midi_event_t event;
                if (jack_midi_event_get(&event, in, i) != 0 || event.size == 0)
                    continue;
                const RecordHeader header{static_cast<std::uint32_t>(event.size), now};
                received |= incoming_.Write(header, std::span<const std::uint8_t>(event.buffer, event.size));
            }
        }
        if (received)
            notification_.Signal();

        void* out = jack_port_get_buffer(output_, frames);
        jack_midi_clear_buffer(out);
        RecordHeader header{};
        while (outgoing_.Peek(header)) {
            jack_midi_data_t* target = jack_midi_event_reserve(out, 0, header.length);
            if (!target)
                break; // the buffer is full this cycle; the rest goes in the next
            outgoing_.Take<RecordHeader>(header.length, target);
        }
    }

    jack_client_t* handle_;
    jack_port_t* input_ = nullptr;
    jack_port_t* output_ = nullptr;
    ByteRing incoming_;
    ByteRing outgoing_;
    std::mutex sendMutex_;
    std::size_t maxMessageBytes_ = 0;
    std::atomic<bool> gone_{false};
    std::atomic<bool> inputActive_{false};
    ReadEvent notification_;
};

class JackDriver::Port : public DriverPort {
public:
    Port(std::shared_ptr<Client> client, std::string target, PortDirection direction)
        : client_(std::move(client)), target_(std::move(target)), direction_(direction)
    {
    }

    ~Port() override
    {
        if (active_)
            (void)Activate(false);
    }

    bool Activate(bool active) override
    {
        if (active == active_)
            return true;
        if (!client_->Alive()) {
            active_ = false;
            return !active;
        }
        if (target_.empty()) {
            // One of our own ports, left for others to connect to.
            if (direction_ == PortDirection::Input)
                client_->SetInputActive(active);
            active_ = active;
            return true;
        }
        const std::string own = client_->OwnName(direction_);
        const bool input = direction_ == PortDirection::Input;
        const char* source = input ? target_.c_str() : own.c_str();
        const char* destination = input ? own.c_str() : target_.c_str();
        if (active) {
            const int result = jack_connect(client_->Handle(), source, destination);
            if (result != 0 && result != EEXIST)
                return false;
        } else {
            jack_disconnect(client_->Handle(), source, destination);
        }
        if (input)
            client_->SetInputActive(active);
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
        if (direction_ != PortDirection::Output)
            return DriverSendResult::PortGone;
        return client_->Send(message, when);
    }

    ReadEvent* ReadNotification() override
    {
        return direction_ == PortDirection::Input ? client_->Notification() : nullptr;
    }

    bool Read(std::vector<TimedEvent>& events) override
    {
        return direction_ == PortDirection::Input && client_->Read(events);
    }

    bool Gone() const override { return !client_->Alive(); }

private:
    std::shared_ptr<Client> client_;
    std::string target_;
    PortDirection direction_;
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
    if (!client)
        return nullptr;
    return std::make_unique<Port>(client, std::string(), direction);
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
        return std::make_unique<Port>(client, port.name, direction);
    }
    return nullptr;
}

} // namespace cs6
