#include "synth/SynthDevice.h"

#include <gtest/gtest.h>

#include "synth/SysExMessages.h"
#include "tests/CaptureOutput.h"

namespace cs6 {
namespace {

using test::Bytes;
using test::CaptureOutput;

class SynthDeviceTest : public ::testing::Test {
protected:
    CaptureOutput output;
    SynthDevice device{&output};
};

TEST_F(SynthDeviceTest, ParameterChangeTakesItsDataFromTheMemory)
{
    *device.ByteAt(0x30, 0x00, 0x03) = 0x41;
    device.SendParameterChange(0x30, 0x00, 0x03, 1);
    ASSERT_EQ(output.messages.size(), 1u);
    EXPECT_EQ(output.messages[0], (Bytes{0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x03, 0x41, 0xF7}));
}

TEST_F(SynthDeviceTest, TwoByteParameterChangeAtPackedAddress)
{
    const std::uint32_t tempo = PackAddress(0x30, 0x00, 0x1F);
    device.ByteAtAddress(tempo)[0] = 300 >> 7;
    device.ByteAtAddress(tempo)[1] = 300 & 127;
    device.SendParameterChangeAt(tempo, 2);
    ASSERT_EQ(output.messages.size(), 1u);
    EXPECT_EQ(output.messages[0], (Bytes{0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x1F, 0x02, 0x2C, 0xF7}));
}

TEST_F(SynthDeviceTest, BulkBlockOfThePerformanceCommonBlock)
{
    std::uint8_t* common = device.Memory().Block(0x30, 0x00);
    for (int i = 0; i < 68; ++i)
        common[i] = static_cast<std::uint8_t>(i);
    device.SendBulkBlock(0x30, 0x00, 0x00, 68);
    ASSERT_EQ(output.messages.size(), 1u);
    const Bytes& message = output.messages[0];
    ASSERT_EQ(message.size(), 79u);
    EXPECT_EQ(Bytes(message.begin(), message.begin() + 9), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x44, 0x30, 0x00, 0x00}));
    for (int i = 0; i < 68; ++i)
        EXPECT_EQ(message[9 + static_cast<std::size_t>(i)], i);
    // 0x44 + 0x30 + (0 + 1 + ... + 67) = 116 + 2278 = 2394; 2394 & 127 = 90; 128 - 90 = 38
    EXPECT_EQ(message[77], 38);
    EXPECT_EQ(message[78], 0xF7);
}

TEST_F(SynthDeviceTest, SubBlockBulkStartsAtItsLowByte)
{
    device.ByteAt(0x41, 0x02, 0x20)[0] = 0x7F;
    device.SendBulkBlock(0x41, 0x02, 0x20, 29);
    ASSERT_EQ(output.messages.size(), 1u);
    const auto fields = sysex::ReadBulkDump(output.messages[0]);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->Address(), PackAddress(0x41, 0x02, 0x20));
    EXPECT_EQ(fields->byteCount, 29);
    EXPECT_EQ(fields->data[0], 0x7F);
    EXPECT_TRUE(sysex::IsValidBulkDump(output.messages[0]));
}

TEST_F(SynthDeviceTest, CountBelowOneSendsNothingButABadAddressIsStillReported)
{
    device.SendParameterChange(0x30, 0x00, 0x00, 0);
    device.SendBulkBlock(0x30, 0x00, 0x00, -3);
    EXPECT_TRUE(output.messages.empty());
    EXPECT_THROW(device.SendParameterChange(0x31, 0x10, 0x00, 0), UnknownAddressError);
    EXPECT_THROW(device.SendParameterChange(0x4C, 0x04, 0x00, 1), UnknownAddressError);
    EXPECT_THROW(device.SendBulkBlock(0x4C, 0x70, 0x7F, 2), UnknownAddressError);
    EXPECT_TRUE(output.messages.empty());
}

TEST_F(SynthDeviceTest, WithoutAnOutputNothingIsSent)
{
    device.SetOutput(nullptr);
    device.SendParameterChange(0x30, 0x00, 0x00, 1);
    SendParameterData(nullptr, 0x0A, 0x00, 0x10, Bytes{1});
    device.SetOutput(&output);
    EXPECT_TRUE(output.messages.empty());
}

TEST_F(SynthDeviceTest, FreeSendsCarryTheCallersBytes)
{
    const std::uint8_t on[] = {0x01};
    SendParameterData(&output, 0x0A, 0x00, 0x10, on);
    SendBulkData(&output, 0x0E, 0x4F, 0x00, {});
    SendParameterData(&output, 0x0A, 0x00, 0x11, {}); // nothing: no data
    ASSERT_EQ(output.messages.size(), 2u);
    EXPECT_EQ(output.messages[0], (Bytes{0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}));
    EXPECT_EQ(output.messages[1], (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x4F, 0x00, 0x23, 0xF7}));
}

TEST_F(SynthDeviceTest, MemoryToBulkAndBackGivesTheSameBytes)
{
    // Every counted block of the performance, sent as a bulk and read back
    // into a second memory, gives the first memory's bytes.
    ParameterMemory& memory = device.Memory();
    for (std::size_t i = 0; i < memory.image.size(); ++i)
        memory.image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 127);
    for (const auto& [address, count] : memory.blockSizes)
        device.SendBulkBlock(AddressHigh(address), AddressMid(address), AddressLow(address), count);
    ASSERT_EQ(output.messages.size(), 448u);

    ParameterMemory copy;
    for (const auto& message : output.messages) {
        ASSERT_TRUE(sysex::IsValidBulkDump(message));
        const auto fields = sysex::ReadBulkDump(message);
        ASSERT_TRUE(fields);
        ASSERT_TRUE(copy.FitsInBlock(fields->Address(), fields->data.size()));
        std::copy(fields->data.begin(), fields->data.end(), copy.ByteAtAddress(fields->Address()));
    }
    for (const auto& [address, count] : memory.blockSizes) {
        const auto original = memory.Bytes(address, static_cast<std::size_t>(count));
        const auto received = copy.Bytes(address, static_cast<std::size_t>(count));
        EXPECT_TRUE(std::equal(original.begin(), original.end(), received.begin())) << FormatAddress(address);
    }
}

} // namespace
} // namespace cs6
