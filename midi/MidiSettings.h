#pragma once
// The user's choice of MIDI ports, kept in "settings.dat": exactly 51 bytes,
// the three flags (input, thru, output) and the three port GUIDs.
//
// Thread: the user-interface thread.

#include <QUuid>

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

namespace cs6 {

struct MidiSettings {
    std::uint8_t inputEnabled = 0;
    std::uint8_t thruEnabled = 0; // loaded, shown and saved; never opened
    std::uint8_t outputEnabled = 0;
    QUuid inputPortGuid;
    QUuid thruPortGuid;
    QUuid outputPortGuid;

    bool operator==(const MidiSettings&) const = default;
};

inline constexpr std::size_t kMidiSettingsSize = 51;

extern MidiSettings midiSettings;

enum class SettingsLoad {
    Loaded,  // all 51 bytes were read
    Short,   // the file ended early: the fields it did not reach are unchanged
    Missing, // no file (a first run): nothing changed
};

// Overlays the file's bytes on settings, field by field in file order, as far
// as they reach.
SettingsLoad ParseMidiSettings(std::span<const std::uint8_t> bytes, MidiSettings& settings);
std::array<std::uint8_t, kMidiSettingsSize> SerializeMidiSettings(const MidiSettings& settings);

// Into and out of midiSettings. Loading a file that exists but cannot be read
// and saving that fails throw FileError; a save never leaves a truncated file.
[[nodiscard]] SettingsLoad LoadMidiSettings(const std::filesystem::path& fileName);
void SaveMidiSettings(const std::filesystem::path& fileName);

} // namespace cs6
