#include "midi/DriverList.h"

#include "midi/JackDriver.h"
#include "midi/PortGuid.h"
#include "midi/RtMidiDriver.h"

namespace cs6 {

DriverFactory InProcessPorts(InProcessPeers peers)
{
    return [peers = std::move(peers)]() -> std::unique_ptr<MidiDriver> {
        if (peers.empty())
            return nullptr;
        auto driver = std::make_unique<InProcessDriver>();
        for (const auto& [name, peer] : peers)
            driver->AddPeer(name, peer);
        return driver;
    };
}

DriverFactory AlsaSequencer(std::string clientName)
{
    return [clientName = std::move(clientName)]() -> std::unique_ptr<MidiDriver> {
        auto driver = std::make_unique<RtMidiDriver>(RtMidi::LINUX_ALSA, clientName, std::string(kAlsaKind), "ALSA");
        if (!driver->Available())
            return nullptr;
        return driver;
    };
}

DriverFactory JackMidi(std::string clientName)
{
    return [clientName = std::move(clientName)] { return std::make_unique<JackDriver>(clientName); };
}

std::vector<DriverFactory> StandardDrivers(InProcessPeers peers, const std::string& clientName)
{
    return {InProcessPorts(std::move(peers)), AlsaSequencer(clientName), JackMidi(clientName)};
}

} // namespace cs6
