#pragma once
// The performance library: copies of the instrument's stored performances
// (INT 001-128, EXT 01-64) kept in the data folder, and the commands that
// move them between the library, the instrument and files.
//
//   performances.syx   the library: every performance as its 34-message bulk
//                      framed at its stored location (PerformanceFile.h)
//   history/           what the instrument held at a location before the
//                      editor replaced it: one .syx a replacement, named
//                      INT005-20261206-194012.syx (INT001-128-... for a whole
//                      bank), each bulk at its own location, so that sending
//                      the file puts the old performances back
//
// Fetching asks the instrument for stored locations (0E 40|41 pp), so its
// edit buffer is untouched; the replies pass through the device's memory,
// whose performance is put back afterwards as it was. A bank of the library
// is replaced only when all of it came; a bank that does not answer its first
// two requests is not served; three silent requests in a row later on mean
// the instrument is gone. Nothing reaches the files unless it came whole.
//
// Storing fetches what each target location holds first and keeps it in the
// history; when that backup cannot be made, the caller is asked whether to
// store all the same and nothing is sent unless it says yes.
//
// Thread: the user-interface thread (the device's).

#include <array>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "synth/BankFiles.h"
#include "synth/PerformanceFile.h"

namespace cs6 {

inline constexpr const char* kHistoryFolderName = "history";
inline constexpr int kIntPerformances = 128;
inline constexpr int kExtPerformances = 64;
// The category number in the common block 30 00, as FilePerformance::blocks
// holds it.
inline constexpr std::size_t kPerformanceCategoryOffset = 0x0C;

// "INT 005", "EXT 12"; "edit buffer" for the edit buffer.
std::string LocationLabel(PerformanceLocation location);
// The category's name ("Piano"); "" for a number outside the table.
std::string PerformanceCategory(const FilePerformance& performance);
// INT 001..128, then EXT 01..64: the order of the library and of a fetch.
bool LocationBefore(PerformanceLocation a, PerformanceLocation b);
std::vector<PerformanceLocation> BankLocations(int bankLsb);

// Asked with the reason when a backup could not be made; true: go on.
using ConfirmWithoutBackup = std::function<bool(const std::string& reason)>;

// One bank of a fetch and what became of it.
struct LibraryBankReceipt {
    int bankLsb = bank::kIntPerf;
    FetchReport fetch;
    bool replaced = false;     // the library took the bank
    std::string saveError;     // the bank came whole but the library file could not be written

    std::string Describe() const; // one line for the closing message
};

// A store, a send of every INT location or a restore: what was and was not done.
struct StoreOutcome {
    bool sent = false;
    bool backedUp = false;
    std::filesystem::path backup; // the history file made, if any
    std::string message;          // for the user, whatever happened
};

struct ImportOutcome {
    int taken = 0;                 // performances put into the library
    std::vector<std::string> refused; // per file or performance not taken, why
    std::string saveError;
};

// A history file: when, and which locations it holds.
struct HistoryEntry {
    std::filesystem::path file;
    std::string when; // "2026-12-06 19:40:12", from the name
    std::string what; // "INT 005 \"Grand\"" or "INT 001-128 (128 performances)"

    std::string Describe() const; // what, " replaced on ", when
};

class PerformanceLibrary {
public:
    // folder: the data folder, where performances.syx and history/ lie.
    explicit PerformanceLibrary(std::filesystem::path folder);

    // Reads the library file. Returns what was wrong with it (it was put
    // aside, see LoadLibrary), or "" when nothing was.
    [[nodiscard]] std::string Load();

    const std::vector<FilePerformance>& Performances() const { return performances_; }
    const FilePerformance* Find(PerformanceLocation location) const;
    std::filesystem::path File() const { return folder_ / kLibraryFileName; }
    std::filesystem::path HistoryFolder() const { return folder_ / kHistoryFolderName; }

    // "Receive INT, EXT performances": both banks, each replacing its part of
    // the library only when it came whole. progress counts over 192.
    std::array<LibraryBankReceipt, 2> Receive(SynthDevice& device, const FetchProgress& progress = {});

    // Files of one or many performances into the library (not the
    // instrument). A performance for the edit buffer has no place in it.
    ImportOutcome Import(std::span<const std::filesystem::path> files);
    // The performances at these locations, as one file. Throws FileError.
    void Export(std::span<const PerformanceLocation> locations, const std::filesystem::path& file) const;

    // Sends each performance to its own location after backing up what is
    // there; the library then holds those sent. progress counts the backup's
    // requests, then the performances sent (2 a performance in all); stopping
    // it in the backup stores nothing, later it stops after that performance.
    StoreOutcome Store(SynthDevice& device, std::span<const FilePerformance> performances,
                       const ConfirmWithoutBackup& confirm, const FetchProgress& progress = {});
    // Every INT performance of the library to the instrument.
    StoreOutcome SendAllInt(SynthDevice& device, const ConfirmWithoutBackup& confirm,
                            const FetchProgress& progress = {});
    // A history file's performances back to their locations (itself backed up).
    StoreOutcome Restore(SynthDevice& device, const HistoryEntry& entry, const ConfirmWithoutBackup& confirm,
                         const FetchProgress& progress = {});

    // Newest first.
    std::vector<HistoryEntry> History() const;

private:
    void Put(const FilePerformance& performance);
    // Writes the library file; "" or why it could not be.
    std::string Save();
    // Fetches the locations' current contents into old; says why it did not
    // all come, or "" when it did.
    std::string Backup(SynthDevice& device, std::span<const PerformanceLocation> locations,
                       std::vector<FilePerformance>& old, const FetchProgress& progress, bool& cancelled) const;
    std::filesystem::path WriteHistory(std::span<const FilePerformance> old) const; // throws FileError

    std::filesystem::path folder_;
    std::vector<FilePerformance> performances_; // in LocationBefore order, one a location
    bool mayBeSaved_ = true;
};

} // namespace cs6
