#include "midi/MidiSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/FileIo.h"
#include "midi/PortGuid.h"

namespace cs6 {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class MidiSettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("cs6-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        midiSettings = {};
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path File() const { return dir_ / "settings.dat"; }
    void Write(const Bytes& bytes) const
    {
        std::ofstream(File(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
};

Bytes Sample()
{
    Bytes bytes(51);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 5 + 1);
    bytes[0] = 1; // input
    bytes[1] = 0; // thru
    bytes[2] = 1; // output
    return bytes;
}

TEST_F(MidiSettingsFile, LoadsTheSixFieldsInFileOrder)
{
    const QUuid input = PortGuid(kJackKind, "cs6sim:midi_out");
    const QUuid output = PortGuid(kJackKind, "cs6sim:midi_in");
    Bytes bytes(51, 0);
    bytes[0] = 1;
    bytes[1] = 7; // any non-zero flag counts as set
    bytes[2] = 1;
    const auto in = GuidToBytes(input);
    const auto out = GuidToBytes(output);
    std::copy(in.begin(), in.end(), bytes.begin() + 3);
    std::copy(out.begin(), out.end(), bytes.begin() + 35);
    Write(bytes);

    EXPECT_EQ(LoadMidiSettings(File()), SettingsLoad::Loaded);
    EXPECT_EQ(midiSettings.inputEnabled, 1);
    EXPECT_EQ(midiSettings.thruEnabled, 7);
    EXPECT_EQ(midiSettings.outputEnabled, 1);
    EXPECT_EQ(midiSettings.inputPortGuid, input);
    EXPECT_TRUE(midiSettings.thruPortGuid.isNull());
    EXPECT_EQ(midiSettings.outputPortGuid, output);
}

TEST_F(MidiSettingsFile, SavingUnchangedSettingsWritesBackTheSameBytes)
{
    Write(Sample());
    ASSERT_EQ(LoadMidiSettings(File()), SettingsLoad::Loaded);
    SaveMidiSettings(File());
    EXPECT_EQ(ReadWholeFile(File()), Sample());
    EXPECT_FALSE(fs::exists(dir_ / "settings.dat.tmp"));
}

TEST_F(MidiSettingsFile, MissingFileIsAFirstRunWithNoPorts)
{
    EXPECT_EQ(LoadMidiSettings(File()), SettingsLoad::Missing);
    EXPECT_EQ(midiSettings, MidiSettings{});
    SaveMidiSettings(File());
    EXPECT_EQ(ReadWholeFile(File()), Bytes(51, 0));
}

TEST_F(MidiSettingsFile, ShortFileLeavesTheFieldsItDoesNotReach)
{
    midiSettings.outputEnabled = 1;
    midiSettings.outputPortGuid = PortGuid(kEmulatedKind, "Emulated CS6x");
    const QUuid before = midiSettings.outputPortGuid;
    Write({1, 0});
    EXPECT_EQ(LoadMidiSettings(File()), SettingsLoad::Short);
    EXPECT_EQ(midiSettings.inputEnabled, 1);
    EXPECT_EQ(midiSettings.outputEnabled, 1);
    EXPECT_EQ(midiSettings.outputPortGuid, before);

    // A read that stops inside a GUID changes only the bytes it reached.
    Bytes partial = Sample();
    partial.resize(40); // the output GUID's first 5 bytes
    MidiSettings settings;
    settings.outputPortGuid = before;
    EXPECT_EQ(ParseMidiSettings(partial, settings), SettingsLoad::Short);
    const auto got = GuidToBytes(settings.outputPortGuid);
    const auto old = GuidToBytes(before);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 5, partial.begin() + 35));
    EXPECT_TRUE(std::equal(got.begin() + 5, got.end(), old.begin() + 5));
}

TEST_F(MidiSettingsFile, FiftyOneZeroBytesChooseNoPort)
{
    Write(Bytes(51, 0));
    EXPECT_EQ(LoadMidiSettings(File()), SettingsLoad::Loaded);
    EXPECT_EQ(midiSettings.inputEnabled, 0);
    EXPECT_EQ(midiSettings.outputEnabled, 0);
}

TEST_F(MidiSettingsFile, AFailedSaveKeepsTheOldFile)
{
    Write(Sample());
    fs::create_directory(dir_ / "settings.dat.tmp"); // the temporary file cannot be created
    midiSettings = {};
    EXPECT_THROW(SaveMidiSettings(File()), FileError);
    EXPECT_EQ(ReadWholeFile(File()), Sample());
}

} // namespace
} // namespace cs6
