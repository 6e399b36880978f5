#include "synth/PerformanceLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <system_error>
#include <utility>

#include "framework/FileIo.h"
#include "synth/BulkSequences.h"
#include "synth/NameTables.h"
#include "synth/StoredSounds.h"
#include "synth/SysExMessages.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;

// Silent requests in a row, after the first two, that end a fetch.
constexpr int kGiveUpAfter = 3;

const char* BankLabel(int bankLsb) { return bankLsb == bank::kIntPerf ? "INT" : "EXT"; }

// "INT005": the location as it starts a history file's name.
std::string CompactLabel(PerformanceLocation location)
{
    char text[16];
    std::snprintf(text, sizeof text, location.bankLsb == bank::kIntPerf ? "%s%03d" : "%s%02d",
                  BankLabel(location.bankLsb), location.program + 1);
    return text;
}

std::string Quoted(const FilePerformance& performance) { return "\"" + performance.Name() + "\""; }

// What a set of performances is called in messages: one by location and
// name, several by their first and last location and their number.
std::string Naming(std::span<const FilePerformance> performances)
{
    if (performances.empty())
        return "no performance";
    if (performances.size() == 1)
        return LocationLabel(performances[0].location) + " " + Quoted(performances[0]);
    return LocationLabel(performances.front().location) + " to " + LocationLabel(performances.back().location) + " (" +
           std::to_string(performances.size()) + " performances)";
}

// The device's performance as it was when this was made, put back when it
// goes: requests for stored locations pass their replies through it.
class KeptPerformance {
public:
    explicit KeptPerformance(SynthDevice& device) : device_(device)
    {
        const auto now = device.Memory().Region(kPerformanceBlocks);
        saved_.assign(now.begin(), now.end());
    }
    ~KeptPerformance()
    {
        const auto now = device_.Memory().Region(kPerformanceBlocks);
        if (!std::equal(now.begin(), now.end(), saved_.begin(), saved_.end()))
            device_.WriteRegion(kPerformanceBlocks, saved_);
    }
    KeptPerformance(const KeptPerformance&) = delete;
    KeptPerformance& operator=(const KeptPerformance&) = delete;

private:
    SynthDevice& device_;
    std::vector<std::uint8_t> saved_;
};

// One stored performance from the instrument, into `into` when it came whole.
DumpOutcome FetchOne(SynthDevice& device, PerformanceLocation location, FilePerformance& into)
{
    Performance stored(bank::kStoredSoundMsb, static_cast<std::uint8_t>(location.bankLsb),
                       static_cast<std::uint8_t>(location.program));
    const DumpOutcome outcome = stored.RequestFromDevice(device);
    if (outcome == DumpOutcome::Complete)
        into = FilePerformance::FromMemory(device.Memory(), location);
    return outcome;
}

// Fetches the performances at the locations, in order.
FetchReport FetchLocations(SynthDevice& device, std::span<const PerformanceLocation> locations,
                           std::vector<FilePerformance>& into, const FetchProgress& progress)
{
    const KeptPerformance kept(device);
    into.assign(locations.size(), {});
    return FetchEntries(
        static_cast<int>(locations.size()),
        [&](int i) {
            const auto at = static_cast<std::size_t>(i);
            return FetchOne(device, locations[at], into[at]);
        },
        progress, kGiveUpAfter);
}

// Sends a bulk as "Transmit" does: every message, then the pause.
void SendBulks(SynthDevice& device, std::span<const FilePerformance> performances)
{
    const std::vector<std::uint8_t> bytes = SerializeLibrary(performances);
    for (auto at = bytes.begin(); at != bytes.end();) {
        const auto end = std::find(at, bytes.end(), sysex::kSysExEnd) + 1;
        device.SendMessage(std::span<const std::uint8_t>(&*at, static_cast<std::size_t>(end - at)));
        device.Wait(kPerformancePause);
        at = end;
    }
}

std::string Timestamp(const char* format)
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

void SortByLocation(std::vector<FilePerformance>& performances)
{
    std::stable_sort(performances.begin(), performances.end(),
                     [](const auto& a, const auto& b) { return LocationBefore(a.location, b.location); });
}

// "2026-12-06 19:40:12" from a history file's name
// (<locations>-YYYYMMDD-HHMMSS[-n].syx), or "" for a name of another form.
std::string HistoryTime(std::string_view name)
{
    constexpr std::string_view kSuffix = ".syx";
    if (!name.ends_with(kSuffix))
        return {};
    name.remove_suffix(kSuffix.size());
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dash = name.find('-', start);
        parts.push_back(name.substr(start, dash == std::string_view::npos ? dash : dash - start));
        if (dash == std::string_view::npos)
            break;
        start = dash + 1;
    }
    auto digits = [](std::string_view text, std::size_t count) {
        return (count == 0 ? !text.empty() : text.size() == count) &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    // The last date and time that only a number may follow.
    for (std::size_t i = parts.size() - 1; i-- > 1;) {
        const std::size_t after = parts.size() - (i + 2);
        if (digits(parts[i], 8) && digits(parts[i + 1], 6) && (after == 0 || (after == 1 && digits(parts.back(), 0)))) {
            const std::string_view date = parts[i];
            const std::string_view time = parts[i + 1];
            return std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2)) + "-" +
                   std::string(date.substr(6, 2)) + " " + std::string(time.substr(0, 2)) + ":" +
                   std::string(time.substr(2, 2)) + ":" + std::string(time.substr(4, 2));
        }
    }
    return {};
}

} // namespace

std::string LocationLabel(PerformanceLocation location)
{
    if (location.bankLsb != bank::kIntPerf && location.bankLsb != bank::kExtPerf)
        return "edit buffer";
    const std::string compact = CompactLabel(location);
    return compact.substr(0, 3) + " " + compact.substr(3);
}

std::string PerformanceCategory(const FilePerformance& performance)
{
    return std::string(CategoryName(performance.blocks[kPerformanceCategoryOffset]));
}

bool LocationBefore(PerformanceLocation a, PerformanceLocation b)
{
    return std::pair{a.bankLsb, a.program} < std::pair{b.bankLsb, b.program};
}

std::vector<PerformanceLocation> BankLocations(int bankLsb)
{
    std::vector<PerformanceLocation> locations;
    const int count = bankLsb == bank::kIntPerf ? kIntPerformances : kExtPerformances;
    for (int program = 0; program < count; ++program)
        locations.push_back({bankLsb, program});
    return locations;
}

std::string LibraryBankReceipt::Describe() const
{
    const std::string bank = std::string(BankLabel(bankLsb)) + " performances: ";
    const std::string kept = "the library keeps what it had.";
    const auto total = std::to_string(fetch.answered.size());
    if (replaced)
        return bank + "all " + total + " received; the library holds them.";
    if (!saveError.empty())
        return bank + "all " + total + " received, but " + kLibraryFileName + " could not be written (" + saveError +
               "); " + kept;
    if (fetch.cancelled || fetch.requested == 0)
        return bank + "cancelled after " + std::to_string(fetch.Answered()) + " of " + total + "; " + kept;
    if (fetch.notServed)
        return bank + "the instrument does not answer for them (no answer to the first two requests); " + kept;
    if (fetch.lost)
        return bank + "the instrument stopped answering after " + std::to_string(fetch.Answered()) + " of " + total +
               "; " + kept;
    return bank + std::to_string(fetch.answered.size() - static_cast<std::size_t>(fetch.Answered())) + " of " + total +
           " did not come complete; " + kept;
}

std::string HistoryEntry::Describe() const { return what + " replaced on " + when; }

PerformanceLibrary::PerformanceLibrary(fs::path folder) : folder_(std::move(folder)) {}

std::string PerformanceLibrary::Load()
{
    LibraryLoad load = LoadLibrary(File());
    performances_.clear();
    for (const FilePerformance& performance : load.performances)
        Put(performance);
    mayBeSaved_ = load.mayBeSaved;
    return load.problem;
}

const FilePerformance* PerformanceLibrary::Find(PerformanceLocation location) const
{
    const auto found = std::find_if(performances_.begin(), performances_.end(),
                                    [location](const FilePerformance& p) { return p.location == location; });
    return found == performances_.end() ? nullptr : &*found;
}

void PerformanceLibrary::Put(const FilePerformance& performance)
{
    const auto at = std::lower_bound(
        performances_.begin(), performances_.end(), performance.location,
        [](const FilePerformance& p, PerformanceLocation location) { return LocationBefore(p.location, location); });
    if (at != performances_.end() && at->location == performance.location)
        *at = performance;
    else
        performances_.insert(at, performance);
}

std::string PerformanceLibrary::Save()
{
    if (!mayBeSaved_)
        return "the damaged library file is still in its place and is not overwritten";
    try {
        SaveLibrary(File(), performances_);
    } catch (const FileError& error) {
        return error.Reason();
    }
    return {};
}

std::array<LibraryBankReceipt, 2> PerformanceLibrary::Receive(SynthDevice& device, const FetchProgress& progress)
{
    std::array<LibraryBankReceipt, 2> receipts{};
    receipts[1].bankLsb = bank::kExtPerf;
    constexpr int kAll = kIntPerformances + kExtPerformances;
    int offset = 0;
    for (LibraryBankReceipt& receipt : receipts) {
        const auto locations = BankLocations(receipt.bankLsb);
        std::vector<FilePerformance> fetched;
        FetchProgress step;
        if (progress)
            step = [&](int done, int) { return progress(offset + done, kAll); };
        receipt.fetch = FetchLocations(device, locations, fetched, step);
        receipt.fetch.answered.resize(locations.size()); // a bank never asked counts as not answered
        offset += static_cast<int>(locations.size());
        if (receipt.fetch.Complete()) {
            // The bank replaces its part of the library only once it is on disk.
            auto previous = performances_;
            std::erase_if(performances_, [&](const FilePerformance& p) { return p.location.bankLsb == receipt.bankLsb; });
            for (const FilePerformance& performance : fetched)
                Put(performance);
            receipt.saveError = Save();
            receipt.replaced = receipt.saveError.empty();
            if (!receipt.replaced)
                performances_ = std::move(previous);
        }
        if (receipt.fetch.cancelled)
            break;
    }
    return receipts;
}

ImportOutcome PerformanceLibrary::Import(std::span<const fs::path> files)
{
    ImportOutcome outcome;
    auto previous = performances_;
    for (const fs::path& file : files) {
        const PerformanceRead read = ReadPerformanceFile(file);
        if (!read.Ok()) {
            outcome.refused.push_back(read.error);
            continue;
        }
        for (std::size_t i = 0; i < read.performances.size(); ++i) {
            const FilePerformance& performance = read.performances[i];
            if (performance.location.bankLsb == kPerformanceEditBuffer) {
                outcome.refused.push_back(file.filename().string() + ": performance " + std::to_string(i + 1) + " " +
                                          Quoted(performance) +
                                          " is for the edit buffer, not a stored location (open it, then store it)");
                continue;
            }
            Put(performance);
            ++outcome.taken;
        }
    }
    if (outcome.taken > 0) {
        outcome.saveError = Save();
        if (!outcome.saveError.empty()) {
            performances_ = std::move(previous);
            outcome.taken = 0;
        }
    }
    return outcome;
}

void PerformanceLibrary::Export(std::span<const PerformanceLocation> locations, const fs::path& file) const
{
    std::vector<FilePerformance> chosen;
    for (PerformanceLocation location : locations)
        if (const FilePerformance* performance = Find(location))
            chosen.push_back(*performance);
    SortByLocation(chosen);
    SaveLibrary(file, chosen);
}

std::string PerformanceLibrary::Backup(SynthDevice& device, std::span<const PerformanceLocation> locations,
                                      std::vector<FilePerformance>& old, const FetchProgress& progress,
                                      bool& cancelled) const
{
    const FetchReport report = FetchLocations(device, locations, old, progress);
    cancelled = report.cancelled;
    if (report.Complete())
        return {};
    const std::size_t missing = locations.size() - static_cast<std::size_t>(report.Answered());
    return locations.size() == 1 ? "the instrument did not answer completely for " + LocationLabel(locations[0])
                                 : "the instrument did not answer completely for " + std::to_string(missing) +
                                       " of " + std::to_string(locations.size()) + " locations";
}

fs::path PerformanceLibrary::WriteHistory(std::span<const FilePerformance> old) const
{
    std::string name = CompactLabel(old.front().location);
    if (old.size() > 1)
        name += "-" + CompactLabel(old.back().location).substr(3);
    name += "-" + Timestamp("%Y%m%d-%H%M%S");
    std::error_code error;
    fs::create_directories(HistoryFolder(), error);
    if (error)
        throw FileError(HistoryFolder(), error.message());
    fs::path file = HistoryFolder() / (name + ".syx");
    for (int n = 2; fs::exists(file); ++n)
        file = HistoryFolder() / (name + "-" + std::to_string(n) + ".syx");
    SaveLibrary(file, old);
    return file;
}

StoreOutcome PerformanceLibrary::Store(SynthDevice& device, std::span<const FilePerformance> performances,
                                       const ConfirmWithoutBackup& confirm, const FetchProgress& progress)
{
    StoreOutcome outcome;
    std::vector<FilePerformance> sorted(performances.begin(), performances.end());
    SortByLocation(sorted);
    if (sorted.empty() || sorted.front().location.bankLsb == kPerformanceEditBuffer) {
        outcome.message = "Nothing was stored: no stored location to store to.";
        return outcome;
    }
    std::vector<PerformanceLocation> locations;
    for (const FilePerformance& performance : sorted)
        locations.push_back(performance.location);
    const int total = 2 * static_cast<int>(sorted.size());
    FetchProgress step;
    if (progress)
        step = [&](int done, int) { return progress(done, total); };

    const std::string unchanged = " The instrument, the library and the history are as they were.";
    std::vector<FilePerformance> old;
    bool cancelled = false;
    std::string why = Backup(device, locations, old, step, cancelled);
    if (cancelled) {
        outcome.message = "Cancelled: nothing was stored." + unchanged;
        return outcome;
    }
    if (why.empty()) {
        try {
            outcome.backup = WriteHistory(old);
            outcome.backedUp = true;
        } catch (const FileError& error) {
            why = "the backup could not be written (" + error.Reason() + ")";
        }
    }
    if (!outcome.backedUp && !(confirm && confirm(why))) {
        outcome.message = "Nothing was stored: " + why + "." + unchanged;
        return outcome;
    }

    std::size_t sent = 0;
    while (sent < sorted.size()) {
        SendBulks(device, std::span(sorted).subspan(sent, 1));
        ++sent;
        if (step && !step(static_cast<int>(sorted.size() + sent), total))
            break;
    }
    outcome.sent = true;
    const auto done = std::span(sorted).first(sent);
    auto previous = performances_;
    for (const FilePerformance& performance : done)
        Put(performance);
    const std::string saveError = Save();
    if (!saveError.empty())
        performances_ = std::move(previous);

    outcome.message = Naming(done) + " sent to the instrument";
    if (sent < sorted.size())
        outcome.message += "; cancelled there, " + std::to_string(sorted.size() - sent) + " of " +
                           std::to_string(sorted.size()) + " were not sent";
    outcome.message += outcome.backedUp ? "; what it replaced is kept in the history as " +
                                              outcome.backup.filename().string() + "."
                                        : " without a backup (" + why + ").";
    if (!saveError.empty())
        outcome.message += " The library file could not be written (" + saveError + "); the library is as it was.";
    return outcome;
}

StoreOutcome PerformanceLibrary::SendAllInt(SynthDevice& device, const ConfirmWithoutBackup& confirm,
                                            const FetchProgress& progress)
{
    std::vector<FilePerformance> internal;
    std::copy_if(performances_.begin(), performances_.end(), std::back_inserter(internal),
                 [](const FilePerformance& p) { return p.location.bankLsb == bank::kIntPerf; });
    if (internal.empty())
        return {false, false, {}, "The library holds no INT performance; nothing was sent."};
    return Store(device, internal, confirm, progress);
}

StoreOutcome PerformanceLibrary::Restore(SynthDevice& device, const HistoryEntry& entry,
                                         const ConfirmWithoutBackup& confirm, const FetchProgress& progress)
{
    const PerformanceRead read = ReadPerformanceFile(entry.file);
    if (!read.Ok())
        return {false, false, {}, "Nothing was restored: " + read.error + "."};
    return Store(device, read.performances, confirm, progress);
}

std::vector<HistoryEntry> PerformanceLibrary::History() const
{
    std::vector<HistoryEntry> entries;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(HistoryFolder(), error)) {
        std::string when = HistoryTime(item.path().filename().string());
        if (when.empty())
            continue;
        const PerformanceRead read = ReadPerformanceFile(item.path());
        HistoryEntry entry{item.path(), std::move(when), read.Ok() ? Naming(read.performances) : read.error};
        entries.push_back(std::move(entry));
    }
    // Within a second, the later write first.
    auto written = [](const fs::path& file) {
        std::error_code ignored;
        return fs::last_write_time(file, ignored);
    };
    std::sort(entries.begin(), entries.end(), [&](const HistoryEntry& a, const HistoryEntry& b) {
        return a.when != b.when ? a.when > b.when : written(a.file) > written(b.file);
    });
    return entries;
}

} // namespace cs6
