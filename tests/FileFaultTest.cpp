// Files written where the system refuses: the temporary file cannot be made,
// a read-only folder, a file-size limit hit in the middle of the write. Every
// file the program writes goes through the same atomic writer. The old file must survive and the
// writer must say so. Each case runs in a child process, since it changes
// the process's identity or limits.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/FileIo.h"
#include "synth/BankFiles.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
        old = Bytes(kUserBankFileSize, 0x2A);
        WriteFileAtomically(folder / kIntBankFileName, old);
        internalBank[0].program = 9; // so that the new file differs
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }

    // In the child: the save must fail with a FileError and leave the old file.
    [[noreturn]] void SaveAndCheck() const
    {
        try {
            SaveUserBank(folder / kIntBankFileName, internalBank, internalDrums);
        } catch (const FileError&) {
            std::_Exit(ReadWholeFile(folder / kIntBankFileName) == old ? 0 : 3);
        }
        std::_Exit(2);
    }

    const fs::path folder = fs::temp_directory_path() / ("cs6-filefault-" + std::to_string(::getpid()));
    Bytes old;
};

TEST_F(FileFaultTest, AFailedWriteKeepsTheOldBankFile)
{
    const std::pair<const char*, std::function<void()>> faults[] = {
        {"temporary file", [this] { fs::create_directory(folder / (std::string(kIntBankFileName) + ".tmp")); }},
        {"read-only folder",
         [this] {
             fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
             if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) // root writes anywhere
                 std::_Exit(4);
         }},
        {"file-size limit",
         [] {
             std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
             const rlimit limit{100000, 100000};
             if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                 std::_Exit(4);
         }},
    };
    for (const auto& [what, fault] : faults) {
        TearDown();
        SetUp();
        EXPECT_EXIT((fault(), SaveAndCheck()), ::testing::ExitedWithCode(0), "") << what;
    }
}

} // namespace
} // namespace cs6
