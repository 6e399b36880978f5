// settings.dat: exactly 51 bytes, the input, thru and output flags, then the
// three port GUIDs, in that order.
#include "midi/MidiSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "framework/FileIo.h"
#include "midi/PortGuid.h"

namespace cs6 {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const QUuid kInput = PortGuid(kJackKind, "cs6sim:midi_out");
const QUuid kOutput = PortGuid(kJackKind, "cs6sim:midi_in");

TEST(MidiSettingsFile, LoadsAndSavesTheSixFieldsInFileOrder)
{
    const fs::path dir = fs::temp_directory_path() / ("cs6-settings-" + std::to_string(::getpid()));
    const fs::path file = dir / "settings.dat";
    fs::remove_all(dir);
    fs::create_directories(dir);
    midiSettings = {};
    EXPECT_EQ(LoadMidiSettings(file), SettingsLoad::Missing); // a first run: no ports
    EXPECT_EQ(midiSettings, MidiSettings{});
    SaveMidiSettings(file);
    EXPECT_EQ(ReadWholeFile(file), Bytes(51, 0));

    Bytes bytes{1, 7, 1}; // any non-zero flag counts as set
    bytes.resize(51);
    std::ranges::copy(GuidToBytes(kInput), bytes.begin() + 3);
    std::ranges::copy(GuidToBytes(kOutput), bytes.begin() + 35);
    WriteFileAtomically(file, bytes);
    EXPECT_EQ(LoadMidiSettings(file), SettingsLoad::Loaded);
    EXPECT_EQ(midiSettings, (MidiSettings{1, 7, 1, kInput, QUuid(), kOutput}));
    SaveMidiSettings(file);
    EXPECT_EQ(ReadWholeFile(file), bytes);
    EXPECT_FALSE(fs::exists(dir / "settings.dat.tmp"));
    fs::remove_all(dir);
}

TEST(MidiSettingsFile, AShortFileLeavesTheFieldsItDoesNotReach)
{
    MidiSettings settings;
    settings.outputEnabled = 1;
    settings.outputPortGuid = kOutput;
    EXPECT_EQ(ParseMidiSettings(Bytes{1, 0}, settings), SettingsLoad::Short);
    EXPECT_EQ(settings, (MidiSettings{1, 0, 1, QUuid(), QUuid(), kOutput}));

    // A read that stops inside a GUID changes only the bytes it reached.
    const Bytes partial(40, 0x11); // the output GUID's first 5 bytes
    EXPECT_EQ(ParseMidiSettings(partial, settings), SettingsLoad::Short);
    auto expected = GuidToBytes(kOutput);
    std::fill_n(expected.begin(), 5, 0x11);
    EXPECT_EQ(GuidToBytes(settings.outputPortGuid), expected);
}

} // namespace
} // namespace cs6
