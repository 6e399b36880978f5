// Performance files: a save opens to the same bytes, the library keeps stored
// locations, a bad file is refused whole with its reason.
#include "synth/PerformanceFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

#include "framework/FileIo.h"
#include "synth/BulkSequences.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

using test::Bytes;
using Messages = std::vector<sysex::Message>;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

// Every byte of the memory from the seed on, the performance named.
void Fill(ParameterMemory& memory, int seed, const std::string& name)
{
    for (std::size_t i = 0; i < memory.image.size(); ++i)
        memory.image[i] = static_cast<std::uint8_t>((seed + static_cast<int>(i)) & 0x7F);
    std::copy(name.begin(), name.end(), memory.ByteAt(0x30, 0x00, 0x00));
}

Bytes Joined(const Messages& messages)
{
    Bytes bytes;
    for (const auto& message : messages)
        bytes.insert(bytes.end(), message.begin(), message.end());
    return bytes;
}

class PerformanceFileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    const fs::path folder = fs::temp_directory_path() / ("cs6-syx-" + std::to_string(::getpid()));
};

TEST(PerformanceFileRefusal, ABadFileGivesItsReasonAndNothingElse)
{
    ParameterMemory memory;
    Fill(memory, 7, "Good");
    const Messages good = BuildBulk(memory, DumpType::Performance, 0x4F, 0x00);
    const auto edited = [&good](const std::function<void(Messages&)>& change) {
        Messages messages = good;
        change(messages);
        return Joined(messages);
    };
    struct Case {
        const char* what;
        Bytes bytes;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"0 bytes", {}, "an empty file"},
        {"text", {'h', 'i'}, "not a file of SysEx messages"},
        {"truncated", edited([](Messages& m) { m.back().resize(5); }), "ends in the middle of a message at byte 1438"},
        {"cut by a message", edited([](Messages& m) { m[1].back() = 0xF0; }), "at byte 11 is cut short by byte 89"},
        {"wrong model", edited([](Messages& m) { m[0][3] = 0x4C; }), "another instrument's message at byte 0"},
        {"parameter change", edited([](Messages& m) { m[2][2] = 0x10; }), "message 3 of 34 is not a bulk dump"},
        {"bad checksum", edited([](Messages& m) { m[11][m[11].size() - 2] ^= 1; }), "message 12 of 34: checksum"},
        {"33 messages", edited([](Messages& m) { m.erase(m.begin() + 5); }), "33 messages: a performance has 34"},
        {"no footer", edited([](Messages& m) { m.pop_back(); }), "33 messages: a performance has 34"},
        {"a voice bulk", Joined(BuildBulk(memory, DumpType::NormalVoice, 0x0F, 0)), "a voice, not a performance"},
        {"garbage between messages", edited([](Messages& m) { m[0].push_back(0x00); }), "byte 11 is outside any"},
        {"header and footer disagree", edited([](Messages& m) { m[33] = sysex::BulkDump(0x0F, 0x4F, 1, {}); }),
         "message 34 of 34: header 0E 4F 00 and footer 0F 4F 01 disagree"},
        {"EXT 65", edited([](Messages& m) { m[0] = sysex::BulkDump(0x0E, 0x41, 64, {}); }),
         "bulk header 0E 41 40 locates no performance"},
        {"a voice block", edited([](Messages& m) { m[5] = sysex::BulkDump(0x40, 0, 0, Bytes(13)); }),
         "message 6 of 34: block 40 00 00 is outside the performance"},
        {"a block twice", edited([](Messages& m) { m[6] = m[5]; }), "message 7 of 34: block 30 04 00 a second time"},
        {"a short block", edited([](Messages& m) { m[1] = sysex::BulkDump(0x30, 0, 0, Bytes(60)); }),
         "block 30 00 00 carries 60 bytes, not 68"},
        {"second performance cut", edited([&good](Messages& m) { m.insert(m.end(), good.begin(), good.end() - 1); }),
         "message 35 has 33 messages"},
        {"50 MB", Bytes(50 << 20, 0xF0), "too large for a file of performances"},
    };
    for (const Case& c : cases) {
        const PerformanceRead read = ParsePerformances(c.bytes);
        EXPECT_THAT(read.error, HasSubstr(c.reason)) << c.what;
        EXPECT_TRUE(read.performances.empty()) << c.what;
    }
}

TEST_F(PerformanceFileTest, SaveWritesWhatTransmitSendsAndOpensToTheSameBytes)
{
    test::FakeInstrumentLink link;
    SynthDevice device;
    link.Attach(device);
    Fill(device.Memory(), 3, "Round Trip");
    const fs::path file = folder / "one.syx";
    SavePerformanceFile(file, device.Memory());
    device.SendPerformance(0x3F, 0x4F, 0x00);
    const Bytes saved = ReadWholeFile(file);
    EXPECT_EQ(saved, Joined(link.sent));

    const PerformanceRead read = ReadPerformanceFile(file);
    ASSERT_EQ(read.performances.size(), 1u) << read.error;
    EXPECT_EQ(read.performances[0].location, PerformanceLocation{});

    SynthDevice other;
    other.Memory().image.fill(0x55);
    auto expected = other.Memory().image;
    ApplyPerformance(other, read.performances[0]);
    EXPECT_EQ(SerializePerformance(other.Memory()), saved);
    const auto blocks = other.Memory().Region(kPerformanceBlocks);
    std::copy(blocks.begin(), blocks.end(), expected.begin() + kPerformanceBlocks.offset);
    EXPECT_EQ(other.Memory().image, expected) << "only the blocks changed";
}

TEST_F(PerformanceFileTest, TheLibraryKeepsStoredLocationsAndABadOneIsKeptAside)
{
    std::vector<FilePerformance> library;
    for (const auto& [code, program, name] : {std::tuple{bank::kIntPerf, 0, "First"}, {bank::kIntPerf, 127, "Last INT"},
                                              {bank::kExtPerf, 63, "Last EXT"}}) {
        ParameterMemory memory;
        Fill(memory, program, name);
        library.push_back(FilePerformance::FromMemory(memory, {code, program}));
    }
    const fs::path path = folder / kLibraryFileName;
    SaveLibrary(path, library);
    const Bytes saved = ReadWholeFile(path);
    // F0 43 00 64, count 00 00, header 0E 40 00 (INT 1), checksum, F7.
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 11),
              (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x40, 0x00, 0x32, 0xF7}));
    LibraryLoad load = LoadLibrary(path);
    EXPECT_EQ(load.performances, library) << load.problem;
    EXPECT_EQ(SerializeLibrary(load.performances), saved);

    // 50 MB of zeros (sparse, so cheap to make) beside an older bad library.
    const Bytes older{0xF0, 0xF7};
    WriteFileAtomically(folder / "performances.syx.bad", older);
    fs::resize_file(path, 50 << 20);
    load = LoadLibrary(path);
    EXPECT_THAT(load.problem, HasSubstr("performances.syx: too large"));
    EXPECT_THAT(load.problem, HasSubstr("kept as performances.syx.bad.2"));
    EXPECT_TRUE(load.performances.empty() && load.mayBeSaved && !fs::exists(path));
    EXPECT_EQ(ReadWholeFile(folder / "performances.syx.bad"), older);
    EXPECT_EQ(fs::file_size(folder / "performances.syx.bad.2"), 50u << 20);

    load = LoadLibrary(path); // none yet: an empty library, nothing to report
    EXPECT_TRUE(load.problem.empty() && load.performances.empty());
}

} // namespace
} // namespace cs6
