#include "app/DataFolder.h"

#include <array>
#include <cstdlib>
#include <system_error>

#include "framework/FileIo.h"
#include "synth/BankFiles.h"

namespace cs6 {
namespace fs = std::filesystem;

namespace {

constexpr std::array kFactoryFiles{kPresetBankFileName, kIntBankFileName, kExtBankFileName,
                                   kInitialPerformanceFileName};

fs::path Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? fs::path(value) : fs::path();
}

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

DataFolderEnvironment DataFolderEnvironment::FromProcess()
{
    return {.xdgDataHome = Variable("XDG_DATA_HOME"), .home = Variable("HOME")};
}

DataFolder ChooseDataFolder(const fs::path& runFolder, const DataFolderEnvironment& environment)
{
    bool holdsData = IsFile(runFolder / kSettingsFileName);
    for (const char* name : kFactoryFiles)
        holdsData = holdsData || IsFile(runFolder / name);
    if (holdsData)
        return {runFolder, true};
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
    // directory rules say.
    if (environment.xdgDataHome.is_absolute())
        return {environment.xdgDataHome / "cs6edit", false};
    if (environment.home.is_absolute())
        return {environment.home / ".local/share/cs6edit", false};
    return {runFolder, true};
}

std::string FillDataFolder(const fs::path& folder, const fs::path& factoryFolder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return "Cannot make the data folder " + folder.string() + ": " + error.message();
    for (const char* name : kFactoryFiles) {
        if (fs::exists(folder / name, error) || !IsFile(factoryFolder / name))
            continue;
        try {
            WriteFileAtomically(folder / name, ReadWholeFile(factoryFolder / name));
        } catch (const FileError& fault) {
            return "Cannot copy the factory file " + fault.Path().string() + ": " + fault.Reason();
        }
    }
    return {};
}

fs::path FactoryFolder(const fs::path& installedFolder)
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = program.parent_path().parent_path() / "share/cs6edit";
        if (fs::is_directory(beside, error))
            return beside;
    }
    return installedFolder;
}

} // namespace cs6
