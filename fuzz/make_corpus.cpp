// Writes the seed corpus of the fuzz targets: real traffic and real files,
// built by the same code the editor and the emulated instrument use.
//
//   fuzz_make_corpus DIR    writes DIR/<target>/<seed> (fuzz/corpus in the tree)

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "framework/FileIo.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/SampleSettings.h"
#include "midi/MidiSettings.h"
#include "sim/DataFiles.h"
#include "sim/FactoryContents.h"
#include "synth/PerformanceFile.h"
#include "synth/SysExMessages.h"

namespace {

using namespace cs6;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class Corpus {
public:
    explicit Corpus(fs::path root) : root_(std::move(root)) {}

    void Write(std::string_view target, std::string_view seed, const Bytes& bytes) const
    {
        const fs::path directory = root_ / target;
        fs::create_directories(directory);
        WriteFileAtomically(directory / seed, bytes);
    }

private:
    fs::path root_;
};

Bytes Joined(const std::vector<sysex::Message>& messages, Bytes prefix = {})
{
    for (const auto& message : messages)
        fuzz::AppendMessage(prefix, message);
    return prefix;
}

// The answer the instrument gives for a stored sound.
std::vector<sysex::Message> Answer(const sim::SoundBanks& banks, DumpType type, int code, int program)
{
    ParameterMemory memory;
    const auto image = banks.Image(code, program);
    std::copy(image.begin(), image.end(), memory.Region(BulkRegion(type)).begin());
    return BuildBulk(memory, type, code, program);
}

Bytes Expecting(std::size_t count) { return {static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)}; }

Bytes Text(std::string_view text) { return {text.begin(), text.end()}; }

void ReplyBatches(const Corpus& corpus, const sim::SoundBanks& banks)
{
    const auto performance = Answer(banks, DumpType::Performance, bank::kIntPerf, 0);
    corpus.Write("reply_batch", "performance_answer", Joined(performance, Expecting(34)));
    corpus.Write("reply_batch", "normal_voice_answer",
                 Joined(Answer(banks, DumpType::NormalVoice, bank::kInt, 3), Expecting(34)));
    corpus.Write("reply_batch", "drum_voice_answer",
                 Joined(Answer(banks, DumpType::DrumVoice, bank::kIntDrum, 1), Expecting(374)));

    auto corrupt = performance;
    corrupt[5][corrupt[5].size() - 2] ^= 0x01; // checksum
    corpus.Write("reply_batch", "performance_bad_checksum", Joined(corrupt, Expecting(34)));
    const std::vector<sysex::Message> cut(performance.begin(), performance.begin() + 10);
    corpus.Write("reply_batch", "performance_cut_short", Joined(cut, Expecting(34)));
}

void BankFiles(const Corpus& corpus, const sim::SoundBanks& banks)
{
    // Three records of a user bank: the loader's record boundaries without a
    // 400 KB seed.
    const Bytes user = sim::BankFileBytes(banks, sim::BankFile::Int);
    corpus.Write("bank_files", "user_bank_three_records",
                 Bytes(user.begin(), user.begin() + 3 * static_cast<std::ptrdiff_t>(kNormalVoiceRecordSize)));
    corpus.Write("bank_files", "initial_performance", sim::MakeInitialPerformanceImage());
}

void Settings(const Corpus& corpus)
{
    const auto bytes = SerializeMidiSettings(fuzz::SampleSettings());
    corpus.Write("settings", "settings_dat", Bytes(bytes.begin(), bytes.end()));
    corpus.Write("settings", "settings_dat_short", Bytes(bytes.begin(), bytes.begin() + 20));
}

void HexStrings(const Corpus& corpus)
{
    corpus.Write("hex_string", "volume", Text("B0 07 7F"));
    corpus.Write("hex_string", "parameter_change", Text("F0 43 10 64 30 00 38 64 F7"));
    corpus.Write("hex_string", "prefixes_and_tabs", Text("0x1B0  \t7f c0 05"));
}

// A stored performance of the factory banks, as a file holds it.
FilePerformance StoredPerformance(const sim::SoundBanks& banks, int code, int program)
{
    ParameterMemory memory;
    const auto image = banks.Image(code, program);
    std::copy(image.begin(), image.end(), memory.Region(kPerformanceBlocks).begin());
    return FilePerformance::FromMemory(memory, {code, program});
}

void PerformanceFiles(const Corpus& corpus, const sim::SoundBanks& banks)
{
    FilePerformance saved = StoredPerformance(banks, bank::kIntPerf, 0);
    saved.location = {};
    const Bytes editBuffer = SerializeLibrary({&saved, 1});
    corpus.Write("performance_file", "edit_buffer", editBuffer);
    const FilePerformance library[] = {StoredPerformance(banks, bank::kIntPerf, 0),
                                       StoredPerformance(banks, bank::kExtPerf, 63)};
    corpus.Write("performance_file", "library_int_ext", SerializeLibrary(library));
    Bytes corrupt = editBuffer;
    corrupt[88] ^= 0x01; // the checksum of block 30 00, the second message
    corpus.Write("performance_file", "bad_checksum", corrupt);
    Bytes voice;
    for (const auto& message : Answer(banks, DumpType::NormalVoice, bank::kInt, 3))
        voice.insert(voice.end(), message.begin(), message.end());
    corpus.Write("performance_file", "voice_bulk", voice);
}

void SimMessages(const Corpus& corpus, const sim::SoundBanks& banks)
{
    const sysex::Message identity{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    corpus.Write("sim_messages", "identity_request", Joined({identity}));
    corpus.Write("sim_messages", "performance_edit_buffer_request", Joined({sysex::DumpRequest(0x0E, 0x4F, 0x00)}));
    corpus.Write("sim_messages", "select_then_request_voice",
                 Joined({sysex::BankSelectMsb(0x3F), sysex::BankSelectLsb(bank::kInt), sysex::ProgramChange(5),
                         sysex::DumpRequest(0x0E, 0x0F, 0x00)}));
    const std::uint8_t volume[] = {0x64};
    const std::uint8_t on[] = {0x01};
    corpus.Write("sim_messages", "parameter_changes_and_switch",
                 Joined({sysex::ParameterChange(0x30, 0x00, 0x38, volume), sysex::ParameterChange(0x0A, 0x00, 0x11, on),
                         sysex::DumpRequest(0x0E, 0x4F, 0x00)}));
    auto store = Answer(banks, DumpType::NormalVoice, bank::kPre1, 9);
    store.front() = sysex::BulkDump(block::kBulkHeader, bank::kInt, 5, {});
    store.back() = sysex::BulkDump(block::kBulkFooter, bank::kInt, 5, {});
    store.push_back(sysex::DumpRequest(0x0E, bank::kInt, 5));
    corpus.Write("sim_messages", "store_voice_then_request", Joined(store));
    corpus.Write("sim_messages", "kit_request", Joined({sysex::DumpRequest(0x0E, bank::kIntDrum, 1)}));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus DIR\n");
        return 2;
    }
    try {
        const Corpus corpus(argv[1]);
        const sim::SoundBanks banks = sim::MakeFactoryBanks();
        ReplyBatches(corpus, banks);
        BankFiles(corpus, banks);
        Settings(corpus);
        HexStrings(corpus);
        SimMessages(corpus, banks);
        PerformanceFiles(corpus, banks);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz_make_corpus: %s\n", error.what());
        return 1;
    }
    return 0;
}
