#include "synth/BankFiles.h"

#include <algorithm>

#include "framework/FileIo.h"

namespace cs6 {
namespace {

// Reads records field by field, each as far as the bytes reach; whatever
// they do not reach keeps its previous content.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void Read(std::span<std::uint8_t> target)
    {
        const std::size_t n = std::min(target.size(), bytes_.size() - at_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, target.begin());
        at_ += n;
        if (n < target.size())
            shortRead_ = true;
    }

    void Read(std::uint8_t& byte) { Read(std::span<std::uint8_t>(&byte, 1)); }

    template <typename Sound>
    void ReadRecords(std::span<Sound> sounds)
    {
        for (Sound& sound : sounds) {
            Read(sound.image);
            Read(sound.bankMsb);
            Read(sound.bankLsb);
            Read(sound.program);
        }
    }

    FileLoad Result() const { return shortRead_ ? FileLoad::Short : FileLoad::Complete; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool shortRead_ = false;
};

template <typename Sound>
void WriteRecords(std::vector<std::uint8_t>& bytes, std::span<const Sound> sounds)
{
    for (const Sound& sound : sounds) {
        bytes.insert(bytes.end(), sound.image.begin(), sound.image.end());
        bytes.push_back(sound.bankMsb);
        bytes.push_back(sound.bankLsb);
        bytes.push_back(sound.program);
    }
}

} // namespace

FileLoad LoadPresetBanksFromBytes(std::span<const std::uint8_t> bytes)
{
    RecordReader reader(bytes);
    reader.ReadRecords(std::span<NormalVoice>(presetBank1));
    reader.ReadRecords(std::span<NormalVoice>(presetBank2));
    reader.ReadRecords(std::span<DrumVoice>(presetDrums));
    return reader.Result();
}

FileLoad LoadPresetBanks(const std::filesystem::path& path)
{
    return LoadPresetBanksFromBytes(ReadWholeFile(path));
}

FileLoad LoadUserBankFromBytes(std::span<const std::uint8_t> bytes, std::span<NormalVoice> bank,
                               std::span<DrumVoice> drums)
{
    RecordReader reader(bytes);
    reader.ReadRecords(bank);
    reader.ReadRecords(drums);
    return reader.Result();
}

FileLoad LoadUserBank(const std::filesystem::path& path, std::span<NormalVoice> bank, std::span<DrumVoice> drums)
{
    try {
        return LoadUserBankFromBytes(ReadWholeFile(path), bank, drums);
    } catch (const FileError&) {
        return FileLoad::Missing;
    }
}

FileLoad LoadInitialPerformanceFromBytes(std::span<const std::uint8_t> bytes)
{
    Performance performance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
    RecordReader reader(bytes);
    reader.Read(performance.image);
    initialPerformance = performance;
    return reader.Result();
}

FileLoad LoadInitialPerformance(const std::filesystem::path& path)
{
    return LoadInitialPerformanceFromBytes(ReadWholeFile(path));
}

std::vector<std::uint8_t> SerializeUserBank(std::span<const NormalVoice> bank, std::span<const DrumVoice> drums)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(bank.size() * kNormalVoiceRecordSize + drums.size() * kDrumVoiceRecordSize);
    WriteRecords(bytes, bank);
    WriteRecords(bytes, drums);
    return bytes;
}

void SaveUserBank(const std::filesystem::path& path, std::span<const NormalVoice> bank,
                  std::span<const DrumVoice> drums)
{
    WriteFileAtomically(path, SerializeUserBank(bank, drums));
}

int FetchReport::Answered() const
{
    return static_cast<int>(std::count(answered.begin(), answered.end(), true));
}

bool FetchReport::Complete() const
{
    return !cancelled && !notServed && !lost && !answered.empty() && Answered() == static_cast<int>(answered.size());
}

FetchReport FetchEntries(int total, const FetchEntry& request, const FetchProgress& progress, int giveUpAfter)
{
    FetchReport report;
    report.answered.assign(static_cast<std::size_t>(total), false);
    int silent = 0;  // requests that got no message at all
    int inARow = 0;  // of them, the last ones in a row
    // Silence on the first two means there is no such bank; the caller may
    // stop between any two requests.
    while (report.requested < total) {
        const DumpOutcome outcome = request(report.requested);
        report.answered[static_cast<std::size_t>(report.requested)] = outcome == DumpOutcome::Complete;
        ++report.requested;
        inARow = outcome == DumpOutcome::NotAnswered ? inARow + 1 : 0;
        silent += outcome == DumpOutcome::NotAnswered;
        if (report.requested == 2 && silent == 2) {
            report.notServed = true;
            break;
        }
        if (giveUpAfter > 0 && inARow >= giveUpAfter && report.requested > 2) {
            report.lost = true;
            break;
        }
        if (progress && !progress(report.requested, total)) {
            report.cancelled = true;
            break;
        }
    }
    return report;
}

FetchReport FetchUserBank(SynthDevice& device, int bankLsb, std::span<NormalVoice> bank, std::span<DrumVoice> drums,
                          const FetchProgress& progress)
{
    const int drumLsb = bankLsb == bank::kInt ? bank::kIntDrum : bank::kExtDrum;
    const int voices = static_cast<int>(bank.size());
    return FetchEntries(
        voices + static_cast<int>(drums.size()),
        [&](int entry) {
            return entry < voices
                       ? FetchStoredSound(device, bank[static_cast<std::size_t>(entry)], bankLsb, entry)
                       : FetchStoredSound(device, drums[static_cast<std::size_t>(entry - voices)], drumLsb, entry - voices);
        },
        progress);
}

std::string BankReceipt::Describe() const
{
    const std::string bank = std::string(label) + " bank: ";
    const std::string kept = std::string(fileName) + " was not changed.";
    if (written)
        return bank + "all " + std::to_string(fetch.answered.size()) + " patches received, " + fileName + " written.";
    if (!saveError.empty())
        return bank + "all patches received, but " + fileName + " could not be written (" + saveError +
               "); it was left as it was.";
    if (fetch.cancelled || fetch.requested == 0)
        return bank + "cancelled; " + kept;
    if (fetch.notServed)
        return bank + "the instrument does not answer for it (no answer to its first two requests); " + kept;
    const auto missing = fetch.answered.size() - static_cast<std::size_t>(fetch.Answered());
    return bank + std::to_string(missing) + " of " + std::to_string(fetch.answered.size()) +
           " patches did not answer; " + kept;
}

std::array<BankReceipt, 2> ReceiveUserBanks(SynthDevice& device, const std::filesystem::path& folder,
                                            const FetchProgress& progress)
{
    struct Bank {
        int lsb;
        std::span<NormalVoice> voices;
        std::span<DrumVoice> drums;
    };
    const std::array<Bank, 2> banks{Bank{bank::kInt, internalBank, internalDrums},
                                    Bank{bank::kExt, externalBank, externalDrums}};
    std::array<BankReceipt, 2> receipts{BankReceipt{"INT", kIntBankFileName, {}, false, {}},
                                        BankReceipt{"EXT", kExtBankFileName, {}, false, {}}};
    bool stopped = false;
    int offset = 0;
    for (std::size_t i = 0; i < banks.size() && !stopped; ++i) {
        // Fetched into copies: the bank in memory changes only with its file.
        std::vector<NormalVoice> voices(banks[i].voices.begin(), banks[i].voices.end());
        std::vector<DrumVoice> drums(banks[i].drums.begin(), banks[i].drums.end());
        const int total = static_cast<int>(voices.size() + drums.size());
        FetchProgress step;
        if (progress)
            step = [&](int done, int) { return progress(offset + done, 2 * total); };
        BankReceipt& receipt = receipts[i];
        receipt.fetch = FetchUserBank(device, banks[i].lsb, voices, drums, step);
        offset += total;
        stopped = receipt.fetch.cancelled;
        if (!receipt.fetch.Complete())
            continue;
        try {
            SaveUserBank(folder / receipt.fileName, voices, drums);
            std::copy(voices.begin(), voices.end(), banks[i].voices.begin());
            std::copy(drums.begin(), drums.end(), banks[i].drums.begin());
            receipt.written = true;
        } catch (const FileError& error) {
            receipt.saveError = error.Reason();
        }
    }
    return receipts;
}

} // namespace cs6
