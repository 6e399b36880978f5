#include "synth/SysExMessages.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/CaptureOutput.h"

namespace cs6::sysex {
namespace {

using test::Bytes;

TEST(SysExBuild, ParameterChangeForOneByte)
{
    const std::uint8_t data[] = {0x41};
    EXPECT_EQ(ParameterChange(0x30, 0x00, 0x03, data), (Bytes{
                                                           0xF0, // SysEx
                                                           0x43, // Yamaha
                                                           0x10, // parameter change, device 1
                                                           0x64, // CS6x / CS6R
                                                           0x30, 0x00, 0x03, // address
                                                           0x41, // data
                                                           0xF7, // end
                                                       }));
}

TEST(SysExBuild, TwoByteValueSendsHighSevenBitsFirst)
{
    const int value = 300;
    const std::uint8_t data[] = {static_cast<std::uint8_t>(value >> 7), static_cast<std::uint8_t>(value & 127)};
    const Bytes message = ParameterChange(0x30, 0x00, 0x1F, data);
    EXPECT_EQ(message, (Bytes{0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x1F, 0x02, 0x2C, 0xF7}));
}

TEST(SysExBuild, BulkHeaderAndFooterForThePerformanceEditBuffer)
{
    EXPECT_EQ(BulkDump(0x0E, 0x4F, 0x00, {}), (Bytes{
                                                  0xF0, 0x43, 0x00, 0x64, // bulk dump, device 1, CS6x
                                                  0x00, 0x00,             // byte count 0
                                                  0x0E, 0x4F, 0x00,       // header, bank LSB 4F, program 0
                                                  0x23,                   // checksum
                                                  0xF7,
                                              }));
    EXPECT_EQ(BulkDump(0x0F, 0x4F, 0x00, {}), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x4F, 0x00, 0x22, 0xF7}));
}

TEST(SysExBuild, HeaderWhoseSumIsAMultipleOf128HasChecksumZero)
{
    // 0E + 08 + 6A = 128
    EXPECT_EQ(BulkDump(0x0E, 0x08, 0x6A, {}), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x08, 0x6A, 0x00, 0xF7}));
}

TEST(SysExBuild, BulkCarriesByteCountsAbove127InTwoBytes)
{
    const Bytes data(200, 0x01);
    const Bytes message = BulkDump(0x47, 0x00, 0x00, data);
    ASSERT_EQ(message.size(), 211u);
    EXPECT_EQ(message[4], 0x01); // 200 >> 7
    EXPECT_EQ(message[5], 0x48); // 200 & 127
    EXPECT_TRUE(IsValidBulkDump(message));
}

TEST(SysExBuild, DumpRequestAndChannelMessages)
{
    EXPECT_EQ(DumpRequest(0x0E, 0x2F, 0x00), (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x2F, 0x00, 0xF7}));
    EXPECT_EQ(DumpRequest(0x0E, 0x08, 0x05), (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x05, 0xF7}));
    EXPECT_EQ(BankSelectMsb(0x3F), (Bytes{0xB0, 0x00, 0x3F}));
    EXPECT_EQ(BankSelectLsb(0x01), (Bytes{0xB0, 0x20, 0x01}));
    EXPECT_EQ(ProgramChange(0x05), (Bytes{0xC0, 0x05}));
}

TEST(SysExBuild, StrayHighBitsAreClearedInsideSysEx)
{
    const std::uint8_t data[] = {0xC8};
    const Bytes message = ParameterChange(0x30, 0x00, 0x03, data);
    EXPECT_EQ(message[7], 0x48);
    const Bytes bulk = BulkDump(0x30, 0x00, 0x00, data);
    EXPECT_TRUE(IsValidBulkDump(bulk));
}

TEST(SysExChecksum, SumOfCountAddressDataAndChecksumIsZeroModulo128)
{
    std::mt19937 random(20261206); // fixed seed: the same blocks every run
    std::uniform_int_distribution<int> byte(0, 127);
    std::uniform_int_distribution<int> length(0, 300);
    for (int round = 0; round < 2000; ++round) {
        Bytes data(static_cast<std::size_t>(length(random)));
        for (auto& b : data)
            b = static_cast<std::uint8_t>(byte(random));
        const Bytes message = BulkDump(byte(random), byte(random), byte(random), data);
        unsigned sum = 0;
        for (std::size_t i = 4; i < message.size() - 1; ++i)
            sum += message[i];
        ASSERT_EQ(sum & 127, 0u) << "round " << round;
        ASSERT_TRUE(IsValidBulkDump(message)) << "round " << round;
    }
}

TEST(SysExRead, FieldsOfABulkDump)
{
    const std::uint8_t data[] = {1, 2, 3};
    const Bytes message = BulkDump(0x31, 0x05, 0x00, data);
    const auto fields = ReadBulkDump(message);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->byteCount, 3);
    EXPECT_EQ(fields->high, 0x31);
    EXPECT_EQ(fields->mid, 0x05);
    EXPECT_EQ(fields->low, 0x00);
    EXPECT_EQ(Bytes(fields->data.begin(), fields->data.end()), (Bytes{1, 2, 3}));
    EXPECT_EQ(fields->Address(), 0x31u << 14 | 0x05u << 7);
    EXPECT_FALSE(fields->IsHeaderOrFooter());
    EXPECT_TRUE(ReadBulkDump(BulkDump(0x0F, 0x0F, 0x00, {}))->IsHeaderOrFooter());
}

TEST(SysExRead, TooShortForItsByteCountGivesNothing)
{
    const Bytes message = {0xF0, 0x43, 0x00, 0x64, 0x00, 0x05, 0x30, 0x00, 0x00, 1, 2};
    EXPECT_FALSE(ReadBulkDump(message));
    EXPECT_FALSE(ReadBulkDump(Bytes{0xF0, 0x43, 0x00}));
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

    EXPECT_FALSE(IsValidBulkDump(with(0, 0xF1)));   // not SysEx
    EXPECT_FALSE(IsValidBulkDump(with(1, 0x41)));   // not Yamaha
    EXPECT_FALSE(IsValidBulkDump(with(2, 0x10)));   // a parameter change
    EXPECT_FALSE(IsValidBulkDump(with(3, 0x4C)));   // another model
    EXPECT_FALSE(IsValidBulkDump(with(9, 0x11)));   // corrupted data byte: checksum fails
    EXPECT_FALSE(IsValidBulkDump(with(12, 0x00)));  // wrong checksum
    EXPECT_FALSE(IsValidBulkDump(with(13, 0xF0)));  // no F7 at the end
    EXPECT_FALSE(IsValidBulkDump(with(5, 0x04)));   // count does not match the length
    EXPECT_FALSE(IsValidBulkDump(with(10, 0xA0)));  // a high bit inside the data (sum still fits)

    Bytes truncated(good.begin(), good.end() - 2);
    truncated.push_back(0xF7);
    EXPECT_FALSE(IsValidBulkDump(truncated));
    EXPECT_FALSE(IsValidBulkDump(Bytes{}));
    EXPECT_FALSE(IsValidBulkDump(Bytes{0xF0, 0xF7}));
}

} // namespace
} // namespace cs6::sysex
