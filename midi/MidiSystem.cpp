#include "midi/MidiSystem.h"

#include "framework/UserMessage.h"
#include "midi/JackDriver.h"
#include "midi/RtMidiDriver.h"

namespace cs6 {

std::vector<MidiPortInfo> inputPorts;
std::vector<MidiPortInfo> outputPorts;
std::unique_ptr<MidiSystem> midiSystem;

MidiSystem::MidiSystem(MidiSystemConfig config)
{
    if (!config.inProcessPeers.empty()) {
        auto inProcess = std::make_unique<InProcessDriver>();
        for (auto& [name, peer] : config.inProcessPeers)
            inProcess->AddPeer(name, peer);
        drivers_.push_back(std::move(inProcess));
    }
    if (config.useAlsa) {
        auto alsa = std::make_unique<RtMidiDriver>(RtMidi::LINUX_ALSA, config.clientName, "alsa", "ALSA");
        if (alsa->Available())
            drivers_.push_back(std::move(alsa));
    }
    if (config.useJack) {
        // Without a server now the driver still stays: it connects when one runs.
        auto jack = std::make_unique<JackDriver>(config.clientName);
        jack_ = jack.get();
        drivers_.push_back(std::move(jack));
    }
    for (auto& driver : config.extraDrivers)
        drivers_.push_back(std::move(driver));
    if (drivers_.empty())
        ShowMessageBox("nono1");
}

MidiSystem::~MidiSystem() = default;

std::vector<DriverPortInfo> MidiSystem::ListPorts()
{
    std::vector<DriverPortInfo> ports;
    for (const auto& driver : drivers_) {
        auto listed = driver->ListPorts();
        ports.insert(ports.end(), listed.begin(), listed.end());
    }
    return ports;
}

void MidiSystem::OpenPort(MidiPort& port, PortDirection direction)
{
    for (const auto& driver : drivers_) {
        port.port_ = driver->Open(port.portGuid_, direction);
        if (port.port_)
            break;
    }
    if (!port.port_)
        throw PyxMidiPortException{};
    if (!port.port_->Activate(true)) {
        port.port_.reset();
        throw PyxMidiPortException{};
    }
    if (!port.port_->LatencyClock()) {
        (void)port.port_->Activate(false);
        port.port_.reset();
        throw PyxMidiPortException{};
    }
}

std::unique_ptr<MidiInputPort> MidiSystem::CreateInputPort(const QUuid& guid, std::uint32_t maxMessageBytes)
{
    auto port = std::make_unique<MidiInputPort>(guid, maxMessageBytes);
    OpenPort(*port, PortDirection::Input);
    return port;
}

std::unique_ptr<MidiPort> MidiSystem::CreateOutputPort(const QUuid& guid, std::uint32_t maxMessageBytes)
{
    auto port = std::make_unique<MidiPort>(guid, maxMessageBytes);
    OpenPort(*port, PortDirection::Output);
    return port;
}

void EnumerateMidiPorts()
{
    if (!midiSystem)
        return;
    for (const auto& port : midiSystem->ListPorts()) {
        auto& list = port.direction == PortDirection::Input ? inputPorts : outputPorts;
        list.push_back({port.guid, port.description});
    }
}

} // namespace cs6
