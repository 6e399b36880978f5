// SysEx messages as built, checked and read, and as the instrument model
// sends them from its memory.
#include "synth/SysExMessages.h"

#include <gtest/gtest.h>

#include <numeric>

#include "synth/SynthDevice.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

using test::Bytes;
using namespace sysex;

class SynthDeviceTest : public ::testing::Test {
protected:
    test::FakeInstrumentLink link;
    SynthDevice device{&link};
};

TEST_F(SynthDeviceTest, ParameterChangesTakeTheirDataFromTheMemory)
{
    *device.ByteAt(0x30, 0x00, 0x03) = 0x41;
    device.SendParameterChange(0x30, 0x00, 0x03, 1);
    const std::uint32_t tempo = PackAddress(0x30, 0x00, 0x1F);
    device.ByteAtAddress(tempo)[0] = 300 >> 7;
    device.ByteAtAddress(tempo)[1] = 300 & 127;
    device.SendParameterChangeAt(tempo, 2);
    EXPECT_EQ(link.sent, (std::vector<Bytes>{
                             // SysEx, Yamaha, parameter change device 1, CS6x / CS6R, address, data, end
                             {0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x03, 0x41, 0xF7},
                             // A two-byte value: the high seven bits first.
                             {0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x1F, 0x02, 0x2C, 0xF7},
                         }));
}

TEST_F(SynthDeviceTest, BulkBlockOfThePerformanceCommonBlock)
{
    std::iota(device.Memory().Block(0x30, 0x00), device.Memory().Block(0x30, 0x00) + 68, 0);
    device.SendBulkBlock(0x30, 0x00, 0x00, 68);
    Bytes expected = {0xF0, 0x43, 0x00, 0x64, // bulk dump, device 1
                      0x00, 0x44,             // byte count 68
                      0x30, 0x00, 0x00};      // address
    for (int i = 0; i < 68; ++i)
        expected.push_back(static_cast<std::uint8_t>(i));
    // 0x44 + 0x30 + (0 + 1 + ... + 67) = 116 + 2278 = 2394; 2394 & 127 = 90; 128 - 90 = 38
    expected.insert(expected.end(), {38, 0xF7});
    EXPECT_EQ(link.sent, std::vector<Bytes>{expected});
}

TEST_F(SynthDeviceTest, CountBelowOneSendsNothingButABadAddressIsStillReported)
{
    device.SendParameterChange(0x30, 0x00, 0x00, 0);
    device.SendBulkBlock(0x30, 0x00, 0x00, -3);
    EXPECT_THROW(device.SendParameterChange(0x31, 0x10, 0x00, 0), UnknownAddressError);
    EXPECT_THROW(device.SendParameterChange(0x4C, 0x04, 0x00, 1), UnknownAddressError);
    EXPECT_THROW(device.SendBulkBlock(0x4C, 0x70, 0x7F, 2), UnknownAddressError);
    device.SetOutput(nullptr);
    device.SendParameterChange(0x30, 0x00, 0x00, 1);
    EXPECT_TRUE(link.sent.empty());
}

TEST(SysExBuild, ChecksumZeroByteCountsAbove127AndStrayHighBits)
{
    // 0E + 08 + 6A = 128
    EXPECT_EQ(BulkDump(0x0E, 0x08, 0x6A, {}), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x08, 0x6A, 0x00, 0xF7}));

    const Bytes message = BulkDump(0x47, 0x00, 0x00, Bytes(200, 0x01));
    ASSERT_EQ(message.size(), 211u);
    EXPECT_EQ(Bytes(message.begin() + 4, message.begin() + 6), (Bytes{0x01, 0x48})); // 200 >> 7, 200 & 127
    EXPECT_TRUE(IsValidBulkDump(message));

    // A byte of 0x80 or more would end the message on the wire.
    const std::uint8_t data[] = {0xC8};
    EXPECT_EQ(ParameterChange(0x30, 0x00, 0x03, data)[7], 0x48);
    EXPECT_TRUE(IsValidBulkDump(BulkDump(0x30, 0x00, 0x00, data)));
}

TEST(SysExValidate, AcceptsOnlyWellFormedBulkDumpsOfThisInstrument)
{
    const std::uint8_t data[] = {0x10, 0x20, 0x30};
    const Bytes good = BulkDump(0x30, 0x00, 0x00, data);
    ASSERT_TRUE(IsValidBulkDump(good));

    auto with = [&](std::size_t index, std::uint8_t value) {
        Bytes copy = good;
        copy[index] = value;
        return copy;
    };
    Bytes otherDevice = with(2, 0x03); // device number 4 is still a bulk dump
    otherDevice[otherDevice.size() - 2] = Checksum(std::span(otherDevice).subspan(4, otherDevice.size() - 6));
    EXPECT_TRUE(IsValidBulkDump(otherDevice));

    EXPECT_FALSE(IsValidBulkDump(with(0, 0xF1)));  // not SysEx
    EXPECT_FALSE(IsValidBulkDump(with(1, 0x41)));  // not Yamaha
    EXPECT_FALSE(IsValidBulkDump(with(2, 0x10)));  // a parameter change
    EXPECT_FALSE(IsValidBulkDump(with(3, 0x4C)));  // another model
    EXPECT_FALSE(IsValidBulkDump(with(9, 0x11)));  // corrupted data byte: checksum fails
    EXPECT_FALSE(IsValidBulkDump(with(12, 0x00))); // wrong checksum
    EXPECT_FALSE(IsValidBulkDump(with(13, 0xF0))); // no F7 at the end
    EXPECT_FALSE(IsValidBulkDump(with(5, 0x04)));  // count does not match the length
    EXPECT_FALSE(IsValidBulkDump(with(10, 0xA0))); // a high bit inside the data (sum still fits)

    Bytes truncated(good.begin(), good.end() - 2);
    truncated.push_back(0xF7);
    EXPECT_FALSE(IsValidBulkDump(truncated));
    EXPECT_FALSE(IsValidBulkDump(Bytes{}));
    EXPECT_FALSE(IsValidBulkDump(Bytes{0xF0, 0xF7}));
    // Too short for its byte count: nothing to read.
    EXPECT_FALSE(ReadBulkDump(Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x05, 0x30, 0x00, 0x00, 1, 2}));
    EXPECT_FALSE(ReadBulkDump(Bytes{0xF0, 0x43, 0x00}));
}

} // namespace
} // namespace cs6
