#include "midi/MidiSettings.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "framework/FileIo.h"
#include "midi/PortGuid.h"

namespace cs6 {

MidiSettings midiSettings;

std::array<std::uint8_t, kMidiSettingsSize> SerializeMidiSettings(const MidiSettings& settings)
{
    std::array<std::uint8_t, kMidiSettingsSize> bytes{};
    bytes[0] = settings.inputEnabled;
    bytes[1] = settings.thruEnabled;
    bytes[2] = settings.outputEnabled;
    const auto put = [&](std::size_t at, const QUuid& guid) {
        const auto guidBytes = GuidToBytes(guid);
        std::copy(guidBytes.begin(), guidBytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(3, settings.inputPortGuid);
    put(19, settings.thruPortGuid);
    put(35, settings.outputPortGuid);
    return bytes;
}

SettingsLoad ParseMidiSettings(std::span<const std::uint8_t> bytes, MidiSettings& settings)
{
    // Reading straight into the fields: a short file leaves the rest as it was.
    auto image = SerializeMidiSettings(settings);
    const std::size_t n = std::min(bytes.size(), image.size());
    std::copy_n(bytes.begin(), n, image.begin());
    settings.inputEnabled = image[0];
    settings.thruEnabled = image[1];
    settings.outputEnabled = image[2];
    const auto guidAt = [&](std::size_t at) { return GuidFromBytes(std::span<const std::uint8_t, 16>(&image[at], 16)); };
    settings.inputPortGuid = guidAt(3);
    settings.thruPortGuid = guidAt(19);
    settings.outputPortGuid = guidAt(35);
    return n < image.size() ? SettingsLoad::Short : SettingsLoad::Loaded;
}

SettingsLoad LoadMidiSettings(const std::filesystem::path& fileName)
{
    std::error_code error;
    if (!std::filesystem::exists(fileName, error) && !error)
        return SettingsLoad::Missing;
    return ParseMidiSettings(ReadWholeFile(fileName), midiSettings);
}

void SaveMidiSettings(const std::filesystem::path& fileName)
{
    const auto bytes = SerializeMidiSettings(midiSettings);
    WriteFileAtomically(fileName, bytes);
}

} // namespace cs6
