#pragma once
// Where cs6edit keeps its five data files (settings.dat and the bank and
// performance files of synth/BankFiles.h). A folder that already holds one of
// them, such as the run folder of ./run.sh, stays the data folder. Otherwise
// the data folder is $XDG_DATA_HOME/cs6edit (~/.local/share/cs6edit when that
// variable is unset or not absolute), and each start makes it and copies
// into it the factory files it lacks; a file already there is never replaced.
//
// Standard library only. Called once at start-up, before the GUI exists.

#include <filesystem>
#include <string>

namespace cs6 {

// The variables the choice depends on; empty when unset.
struct DataFolderEnvironment {
    std::filesystem::path xdgDataHome;
    std::filesystem::path home;

    // The process's own XDG_DATA_HOME and HOME.
    static DataFolderEnvironment FromProcess();
};

struct DataFolder {
    std::filesystem::path path;
    bool isRunFolder = false; // the folder the program was started in, used as it is
};

// The data folder of a program started in runFolder. Without a usable
// XDG_DATA_HOME or HOME the run folder is kept.
[[nodiscard]] DataFolder ChooseDataFolder(const std::filesystem::path& runFolder,
                                          const DataFolderEnvironment& environment);

// Makes folder and copies into it each factory file of factoryFolder that it
// lacks. Returns an empty text, or what could not be done.
[[nodiscard]] std::string FillDataFolder(const std::filesystem::path& folder,
                                         const std::filesystem::path& factoryFolder);

// The installed factory files: share/cs6edit beside the folder of the running
// program (bin/../share/cs6edit, so that an unpacked package works wherever it
// lies), or installedFolder when there is none there.
[[nodiscard]] std::filesystem::path FactoryFolder(const std::filesystem::path& installedFolder);

} // namespace cs6
