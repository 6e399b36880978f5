// Stored sounds, their requests and the data files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/FileIo.h"
#include "synth/BankFiles.h"
#include "synth/BulkSequences.h"
#include "synth/NameTables.h"
#include "synth/SysExMessages.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

using test::Batch;
using test::Bytes;
namespace fs = std::filesystem;

void SetName(std::uint8_t* at, const std::string& ten)
{
    std::fill(at, at + 10, ' ');
    std::copy(ten.begin(), ten.end(), at);
}

// A whole normal-voice answer whose name block names the voice.
Batch VoiceAnswer(int mid, int low, const std::string& name, std::uint8_t category)
{
    ParameterMemory memory;
    memory.image.fill(0x11);
    SetName(memory.ByteAt(0x40, 0x70, 0), name);
    *memory.ByteAt(0x40, 0x70, 12) = category;
    return BuildBulk(memory, DumpType::NormalVoice, mid, low);
}

Batch DrumAnswer(int mid, int low)
{
    ParameterMemory memory;
    memory.image.fill(0x22);
    return BuildBulk(memory, DumpType::DrumVoice, mid, low);
}

class StoredSoundsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.Attach(device);
        InitNameTables();
        internalBank = externalBank = {};
        internalDrums = externalDrums = {};
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    test::FakeInstrumentLink link;
    SynthDevice device;
    const fs::path dir = fs::temp_directory_path() / ("cs6-banks-" + std::to_string(::getpid()));
};

TEST_F(StoredSoundsTest, NamesLoseTrailingBlanksAndCategoryCodesStayInsideTheTable)
{
    NormalVoice voice;
    DrumVoice kit;
    Performance performance;
    EXPECT_EQ(voice.GetName(), ""); // zero bytes: an empty name
    for (const std::string name : {"Analog", "Two Words"}) {
        SetName(&voice.image[896], name);
        SetName(&kit.image[768], name);
        SetName(&performance.image[0], name);
        EXPECT_EQ(std::tuple(voice.GetName(), kit.GetName(), performance.GetName()), std::tuple(name, name, name));
    }
    for (const auto& [code, expected] : {std::pair<std::uint8_t, std::string>{21, "Wv"}, {23, ""}, {0x7F, ""}}) {
        voice.image[908] = code;
        EXPECT_EQ(voice.GetCategoryCode(), expected) << int(code);
    }
}

TEST_F(StoredSoundsTest, APresetVoiceIsSelectedThenReadFromTheEditBuffer)
{
    NormalVoice voice(0x3F, 0x01, 0x05); // PRE2, program 6
    link.batches.push_back(VoiceAnswer(0x0F, 0x00, "Pad Sweep", 12));
    EXPECT_EQ(voice.RequestFromDevice(device), DumpOutcome::Complete);
    EXPECT_EQ(link.sent, (std::vector<Bytes>{
                             {0xB0, 0x00, 0x3F},                             // bank select MSB
                             {0xB0, 0x20, 0x01},                             // bank select LSB: PRE2
                             {0xC0, 0x05},                                   // program change
                             {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x0F, 0x00, 0xF7}, // the normal-voice edit buffer
                         }));
    EXPECT_EQ(voice.GetName(), "Pad Sweep");
    EXPECT_EQ(voice.GetCategoryCode(), "Pd");

    // A PRE kit the same way, through the drum edit buffer; user sounds are
    // requested by location (EachUserBankIsWrittenOnlyWhenItCameComplete).
    DrumVoice kit(0x3F, 0x20, 0x03);
    link.batches.push_back(DrumAnswer(0x2F, 0x00));
    EXPECT_EQ(kit.RequestFromDevice(device), DumpOutcome::Complete);
    EXPECT_EQ(link.sent.back(), (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x2F, 0x00, 0xF7}));
    EXPECT_EQ(std::tuple(link.sent.size(), kit.image[0]), std::tuple(8u, 0x22));
}

TEST_F(StoredSoundsTest, AnUnansweredRequestKeepsTheSoundsImage)
{
    NormalVoice voice(0x3F, 0x08, 0x02);
    SetName(&voice.image[896], "Keep Me");
    // The memory holds another voice, as after a previous fetch.
    SetName(device.ByteAt(0x40, 0x70, 0), "Previous");
    EXPECT_EQ(voice.RequestFromDevice(device), DumpOutcome::NotAnswered);
    link.batches.push_back(VoiceAnswer(0x08, 0x02, "Half", 1));
    link.batches.back().resize(20);
    EXPECT_EQ(voice.RequestFromDevice(device), DumpOutcome::Incomplete);
    EXPECT_EQ(voice.GetName(), "Keep Me");
}

TEST_F(StoredSoundsTest, SendToDeviceCopiesTheImageIntoItsRegionFirst)
{
    Performance performance(0x3F, 0x4F, 0x00);
    SetName(&performance.image[0], "Init Perf");
    performance.image[4096] = 0x12; // behind the performance blocks, in the voice region
    performance.SendToDevice(device);
    EXPECT_EQ(*device.ByteAt(0x30, 0x00, 0), 'I');
    EXPECT_EQ(*device.ByteAt(0x40, 0x00, 0), 0x12);
    ASSERT_EQ(link.sent.size(), 34u);
    EXPECT_EQ(link.sent.front(), sysex::BulkDump(0x0E, 0x4F, 0x00, {}));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[1])->data[0], 'I'); // sent after the copy
}

// "Receive INT, EXT patches": each bank is fetched in full, 130 requests by
// location, and written on its own; a bank that is not written keeps in
// memory what its file holds.
TEST_F(StoredSoundsTest, EachUserBankIsWrittenOnlyWhenItCameComplete)
{
    struct Row {
        const char* what;
        int badIntEntry;     // -1: none
        bool extAnswers;     // false: no EXT card, nothing answers
        bool intUnwritable;  // its temporary file cannot be made
        int cancelAt;        // progress stops here; 0: never
        std::size_t requests;
        bool intWritten, extWritten;
        const char* intLine;
        const char* extLine;
    };
    const Row rows[] = {
        {"no EXT card costs two requests", -1, false, false, 0, 132, true, false,
         "INT bank: all 130 patches received, patches_int.bnk written.",
         "EXT bank: the instrument does not answer for it (no answer to its first two requests); "
         "patches_ext.bnk was not changed."},
        {"one unanswered INT entry keeps INT, EXT written", 7, true, false, 0, 260, false, true,
         "INT bank: 1 of 130 patches did not answer; patches_int.bnk was not changed.",
         "EXT bank: all 130 patches received, patches_ext.bnk written."},
        {"an INT file error still writes EXT", -1, true, true, 0, 260, false, true,
         "INT bank: all patches received, but patches_int.bnk could not be written",
         "EXT bank: all 130 patches received, patches_ext.bnk written."},
        {"cancel stops both", -1, true, false, 3, 3, false, false,
         "INT bank: cancelled; patches_int.bnk was not changed.", "EXT bank: cancelled; patches_ext.bnk was not changed."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        link = {};
        link.Attach(device);
        for (auto* bank : {&internalBank, &externalBank})
            for (auto& voice : *bank)
                SetName(&voice.image[896], "On Disk");
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (row.intUnwritable)
            fs::create_directory(dir / "patches_int.bnk.tmp");
        for (int program = 0; program < 128; ++program) {
            Batch answer = VoiceAnswer(0x08, program, "V" + std::to_string(program), 3);
            if (program == row.badIntEntry)
                answer[4][10] ^= 1; // a checksum that does not add up
            link.batches.push_back(answer);
        }
        link.batches.push_back(DrumAnswer(0x28, 0));
        link.batches.push_back(DrumAnswer(0x28, 1));
        for (int program = 0; program < 130 && row.extAnswers; ++program)
            link.batches.push_back(program < 128 ? VoiceAnswer(0x09, program, "Fetched", 3) : DrumAnswer(0x29, program - 128));

        int calls = 0;
        const auto receipts = ReceiveUserBanks(device, dir, [&](int done, int total) {
            EXPECT_EQ(total, 260);
            EXPECT_EQ(done, ++calls);
            return done != row.cancelAt;
        });
        EXPECT_EQ(link.sent.size(), row.requests);
        EXPECT_EQ(receipts[0].written, row.intWritten);
        EXPECT_EQ(receipts[1].written, row.extWritten);
        EXPECT_EQ(receipts[0].Describe().rfind(row.intLine, 0), 0u) << receipts[0].Describe();
        EXPECT_EQ(receipts[1].Describe(), row.extLine);
        EXPECT_EQ(fs::exists(dir / kIntBankFileName), row.intWritten);
        EXPECT_EQ(fs::exists(dir / kExtBankFileName), row.extWritten);
        EXPECT_EQ(internalBank[5].GetName(), row.intWritten ? "V5" : "On Disk");
        EXPECT_EQ(externalBank[0].GetName(), row.extWritten ? "Fetched" : "On Disk");
        if (row.requests < 130)
            continue;
        // The INT bank's requests by location, and where its answers went.
        EXPECT_EQ(link.sent[5], (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x05, 0xF7}));
        EXPECT_EQ(link.sent[128], (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x28, 0x00, 0xF7}));
        EXPECT_EQ(link.sent[129], (Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x28, 0x01, 0xF7}));
        if (row.intWritten) {
            EXPECT_EQ(std::tuple(internalBank[5].bankLsb, internalBank[5].program, internalDrums[1].bankLsb,
                                 internalDrums[1].image[0], bankTable[kBankInt].NormalVoiceAt(5)->GetName()),
                      std::tuple(0x08, 0x05, 0x28, 0x22, "V5"));
        }
    }
}

TEST_F(StoredSoundsTest, UserBankFilesRoundTripByteForByte)
{
    for (int program = 0; program < 128; ++program) {
        internalBank[static_cast<std::size_t>(program)] = NormalVoice(0x3F, 0x08, static_cast<std::uint8_t>(program));
        internalBank[static_cast<std::size_t>(program)].image[program * 7 % 3072] = static_cast<std::uint8_t>(program);
    }
    internalDrums[1] = DrumVoice(0x3F, 0x28, 1);
    internalDrums[1].image[8191] = 0x7E;
    const fs::path file = dir / kIntBankFileName;
    SaveUserBank(file, internalBank, internalDrums);
    const Bytes bytes = ReadWholeFile(file);
    ASSERT_EQ(bytes.size(), 409990u);
    EXPECT_EQ(Bytes(bytes.begin() + 3072, bytes.begin() + 3075), (Bytes{0x3F, 0x08, 0x00})); // after the first image
    EXPECT_EQ(bytes[3075 + 3074], 0x01);

    std::array<NormalVoice, 128> bank;
    std::array<DrumVoice, 2> drums;
    EXPECT_EQ(LoadUserBank(file, bank, drums), FileLoad::Complete);
    EXPECT_EQ(SerializeUserBank(bank, drums), bytes);
}

TEST_F(StoredSoundsTest, AShortOrMissingUserBankLeavesTheRestAsItWas)
{
    std::array<NormalVoice, 128> bank;
    std::array<DrumVoice, 2> drums;
    SetName(&bank[2].image[896], "Untouched");
    bank[1].program = 99;
    Bytes bytes(3075 + 100, 0x41);
    EXPECT_EQ(LoadUserBankFromBytes(bytes, bank, drums), FileLoad::Short);
    EXPECT_EQ(bank[0].program, 0x41);
    EXPECT_EQ(bank[1].image[99], 0x41);  // the part of the image the file reached
    EXPECT_EQ(bank[1].image[100], 0x00); // and not beyond
    EXPECT_EQ(bank[1].program, 99);
    EXPECT_EQ(bank[2].GetName(), "Untouched");

    EXPECT_EQ(LoadUserBank(dir / "patches_ext.bnk", bank, drums), FileLoad::Missing);
    EXPECT_EQ(bank[2].GetName(), "Untouched");
}

TEST_F(StoredSoundsTest, PresetFileFillsBothPresetBanksAndTheKits)
{
    Bytes bytes(kPresetBankFileSize, 0);
    bytes[128 * 3075 + 3073] = 0x01;           // PRE2 #1 bank LSB
    bytes[256 * 3075 + 7 * 8195 + 8194] = 7;   // PRE drum #8 program
    EXPECT_EQ(LoadPresetBanksFromBytes(bytes), FileLoad::Complete);
    EXPECT_EQ(presetBank2[0].bankLsb, 0x01);
    EXPECT_EQ(presetDrums[7].program, 7);
}

TEST_F(StoredSoundsTest, AShortInitialPerformanceIsFollowedByZeros)
{
    initialPerformance.image.fill(0x55);
    std::ofstream(dir / kInitialPerformanceFileName, std::ios::binary) << std::string(100, 'A');
    EXPECT_EQ(LoadInitialPerformance(dir / kInitialPerformanceFileName), FileLoad::Short);
    Performance expected(0x3F, 0x4F, 0x00);
    std::fill_n(expected.image.begin(), 100, 'A');
    EXPECT_EQ(initialPerformance.image, expected.image);
    EXPECT_EQ(std::tuple(initialPerformance.bankMsb, initialPerformance.bankLsb, initialPerformance.program),
              std::tuple(0x3F, 0x4F, 0x00));
}

} // namespace
} // namespace cs6
