#pragma once
// Port GUIDs that stay the same from run to run, so that "settings.dat" keeps
// naming the same port, derived the same way by every tool of the project:
// a name-based (version 5) UUID of "<kind>:<port name>" in our own namespace.

#include <QUuid>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cs6 {

inline constexpr std::string_view kAlsaKind = "alsa";
inline constexpr std::string_view kJackKind = "jack";
inline constexpr std::string_view kEmulatedKind = "emulated";

// GUID of a port: kind "alsa" (the name without its trailing client:port
// numbers), "jack" (the full "client:port" name) or "emulated".
// Two identical devices list under one name: occurrence tells them apart, the
// port's place among the equal names in the driver's listing order. The first
// (0) has the plain name's GUID, so a settings file written while there was
// only one still names it; later ones also hash their number.
QUuid PortGuid(std::string_view kind, std::string_view name, int occurrence = 0);

// ALSA port names as RtMidi reports them end in " client:port", numbers that
// change between boots: "CS6x:CS6x Port 1 20:0" gives "CS6x:CS6x Port 1".
std::string StripAlsaClientPort(std::string_view rtMidiName);

// The 16 bytes of a GUID as the settings file keeps them: data1 as 32-bit
// little-endian, data2 and data3 as 16-bit little-endian, then data4.
std::array<std::uint8_t, 16> GuidToBytes(const QUuid& guid);
QUuid GuidFromBytes(std::span<const std::uint8_t, 16> bytes);

} // namespace cs6
