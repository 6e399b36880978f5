// The performance library against the emulated instrument, wired straight to
// the device: fetching, storing with a backup, restoring, and an instrument
// that falls silent part way. On the same wiring, "Receive PRE patches".
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "framework/FileIo.h"
#include "sim/EmulatedInstrument.h"
#include "sim/DataFiles.h"
#include "sim/FactoryContents.h"
#include "synth/NameTables.h"
#include "synth/PerformanceLibrary.h"
#include "synth/PresetFetch.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const sim::SoundBanks& Factory()
{
    static const sim::SoundBanks banks = sim::MakeFactoryBanks();
    return banks;
}

class PerformanceLibraryTest : public ::testing::Test {
protected:
    PerformanceLibraryTest()
    {
        InitNameTables();
        link.instrument = &instrument;
        link.Attach(device);
        fs::remove_all(folder);
        fs::create_directories(folder);
        // The performance being edited, which no fetch may disturb.
        device.Memory().Region(kPerformanceBlocks)[0] = 'E';
    }
    ~PerformanceLibraryTest() override { fs::remove_all(folder); }

    Bytes Edited() const
    {
        const auto blocks = device.Memory().Region(kPerformanceBlocks);
        return {blocks.begin(), blocks.end()};
    }
    Bytes Stored(PerformanceLocation at) const { return instrument.StoredImage(at.bankLsb, at.program); }
    static Bytes Blocks(const FilePerformance& p) { return {p.blocks.begin(), p.blocks.end()}; }
    void Silence() { instrument.SetFaults({.noAnswer = true}, sim::FaultScope::UntilCleared); }

    // Everything a failed command must leave as it was.
    auto State() const
    {
        return std::tuple{library.Performances(), fs::exists(library.File()) ? ReadWholeFile(library.File()) : Bytes{},
                          library.History().size(), instrument.StoredSounds(), Edited()};
    }

    const fs::path folder = fs::temp_directory_path() / ("cs6-library-" + std::to_string(::getpid()));
    sim::EmulatedInstrument instrument{sim::InstrumentOptions::ForUnitTests(), Factory()};
    test::FakeInstrumentLink link;
    SynthDevice device;
    PerformanceLibrary library{folder};
    const PerformanceLocation int5{bank::kIntPerf, 4};
};

TEST_F(PerformanceLibraryTest, ReceiveListsWhatTheInstrumentStoresAndLeavesTheEditedPerformance)
{
    const Bytes edited = Edited();
    const Bytes editBuffer = instrument.EditBuffer(DumpType::Performance);
    const auto receipts = library.Receive(device);
    ASSERT_TRUE(receipts[0].replaced && receipts[1].replaced) << receipts[0].Describe() << receipts[1].Describe();

    ASSERT_EQ(library.Performances().size(), 192u);
    for (const FilePerformance& p : library.Performances()) {
        ASSERT_EQ(Blocks(p), Stored(p.location)) << LocationLabel(p.location);
        EXPECT_EQ(p.Name(), StoredName(Stored(p.location).data()));
    }
    EXPECT_EQ(LocationLabel(library.Performances()[127].location), "INT 128");
    EXPECT_EQ(LocationLabel(library.Performances()[128].location), "EXT 01");
    EXPECT_EQ(Edited(), edited);
    EXPECT_EQ(instrument.EditBuffer(DumpType::Performance), editBuffer);
    PerformanceLibrary reread(folder);
    EXPECT_EQ(reread.Load(), "");
    EXPECT_EQ(reread.Performances(), library.Performances());
}

// An instrument that vanishes part way keeps the library (a cancel:
// PerformanceLibraryWindowTest::cancelOrADamagedFileLeavesTheTableAsTheLibraryWas).
TEST_F(PerformanceLibraryTest, AnInstrumentLostPartWayKeepsThePreviousLibrary)
{
    ASSERT_TRUE(library.Receive(device)[0].replaced);
    instrument.Receive(sysex::BulkDump(0x0E, bank::kIntPerf, 2, {})); // INT 003 changes on the instrument
    instrument.Receive(sysex::BulkDump(0x30, 0x00, 0x00, Bytes(64, 'Z')));
    instrument.Receive(sysex::BulkDump(0x0F, bank::kIntPerf, 2, {}));
    ASSERT_NE(Blocks(*library.Find({bank::kIntPerf, 2})), Stored({bank::kIntPerf, 2}));

    const auto before = State();
    const auto receipts = library.Receive(device, [&](int done, int) {
        if (done == 50)
            Silence();
        return true;
    });
    instrument.ClearFaults();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(receipts[0].fetch.lost);
    EXPECT_EQ(receipts[0].fetch.requested, 53);
    EXPECT_FALSE(receipts[1].replaced) << receipts[1].Describe();
}

TEST_F(PerformanceLibraryTest, StoreKeepsTheReplacedPerformanceInTheHistoryFromWhereItIsRestored)
{
    const Bytes old = Stored(int5);
    const FilePerformance edited = FilePerformance::FromMemory(device.Memory(), int5);
    const StoreOutcome store = library.Store(device, {&edited, 1}, {});
    ASSERT_TRUE(store.sent && store.backedUp) << store.message;
    EXPECT_EQ(Stored(int5), Blocks(edited));
    EXPECT_EQ(*library.Find(int5), edited);

    const auto history = library.History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].file, store.backup);
    EXPECT_EQ(history[0].what, "INT 005 \"" + StoredName(old.data()) + "\"");
    const StoreOutcome restore = library.Restore(device, history[0], {});
    ASSERT_TRUE(restore.sent) << restore.message;
    EXPECT_EQ(Stored(int5), old);
    EXPECT_EQ(library.History().size(), 2u); // the restore replaced something too
    EXPECT_EQ(library.History()[0].file, restore.backup);
}

// The preset file becomes the instrument's presets, read between the two
// switch pulses, and the instrument gets back the performance being edited;
// a silent instrument leaves the file as it was.
TEST_F(PerformanceLibraryTest, PresetFetchWritesTheInstrumentsPresetsAndPutsBackTheEditedPerformance)
{
    const Bytes shipped(kPresetBankFileSize, 0x55);
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent" : "answering");
        WriteFileAtomically(folder / kPresetBankFileName, shipped);
        if (silent)
            Silence();
        instrument.ClearLogs();
        const BankReceipt receipt = ReceivePresetBanks(device, folder);
        EXPECT_EQ(receipt.written, !silent) << receipt.Describe();
        EXPECT_EQ(ReadWholeFile(folder / kPresetBankFileName),
                  silent ? shipped : sim::BankFileBytes(Factory(), sim::BankFile::Preset));
        const auto switches = instrument.SwitchEvents();
        ASSERT_EQ(switches.size(), 4u);
        EXPECT_EQ(switches.front().switchNumber, kSwitchBeforeRead);
        EXPECT_EQ(switches.back().switchNumber, kSwitchAfterRead);
        EXPECT_EQ(instrument.EditBuffer(DumpType::Performance), Edited());
    }
    EXPECT_EQ(presetBank2[127].GetName(), StoredName(&Factory().Image(bank::kPre2, 127)[NormalVoice::kNameOffset]));
}

} // namespace
} // namespace cs6
