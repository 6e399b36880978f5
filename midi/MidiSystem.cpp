#include "midi/MidiSystem.h"

#include "framework/UserMessage.h"

namespace cs6 {

std::vector<MidiPortInfo> inputPorts;
std::vector<MidiPortInfo> outputPorts;
std::unique_ptr<MidiSystem> midiSystem;

MidiSystem::MidiSystem(MidiSystemConfig config)
{
    for (const auto& make : config.drivers)
        if (auto driver = make())
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

std::unique_ptr<DriverPort> MidiSystem::OpenActive(const QUuid& guid, PortDirection direction)
{
    std::unique_ptr<DriverPort> port;
    for (const auto& driver : drivers_)
        if ((port = driver->Open(guid, direction)))
            break;
    if (!port || !port->Activate(true))
        throw PyxMidiPortException{};
    if (!port->LatencyClock()) {
        (void)port->Activate(false);
        throw PyxMidiPortException{};
    }
    return port;
}

std::unique_ptr<MidiInputPort> MidiSystem::CreateInputPort(const QUuid& guid, std::uint32_t maxMessageBytes)
{
    return std::make_unique<MidiInputPort>(guid, OpenActive(guid, PortDirection::Input), maxMessageBytes);
}

std::unique_ptr<MidiPort> MidiSystem::CreateOutputPort(const QUuid& guid, std::uint32_t maxMessageBytes)
{
    return std::make_unique<MidiPort>(guid, OpenActive(guid, PortDirection::Output), maxMessageBytes);
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
