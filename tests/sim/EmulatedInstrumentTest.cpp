#include "sim/EmulatedInstrument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>

#include "sim/SoundBanks.h"
#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

using test::ApplyAnswer;
using test::Bytes;
using test::kWait;

Bytes ParameterChange(int high, int mid, int low, Bytes data) { return sysex::ParameterChange(high, mid, low, data); }

// A whole voice bulk built from an image, framed for the location (mid, low).
std::vector<Bytes> VoiceBulk(const Bytes& image, int mid, int low)
{
    ParameterMemory memory;
    std::copy(image.begin(), image.end(), memory.Region(kNormalVoiceRegion).begin());
    return BuildBulk(memory, SoundKind::NormalVoice, mid, low);
}

// ---- Answers to dump requests -------------------------------------------

struct RequestCase {
    int mid;
    int low;
    SoundKind kind;
    std::size_t messages; // header + blocks + footer
};

void PrintTo(const RequestCase& c, std::ostream* out)
{
    char text[40];
    std::snprintf(text, sizeof text, "0E %02X %02X, %zu messages", c.mid, c.low, c.messages);
    *out << text;
}

class DumpAnswers : public test::InstrumentHarness, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(DumpAnswers, AreWholeValidBulksFramedForTheRequest)
{
    const RequestCase request = GetParam();
    const auto answer = Request(request.mid, request.low);
    const auto blocks = BulkBlocks(request.kind);

    ASSERT_EQ(answer.size(), request.messages);
    ASSERT_EQ(blocks.size() + 2, request.messages);
    const auto u8 = [](int v) { return static_cast<std::uint8_t>(v); };
    EXPECT_EQ(answer.front(), sysex::BulkDump(0x0E, request.mid, request.low, {})); // header 0E mm nn
    EXPECT_EQ(answer.back(), sysex::BulkDump(0x0F, request.mid, request.low, {}));  // footer 0F mm nn
    for (std::size_t i = 0; i < answer.size(); ++i)
        EXPECT_TRUE(sysex::IsValidBulkDump(answer[i])) << "message " << i;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Bytes& message = answer[i + 1];
        const std::uint32_t address = blocks[i].address;
        const auto count = blocks[i].count;
        EXPECT_EQ((Bytes{message[4], message[5]}), (Bytes{u8(count >> 7), u8(count & 127)})) << "block " << i;
        EXPECT_EQ((Bytes{message[6], message[7], message[8]}),
                  (Bytes{u8(AddressHigh(address)), u8(AddressMid(address)), u8(AddressLow(address))}))
            << "block " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfLocation, DumpAnswers,
                         ::testing::Values(RequestCase{0x4F, 0, SoundKind::Performance, 34},   // perf edit buffer
                                           RequestCase{0x0F, 0, SoundKind::NormalVoice, 34},   // voice edit buffer
                                           RequestCase{0x2F, 0, SoundKind::DrumVoice, 374},     // drum edit buffer
                                           RequestCase{0x08, 0, SoundKind::NormalVoice, 34},   // INT 1
                                           RequestCase{0x08, 127, SoundKind::NormalVoice, 34}, // INT 128
                                           RequestCase{0x09, 5, SoundKind::NormalVoice, 34},   // EXT 6
                                           RequestCase{0x28, 0, SoundKind::DrumVoice, 374},     // INT kit 1
                                           RequestCase{0x29, 1, SoundKind::DrumVoice, 374},     // EXT kit 2
                                           RequestCase{0x40, 127, SoundKind::Performance, 34}, // INT perf 128
                                           RequestCase{0x41, 63, SoundKind::Performance, 34}), // EXT perf 64
                         [](const ::testing::TestParamInfo<RequestCase>& row) {
                             char name[16];
                             std::snprintf(name, sizeof name, "mm%02X_nn%02X", row.param.mid, row.param.low);
                             return std::string(name);
                         });

using InstrumentAnswers = test::InstrumentHarness;

TEST_F(InstrumentAnswers, StoredLocationsAnswerWithTheirOwnImages)
{
    EXPECT_EQ(ApplyAnswer(Request(0x09, 5), kNormalVoiceRegion), instrument.StoredImage(bank::kExt, 5));
    EXPECT_EQ(ApplyAnswer(Request(0x29, 1), kDrumVoiceRegion), instrument.StoredImage(bank::kExtDrum, 1));
    EXPECT_EQ(ApplyAnswer(Request(0x41, 63), kPerformanceBlocks), instrument.StoredImage(bank::kExtPerf, 63));
    // Requesting a stored sound leaves the edit buffer alone.
    EXPECT_EQ(instrument.EditBuffer(SoundKind::NormalVoice), instrument.StoredImage(bank::kPre1, 0));
}

TEST_F(InstrumentAnswers, AnyDeviceNumberInTheRequestIsAnswered)
{
    const auto answer = Exchange({{0xF0, 0x43, 0x2F, 0x64, 0x0E, 0x4F, 0x00, 0xF7}}); // device nibble F
    EXPECT_EQ(answer.size(), 34u);
}

TEST_F(InstrumentAnswers, EverythingElseGetsNoAnswer)
{
    const std::vector<Bytes> requests{
        sysex::DumpRequest(0x0E, 0x18, 0x00),           // PLG1 voice: no board fitted
        sysex::DumpRequest(0x0E, 0x19, 0x05),           // PLG2 voice
        sysex::DumpRequest(0x0E, 0x00, 0x05),           // PRE1: selected by program change, never requested
        sysex::DumpRequest(0x0E, 0x01, 0x05),           // PRE2
        sysex::DumpRequest(0x0E, 0x20, 0x00),           // PRE drum
        sysex::DumpRequest(0x0E, 0x28, 0x02),           // INT kit 3 does not exist
        sysex::DumpRequest(0x0E, 0x41, 0x40),           // EXT perf 65 does not exist
        sysex::DumpRequest(0x0E, 0x4F, 0x01),           // edit buffer with a program number
        sysex::DumpRequest(0x0E, 0x68, 0x00),           // clip kit
        sysex::DumpRequest(0x30, 0x00, 0x00),           // a single block
        {0xF0, 0x43, 0x20, 0x4C, 0x0E, 0x4F, 0x00, 0xF7}, // another model
        {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0x00, 0xF7}, // one byte too long
        {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00},     // no F7
        {0xF0, 0x7E, 0x00, 0x06, 0x02, 0xF7},           // an identity reply, not a request
        {},
    };
    for (const Bytes& request : requests) {
        instrument.Receive(request);
        ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    }
    EXPECT_EQ(instrument.ReceivedMessages().size(), requests.size());
    EXPECT_TRUE(capture.Drain().empty());
    EXPECT_TRUE(instrument.TransmittedMessages().empty());
}

TEST_F(InstrumentAnswers, IdentityRequestGetsTheReplyOfACs6x)
{
    const Bytes reply{
        0xF0, 0x7E, 0x7F, // universal non-real-time, to all
        0x06, 0x02,       // general information, identity reply
        0x43,             // Yamaha
        0x00, 0x41,       // family
        0x5C, 0x03,       // CS6x (a CS6R would say 5D 03)
        0x00, 0x00, 0x00, 0x01, // version
        0xF7,
    };
    for (const int device : {0x00, 0x05, 0x0F, 0x7F})
        EXPECT_EQ(Exchange({{0xF0, 0x7E, static_cast<std::uint8_t>(device), 0x06, 0x01, 0xF7}}),
                  std::vector<Bytes>{reply})
            << "device " << device;
}

// ---- Channel messages -----------------------------------------------------

using ChannelMessages = test::InstrumentHarness;

TEST_F(ChannelMessages, PresetVoiceSelectedThenRequestedFromTheEditBufferIsThatVoice)
{
    const auto answer = Exchange({
        {0xB0, 0x00, 0x3F}, // bank select MSB
        {0xB0, 0x20, 0x01}, // bank select LSB: PRE2
        {0xC0, 0x05},       // program 6
        sysex::DumpRequest(0x0E, 0x0F, 0x00),
    });
    ASSERT_EQ(answer.size(), 34u);
    const Bytes expected = instrument.StoredImage(bank::kPre2, 5);
    ASSERT_NE(expected, instrument.StoredImage(bank::kPre1, 0)); // differs from the power-on voice
    EXPECT_EQ(ApplyAnswer(answer, kNormalVoiceRegion), expected);
    EXPECT_EQ(answer.front(), sysex::BulkDump(0x0E, 0x0F, 0x00, {}));
}

TEST_F(ChannelMessages, EveryVoiceAndKitBankCanBeSelected)
{
    struct Case {
        int lsb, program;
        SoundKind kind;
    };
    for (const Case c : {Case{bank::kPre1, 127, SoundKind::NormalVoice}, Case{bank::kInt, 9, SoundKind::NormalVoice},
                         Case{bank::kExt, 100, SoundKind::NormalVoice}, Case{bank::kPreDrum, 7, SoundKind::DrumVoice},
                         Case{bank::kIntDrum, 1, SoundKind::DrumVoice}, Case{bank::kExtDrum, 0, SoundKind::DrumVoice},
                         Case{bank::kIntPerf, 77, SoundKind::Performance},
                         Case{bank::kExtPerf, 63, SoundKind::Performance}}) {
        Exchange({{0xB0, 0x00, 0x3F}, {0xB0, 0x20, static_cast<std::uint8_t>(c.lsb)},
                  {0xC0, static_cast<std::uint8_t>(c.program)}});
        EXPECT_EQ(instrument.EditBuffer(c.kind), instrument.StoredImage(c.lsb, c.program))
            << "bank " << c.lsb << " program " << c.program;
    }
}

TEST_F(ChannelMessages, SelectionsOutsideTheInstrumentsBanksChangeNothing)
{
    const Bytes voice = instrument.EditBuffer(SoundKind::NormalVoice);
    const Bytes kit = instrument.EditBuffer(SoundKind::DrumVoice);
    const Bytes performance = instrument.EditBuffer(SoundKind::Performance);
    Exchange({
        {0xB0, 0x00, 0x3F}, {0xB0, 0x20, 0x01}, {0xC1, 0x05}, // program change on channel 2
        {0xB1, 0x20, 0x00}, {0xC0, 0x06},                     // LSB on channel 2: PRE2 stays, program 7
    });
    const Bytes pre2Program7 = instrument.EditBuffer(SoundKind::NormalVoice);
    EXPECT_EQ(pre2Program7, instrument.StoredImage(bank::kPre2, 6));
    Exchange({
        {0xB0, 0x20, 0x28}, {0xC0, 0x02},                     // INT kit 3 does not exist
        {0xB0, 0x20, 0x18}, {0xC0, 0x00},                     // PLG1: no board
        {0xB0, 0x20, 0x41}, {0xC0, 0x40},                     // EXT perf 65 does not exist
        {0xB0, 0x00, 0x00}, {0xB0, 0x20, 0x00}, {0xC0, 0x09}, // GM bank: not modelled
    });
    EXPECT_EQ(instrument.EditBuffer(SoundKind::NormalVoice), pre2Program7);
    EXPECT_EQ(instrument.EditBuffer(SoundKind::DrumVoice), kit);
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), performance);
    EXPECT_NE(voice, pre2Program7);
}

// ---- Parameter changes ----------------------------------------------------

using ParameterChanges = test::InstrumentHarness;

TEST_F(ParameterChanges, ShowInTheNextDump)
{
    Exchange({
        {0xF0, 0x43, 0x10, 0x64, 0x31, 0x02, 0x0D, 0x55, 0xF7}, // part 3 volume := 0x55
        {0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x1F, 0x02, 0x2C, 0xF7}, // arpeggio tempo := 300, two bytes
    });
    const Bytes performance = ApplyAnswer(Request(0x4F, 0x00), kPerformanceRegion);
    const auto at = [&](int high, int mid, int low) {
        const ParameterMemory layout;
        return performance[static_cast<std::size_t>(layout.ByteAt(high, mid, low) - layout.image.data()) -
                           kPerformanceRegion.offset];
    };
    EXPECT_EQ(at(0x31, 0x02, 0x0D), 0x55);
    EXPECT_EQ(at(0x30, 0x00, 0x1F), 0x02);
    EXPECT_EQ(at(0x30, 0x00, 0x20), 0x2C);
}

TEST_F(ParameterChanges, AddressesOutsideTheDirectoryOrPastABlocksRoomAreIgnored)
{
    const SoundBanks stored = instrument.StoredSounds();
    const Bytes performance = instrument.EditBuffer(SoundKind::Performance);
    const Bytes kit = instrument.EditBuffer(SoundKind::DrumVoice);
    Exchange({
        ParameterChange(0x31, 0x10, 0x00, {0x11}),       // no part 17
        ParameterChange(0x33, 0x00, 0x00, {0x11}),       // no such area
        ParameterChange(0x47, 0x00, 0x3F, {0x11, 0x22}), // drum key block has 64 bytes of room
        ParameterChange(0x30, 0x00, 0x7F, {0x11, 0x22}), // would leave the 128-byte block
        ParameterChange(0x0E, 0x00, 0x05, {0x11}),       // bulk header scratch
        ParameterChange(0x30, 0x00, 0x05, {}),           // no data
        {0xF0, 0x43, 0x10, 0x64, 0x30, 0x00, 0x05, 0x91, 0xF7}, // high bit inside SysEx
    });
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), performance);
    EXPECT_EQ(instrument.EditBuffer(SoundKind::DrumVoice), kit);
    EXPECT_TRUE(instrument.StoredSounds() == stored);

    // The last byte of a drum key's room is still the key's own.
    Exchange({ParameterChange(0x47, 0x00, 0x3F, {0x11})});
    const std::uint8_t key1Block48 = kit[1024 + 64]; // 48 00 byte 0, right behind 47 00's room
    EXPECT_EQ(instrument.ReadMemory(PackAddress(0x47, 0x00, 0x3F), 2), (Bytes{0x11, key1Block48}));
}

TEST_F(ParameterChanges, SwitchesAreRecordedAsEventsInOrder)
{
    Exchange({
        ParameterChange(0x0A, 0x00, 0x11, {0x01}), // switch 11 pressed
        ParameterChange(0x0A, 0x00, 0x11, {0x00}), // and released
        ParameterChange(0x0A, 0x00, 0x10, {0x01}),
        ParameterChange(0x0A, 0x00, 0x12, {0x01}), // not a switch
    });
    const auto events = instrument.SwitchEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].switchNumber, 0x11);
    EXPECT_EQ(events[0].value, 0x01);
    EXPECT_EQ(events[1].switchNumber, 0x11);
    EXPECT_EQ(events[1].value, 0x00);
    EXPECT_EQ(events[2].switchNumber, 0x10);
    EXPECT_EQ(events[2].value, 0x01);
    EXPECT_LE(events[0].time, events[1].time);
    EXPECT_LE(events[1].time, events[2].time);
    EXPECT_EQ(instrument.ReadMemory(PackAddress(0x0A, 0x00, 0x10), 3), (Bytes{0, 0, 0})); // nothing written
}

// ---- Incoming bulks -------------------------------------------------------

using IncomingBulks = test::InstrumentHarness;

TEST_F(IncomingBulks, VoiceFramedForInt6IsStoredThereAndComesBackTheSame)
{
    Bytes voice = instrument.StoredImage(bank::kExt, 40);
    std::copy_n("Sent Voice", 10, voice.begin() + field::kVoiceName);
    const Bytes int5Before = instrument.StoredImage(bank::kInt, 4);
    const Bytes int7Before = instrument.StoredImage(bank::kInt, 6);

    const auto bulk = VoiceBulk(voice, 0x08, 0x05); // header 0E 08 05 ... footer 0F 08 05
    for (const Bytes& message : bulk)
        instrument.Receive(message);

    EXPECT_EQ(instrument.StoredImage(bank::kInt, 5), voice);
    EXPECT_EQ(ImageName(instrument.StoredImage(bank::kInt, 5), SoundKind::NormalVoice), "Sent Voice");
    EXPECT_EQ(instrument.EditBuffer(SoundKind::NormalVoice), voice);
    EXPECT_EQ(instrument.StoredImage(bank::kInt, 4), int5Before);
    EXPECT_EQ(instrument.StoredImage(bank::kInt, 6), int7Before);
    // Round trip: what was sent is what a request returns, message for message.
    EXPECT_EQ(Request(0x08, 0x05), bulk);
}

TEST_F(IncomingBulks, KitAndPerformanceFootersStoreTheirEditBuffers)
{
    // Load EXT kit 1 and INT perf 10 into the edit buffers, then send them
    // back framed for INT kit 2 and EXT perf 64.
    Exchange({{0xB0, 0x00, 0x3F}, {0xB0, 0x20, 0x29}, {0xC0, 0x00}, {0xB0, 0x20, 0x40}, {0xC0, 0x09}});
    const Bytes kit = instrument.StoredImage(bank::kExtDrum, 0);
    const Bytes performance = instrument.StoredImage(bank::kIntPerf, 9);
    for (const Bytes& m : Request(0x2F, 0x00)) {
        const auto fields = sysex::ReadBulkDump(m);
        instrument.Receive(fields->IsHeaderOrFooter() ? sysex::BulkDump(fields->high, 0x28, 0x01, {}) : m);
    }
    for (const Bytes& m : Request(0x4F, 0x00)) {
        const auto fields = sysex::ReadBulkDump(m);
        instrument.Receive(fields->IsHeaderOrFooter() ? sysex::BulkDump(fields->high, 0x41, 0x3F, {}) : m);
    }
    EXPECT_EQ(instrument.StoredImage(bank::kIntDrum, 1), kit);
    EXPECT_EQ(instrument.StoredImage(bank::kExtPerf, 63), performance);
}

TEST_F(IncomingBulks, BadChecksumChangesNothing)
{
    const SoundBanks stored = instrument.StoredSounds();
    const Bytes performance = instrument.EditBuffer(SoundKind::Performance);
    Bytes block = sysex::BulkDump(0x30, 0x00, 0x00, Bytes(68, 0x33));
    block[block.size() - 2] ^= 0x01; // checksum off by one
    instrument.Receive(block);
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), performance);

    // A header with a bad checksum opens nothing, so its footer stores nothing.
    auto bulk = VoiceBulk(Bytes(3072, 0x22), 0x08, 0x05);
    bulk.front()[9] ^= 0x01;
    for (const Bytes& message : bulk)
        instrument.Receive(message);
    EXPECT_TRUE(instrument.StoredSounds() == stored);
    // Its blocks are valid and reach the edit buffer they address.
    for (const BulkBlock& b : BulkBlocks(SoundKind::NormalVoice))
        EXPECT_EQ(instrument.ReadMemory(b.address, static_cast<std::size_t>(b.count)),
                  Bytes(static_cast<std::size_t>(b.count), 0x22));
}

TEST_F(IncomingBulks, FootersThatDoNotCloseTheirHeaderOrNameAPresetStoreNothing)
{
    const SoundBanks stored = instrument.StoredSounds();
    for (auto [mid, headerLow, footerLow] : {std::tuple{0x08, 0x05, 0x06}, // footer for another program
                                             std::tuple{0x00, 0x05, 0x05}}) { // PRE1 is read-only
        auto bulk = VoiceBulk(Bytes(3072, 0x22), mid, headerLow);
        bulk.back() = sysex::BulkDump(0x0F, mid, footerLow, {});
        for (const Bytes& message : bulk)
            instrument.Receive(message);
    }
    auto headless = VoiceBulk(Bytes(3072, 0x23), 0x08, 0x05);
    headless.erase(headless.begin()); // no header at all
    for (const Bytes& message : headless)
        instrument.Receive(message);
    EXPECT_TRUE(instrument.StoredSounds() == stored);
}

// ---- Front panel ----------------------------------------------------------

using FrontPanel = test::InstrumentHarness;

TEST_F(FrontPanel, SelectingAPerformanceLoadsAndAnnouncesIt)
{
    const Bytes voice = instrument.EditBuffer(SoundKind::NormalVoice);
    ASSERT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, 5), PanelOutcome::Selected);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    EXPECT_EQ(capture.Drain(), (std::vector<Bytes>{
                                   {0xB0, 0x00, 0x3F}, // bank select MSB
                                   {0xB0, 0x20, 0x40}, // bank select LSB: INT perf
                                   {0xC0, 0x05},       // program change, performance 6
                               }));
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), instrument.StoredImage(bank::kIntPerf, 5));
    EXPECT_EQ(instrument.EditBuffer(SoundKind::NormalVoice), voice); // the voice edit buffer is not part of it

    ASSERT_EQ(instrument.SelectPerformance(PerformanceBank::External, 63), PanelOutcome::Selected);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    EXPECT_EQ(capture.Drain(), (std::vector<Bytes>{{0xB0, 0x00, 0x3F}, {0xB0, 0x20, 0x41}, {0xC0, 0x3F}}));
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), instrument.StoredImage(bank::kExtPerf, 63));
}

TEST_F(FrontPanel, NumbersOutsideTheBankSelectNothing)
{
    const Bytes performance = instrument.EditBuffer(SoundKind::Performance);
    EXPECT_EQ(instrument.SelectPerformance(PerformanceBank::External, 64), PanelOutcome::NoSuchPerformance);
    EXPECT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, 128), PanelOutcome::NoSuchPerformance);
    EXPECT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, -1), PanelOutcome::NoSuchPerformance);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    EXPECT_TRUE(capture.Drain().empty());
    EXPECT_EQ(instrument.EditBuffer(SoundKind::Performance), performance);
}

// ---- Threads --------------------------------------------------------------

TEST(InstrumentThreads, ConcurrentSendersAllLandAndAnswersStayWhole)
{
    EmulatedInstrument instrument(InstrumentOptions::ForUnitTests());
    test::Capture capture;
    instrument.SetTransmitSink([&](std::span<const std::uint8_t> m) { capture.Take(m); });

    constexpr int kWriters = 4;
    constexpr int kRequests = 6;
    std::vector<std::jthread> threads;
    for (int w = 0; w < kWriters; ++w)
        threads.emplace_back([&, w] {
            // Each writer owns four parts and sets all 37 bytes of each.
            for (int part = 4 * w; part < 4 * w + 4; ++part)
                for (int low = 0; low < 37; ++low)
                    instrument.Receive(sysex::ParameterChange(0x31, part, low,
                                                              Bytes{static_cast<std::uint8_t>((part + low) & 0x7F)}));
        });
    threads.emplace_back([&] {
        for (int i = 0; i < kRequests; ++i)
            instrument.Receive(sysex::DumpRequest(0x0E, i % 2 ? 0x0F : 0x4F, 0x00));
    });
    threads.clear(); // joins

    const std::size_t total = kWriters * 4 * 37 + kRequests;
    ASSERT_EQ(instrument.WaitForReceived(total, kWait), WaitOutcome::Reached);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    for (int part = 0; part < 16; ++part)
        for (int low = 0; low < 37; ++low)
            ASSERT_EQ(instrument.ReadMemory(PackAddress(0x31, part, low), 1)[0], (part + low) & 0x7F);

    // Six answers of 34, each one contiguous from its header to its footer.
    const auto out = capture.Drain();
    ASSERT_EQ(out.size(), kRequests * 34u);
    for (std::size_t a = 0; a < kRequests; ++a) {
        const int mid = out[a * 34][7];
        EXPECT_EQ(out[a * 34], sysex::BulkDump(0x0E, mid, 0x00, {}));
        EXPECT_EQ(out[a * 34 + 33], sysex::BulkDump(0x0F, mid, 0x00, {}));
    }
}

TEST(InstrumentThreads, SinkMayAnswerBackIntoTheInstrument)
{
    // Like an editor that requests the performance whenever a program change
    // arrives: the request is sent from inside the sink.
    EmulatedInstrument instrument(InstrumentOptions::ForUnitTests());
    test::Capture capture;
    instrument.SetTransmitSink([&](std::span<const std::uint8_t> m) {
        capture.Take(m);
        if (m.size() == 2 && m[0] == 0xC0)
            instrument.Receive(sysex::DumpRequest(0x0E, 0x4F, 0x00));
    });
    ASSERT_EQ(instrument.SelectPerformance(PerformanceBank::Internal, 3), PanelOutcome::Selected);
    ASSERT_EQ(instrument.WaitForReceived(1, kWait), WaitOutcome::Reached);
    ASSERT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
    const auto out = capture.Drain();
    ASSERT_EQ(out.size(), 3u + 34u);
    EXPECT_EQ(ApplyAnswer({out.begin() + 3, out.end()}, kPerformanceBlocks),
              instrument.StoredImage(bank::kIntPerf, 3));
}

TEST(InstrumentStart, GivenBanksAreItsStoredSoundsAndFillThePowerOnEditBuffers)
{
    SoundBanks banks;
    std::copy_n("Given     ", 10, banks.MutableImage(bank::kPre1, 0).begin() + field::kVoiceName);
    banks.MutableImage(bank::kInt, 7)[0] = 0x55;
    const EmulatedInstrument instrument(InstrumentOptions::ForUnitTests(), banks);
    EXPECT_EQ(instrument.StoredSounds(), banks);
    EXPECT_EQ(ImageName(instrument.EditBuffer(SoundKind::NormalVoice), SoundKind::NormalVoice), "Given");
}

} // namespace
} // namespace cs6::sim
