// Each fault the emulated instrument can commit, checked against the answer it
// would have given without it.

#include <gtest/gtest.h>

#include "sim/EmulatedInstrument.h"
#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

using test::Bytes;
using test::kWait;

class Faults : public test::InstrumentHarness {
protected:
    std::vector<Bytes> VoiceRequest() { return Request(0x0F, 0x00); }
    std::vector<Bytes> Clean() { return BuildBulk(memory, SoundKind::NormalVoice, 0x0F, 0x00); }

    void SetUp() override
    {
        // The clean answer, built from the same voice the edit buffer holds.
        const Bytes voice = instrument.EditBuffer(SoundKind::NormalVoice);
        std::copy(voice.begin(), voice.end(), memory.Region(kNormalVoiceRegion).begin());
    }

    ParameterMemory memory;
};

TEST_F(Faults, NoAnswerLogsTheRequestAndSendsNothingOnce)
{
    instrument.SetFaults({.noAnswer = true}, FaultScope::NextAnswer);
    EXPECT_TRUE(VoiceRequest().empty());
    EXPECT_EQ(instrument.ReceivedMessages().size(), 1u);
    EXPECT_EQ(VoiceRequest(), Clean()); // used up
}

TEST_F(Faults, OnlyTheFirstMessages)
{
    instrument.SetFaults({.onlyFirst = 10}, FaultScope::NextAnswer);
    const auto clean = Clean();
    EXPECT_EQ(VoiceRequest(), std::vector<Bytes>(clean.begin(), clean.begin() + 10));
}

TEST_F(Faults, WrongChecksumInMessageK)
{
    instrument.SetFaults({.wrongChecksumAt = 7}, FaultScope::NextAnswer);
    const auto answer = VoiceRequest();
    const auto clean = Clean();
    ASSERT_EQ(answer.size(), 34u);
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (i == 7)
            continue;
        EXPECT_EQ(answer[i], clean[i]) << "message " << i;
    }
    EXPECT_FALSE(sysex::IsValidBulkDump(answer[7]));
    // Everything but the checksum is as it should be, and the checksum is still 7-bit.
    const std::size_t checksum = answer[7].size() - 2;
    EXPECT_EQ(Bytes(answer[7].begin(), answer[7].begin() + static_cast<std::ptrdiff_t>(checksum)),
              Bytes(clean[7].begin(), clean[7].begin() + static_cast<std::ptrdiff_t>(checksum)));
    EXPECT_LT(answer[7][checksum], 0x80);
}

TEST_F(Faults, WrongChecksumInTheHeaderOrFooter)
{
    instrument.SetFaults({.wrongChecksumAt = 0}, FaultScope::NextAnswer);
    EXPECT_FALSE(sysex::IsValidBulkDump(VoiceRequest().front()));
    instrument.SetFaults({.wrongChecksumAt = 33}, FaultScope::NextAnswer);
    EXPECT_FALSE(sysex::IsValidBulkDump(VoiceRequest().back()));
}

TEST_F(Faults, ExtraMessagesFollowTheFooterAsValidBulks)
{
    instrument.SetFaults({.extraMessages = 2}, FaultScope::NextAnswer);
    const auto answer = VoiceRequest();
    const auto clean = Clean();
    ASSERT_EQ(answer.size(), 36u);
    EXPECT_EQ(std::vector<Bytes>(answer.begin(), answer.begin() + 34), clean);
    EXPECT_EQ(answer[34], clean[1]);
    EXPECT_EQ(answer[35], clean[1]);
}

TEST_F(Faults, DroppedFooter)
{
    instrument.SetFaults({.dropFooter = true}, FaultScope::NextAnswer);
    const auto clean = Clean();
    EXPECT_EQ(VoiceRequest(), std::vector<Bytes>(clean.begin(), clean.end() - 1));
}

TEST_F(Faults, DelayBeforeAnswering)
{
    constexpr auto delay = std::chrono::milliseconds(80);
    instrument.SetFaults({.delay = delay}, FaultScope::NextAnswer);
    EXPECT_EQ(VoiceRequest(), Clean());
    const auto received = instrument.ReceivedMessages();
    const auto sent = instrument.TransmittedMessages();
    ASSERT_EQ(received.size(), 1u);
    ASSERT_EQ(sent.size(), 34u);
    EXPECT_GE(sent.front().time - received.front().time, delay);
}

TEST_F(Faults, FaultsCombineInTheDocumentedOrder)
{
    // Corrupt message 2, drop the footer, add one extra, then cut to 34: the
    // extra takes the footer's place.
    instrument.SetFaults({.onlyFirst = 34, .wrongChecksumAt = 2, .extraMessages = 1, .dropFooter = true},
                         FaultScope::NextAnswer);
    const auto answer = VoiceRequest();
    const auto clean = Clean();
    ASSERT_EQ(answer.size(), 34u);
    EXPECT_FALSE(sysex::IsValidBulkDump(answer[2]));
    EXPECT_EQ(answer[33], clean[1]);
}

TEST_F(Faults, UntilClearedAppliesToEveryAnswerThenStops)
{
    instrument.SetFaults({.onlyFirst = 3}, FaultScope::UntilCleared);
    EXPECT_EQ(VoiceRequest().size(), 3u);
    EXPECT_EQ(Request(0x2F, 0x00).size(), 3u);
    instrument.ClearFaults();
    EXPECT_EQ(VoiceRequest().size(), 34u);
}

TEST_F(Faults, NextAnswerWaitsForARequestThatIsAnswered)
{
    instrument.SetFaults({.noAnswer = true}, FaultScope::NextAnswer);
    EXPECT_TRUE(Request(0x18, 0x00).empty()); // PLG1: never answered, does not use the fault up
    EXPECT_EQ(Exchange({{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}}).size(), 1u); // identity is never faulted
    EXPECT_TRUE(VoiceRequest().empty());
    EXPECT_EQ(VoiceRequest().size(), 34u);
}

} // namespace
} // namespace cs6::sim
