// The port layer: hex strings, port GUIDs and "settings.dat" (exactly 51
// bytes, the input, thru and output flags, then the three port GUIDs, in
// that order), and the boxes of ports that fail.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "framework/FileIo.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "tests/support/MidiTestSupport.h"

namespace cs6 {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

TEST(HexString, TokensAreSplitAtSpacesOnlyAndTextThatIsNotHexSendsNothing)
{
    const std::pair<std::string, std::optional<Bytes>> rows[] = {
        {"B0 07 7F", Bytes{0xB0, 0x07, 0x7F}},
        {"  B0   07 00  ", Bytes{0xB0, 0x07, 0x00}},
        {"1B0", Bytes{0xB0}},            // the low byte of a longer number
        {"b0 0x7f", Bytes{0xB0, 0x7F}},  // case and prefix as "%X" reads them
        {"7F\t01", Bytes{0x7F}},         // a tab belongs to its token: "%X" stops there
        {"\t7F", Bytes{0x7F}},
        {std::string(40, 'F'), Bytes{0xFF}},
        {"", std::nullopt}, {"   ", std::nullopt}, {"B0 zz 7F", std::nullopt},
    };
    for (const auto& [text, bytes] : rows)
        EXPECT_EQ(ParseHexString(text), bytes) << text;
}

TEST(PortGuid, DerivedFromKindAndNameTheSameWayEveryRun)
{
    const QUuid jack = PortGuid(kJackKind, "cs6sim:midi_in");
    EXPECT_EQ(jack, QUuid::createUuidV5(QUuid(QStringLiteral("81db6696-2ae9-4489-9af9-536762124ee2")),
                                        QStringLiteral("jack:cs6sim:midi_in")));
}

TEST(PortGuid, AlsaNamesLoseTheirClientAndPortNumbers)
{
    for (const auto& [name, stripped] : {std::pair{"CS6x:CS6x Port 1 20:0", "CS6x:CS6x Port 1"},
                                         {"Midi Through:Midi Through Port-0 14:0", "Midi Through:Midi Through Port-0"},
                                         {"CS6x:CS6x Port 1", "CS6x:CS6x Port 1"}, {"name 12:", "name 12:"}, {"20:0", "20:0"}})
        EXPECT_EQ(StripAlsaClientPort(name), stripped);
}

TEST(PortGuid, SettingsByteLayoutIsLittleEndianThenData4)
{
    const QUuid guid(0x01020304, 0x0506, 0x0708, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10);
    const auto bytes = GuidToBytes(guid);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()),
              (Bytes{0x04, 0x03, 0x02, 0x01, 0x06, 0x05, 0x08, 0x07, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10}));
    EXPECT_EQ(GuidFromBytes(bytes), guid);
}

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

// A driver with one output port that fails the way it is told to.
struct FailingDriver : MidiDriver {
    struct Behaviour {
        bool clock = true;
        DriverSendResult send = DriverSendResult::Sent;
        bool activate = true;
    };
    struct Port : DriverPort {
        explicit Port(Behaviour b) : behaviour(b) {}
        bool Activate(bool) override { return behaviour.activate; }
        std::optional<ReferenceTime> LatencyClock() override
        {
            if (std::exchange(opened, true) && !behaviour.clock)
                return std::nullopt;
            return ReferenceNow();
        }
        std::size_t MaxMessageBytes() const override { return 64; }
        DriverSendResult Send(std::span<const std::uint8_t>, ReferenceTime) override { return behaviour.send; }
        Behaviour behaviour;
        bool opened = false;
    };
    explicit FailingDriver(Behaviour b) : behaviour(b) {}
    static QUuid Guid() { return PortGuid("test", "failing"); }
    std::vector<DriverPortInfo> ListPorts() override { return {{Guid(), "failing", "failing (test)", PortDirection::Output}}; }
    std::unique_ptr<DriverPort> Open(const QUuid& guid, PortDirection direction) override
    {
        return guid == Guid() && direction == PortDirection::Output ? std::make_unique<Port>(behaviour) : nullptr;
    }
    Behaviour behaviour;
};

class PortLayerTest : public ::testing::Test {
protected:
    std::unique_ptr<MidiPort> OpenFailing(FailingDriver::Behaviour behaviour)
    {
        system_ = std::make_unique<MidiSystem>(
            MidiSystemConfig{.drivers = {[behaviour] { return std::make_unique<FailingDriver>(behaviour); }}});
        return system_->CreateOutputPort(FailingDriver::Guid(), 0x100000);
    }

    test::Boxes boxes;

private:
    std::unique_ptr<MidiSystem> system_;
};

TEST_F(PortLayerTest, AFailedClockShowsAAndStillSendsAndAMessageLargerThanThePortShowsB)
{
    EXPECT_EQ(OpenFailing({.clock = false})->SendMidiMessage(Bytes{0xC0, 0x01}, 0), SendOutcome::Sent);
    auto port = OpenFailing({});
    EXPECT_EQ(port->SendMidiMessage(Bytes(65, 0x00), 0), SendOutcome::Refused);
    EXPECT_EQ(port->SendMidiMessage(Bytes(64, 0x00), 0), SendOutcome::Sent);
    EXPECT_EQ(boxes, (std::vector<std::string>{"A", "B"}));
}

TEST_F(PortLayerTest, AnOutputThatFailsShowsCOnceForAWholeBulk)
{
    // The driver reports the port gone on a send but, like RtMidi, does not
    // remember it.
    outputPort = OpenFailing({.send = DriverSendResult::PortGone});
    outputOpen = true;
    EXPECT_EQ(outputPort->SendHexString("not hex", 0), SendOutcome::Refused);
    for (int i = 0; i < 34; ++i)
        ConnectionOutput().SendMessage(Bytes{0xF0, 0x43, 0x10, 0x64, 0x0E, 0x4F, 0x00, 0xF7});
    // Sends that bypass the connection, as the start-up sequence's do, stay quiet too.
    EXPECT_EQ(outputPort->SendHexString("B0 07 7F", 0), SendOutcome::Failed);
    EXPECT_EQ(boxes, std::vector<std::string>{"C"});
    EXPECT_FALSE(outputOpen);
    outputPort.reset();
}

TEST_F(PortLayerTest, APortThatCannotBeOpenedThrowsByValue)
{
    {
        // A driver whose MIDI system is absent is left out.
        MidiSystem system({.drivers = {[]() -> std::unique_ptr<MidiDriver> { return nullptr; }}});
        EXPECT_EQ(boxes, std::vector<std::string>{"nono1"}); // no driver at all
        EXPECT_TRUE(system.ListPorts().empty());
        EXPECT_THROW(system.CreateOutputPort(FailingDriver::Guid(), 16), PyxMidiPortException);
    }
    MidiSystem system({.drivers = {[] { return std::make_unique<FailingDriver>(FailingDriver::Behaviour{.activate = false}); }}});
    EXPECT_THROW(system.CreateOutputPort(PortGuid("test", "no such port"), 16), PyxMidiPortException);
    EXPECT_THROW(system.CreateOutputPort(FailingDriver::Guid(), 16), PyxMidiPortException);
    EXPECT_THROW(system.CreateInputPort(FailingDriver::Guid(), 16), PyxMidiPortException);
}

} // namespace
} // namespace cs6
