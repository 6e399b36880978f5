// Which folder holds the data files, and the filling of the user's data
// folder with the factory files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/DataFolder.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
std::string Read(const fs::path& path) { return (std::stringstream() << std::ifstream(path).rdbuf()).str(); }

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(factory);
        for (const char* name : {"patches_pre.bnk", "patches_int.bnk", "patches_ext.bnk", "perf_init.prf"})
            Write(factory / name, std::string("factory ") + name);
    }
    void TearDown() override { fs::remove_all(root); }

    const fs::path root = fs::temp_directory_path() / ("cs6-datafolder-" + std::to_string(::getpid()));
    const fs::path run = root / "run";
    const fs::path factory = root / "share/cs6edit";
    const fs::path data = root / "home/.local/share/cs6edit";
};

TEST_F(DataFolderTest, TheRunFolderIsKeptOnlyWhenItHoldsADataFile)
{
    const struct {
        const char* runFile; // "": none
        const char* xdgDataHome;
        const char* home;
        const char* expected; // "": the run folder
    } cases[] = {
        {"settings.dat", "/x", "/h", ""},     {"patches_pre.bnk", "/x", "/h", ""},
        {"patches_int.bnk", "/x", "/h", ""},  {"patches_ext.bnk", "/x", "/h", ""},
        {"perf_init.prf", "/x", "/h", ""},    {"notes.txt", "/x", "/h", "/x/cs6edit"},
        {"", "", "/h", "/h/.local/share/cs6edit"}, {"", "relative", "/h", "/h/.local/share/cs6edit"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.runFile) + " XDG_DATA_HOME=" + c.xdgDataHome + " HOME=" + c.home);
        fs::remove_all(run);
        fs::create_directories(run);
        if (*c.runFile)
            Write(run / c.runFile, "x");
        const DataFolder chosen = ChooseDataFolder(run, {.xdgDataHome = c.xdgDataHome, .home = c.home});
        EXPECT_EQ(chosen.path, *c.expected ? fs::path(c.expected) : run);
        EXPECT_EQ(chosen.isRunFolder, !*c.expected);
    }
}

TEST_F(DataFolderTest, FillingCopiesTheMissingFactoryFilesAndNeverReplacesOne)
{
    ASSERT_EQ(FillDataFolder(data, factory), "");
    for (const auto& file : fs::directory_iterator(factory))
        EXPECT_EQ(Read(data / file.path().filename()), Read(file.path())) << file.path();
    EXPECT_FALSE(fs::exists(data / "settings.dat"));

    Write(data / "patches_int.bnk", "fetched");
    fs::remove(data / "patches_ext.bnk");
    Write(factory / "perf_init.prf", "a newer factory file");
    ASSERT_EQ(FillDataFolder(data, factory), "");
    EXPECT_EQ(Read(data / "patches_int.bnk"), "fetched");
    EXPECT_EQ(Read(data / "patches_ext.bnk"), "factory patches_ext.bnk");
    EXPECT_EQ(Read(data / "perf_init.prf"), "factory perf_init.prf");

    Write(root / "file", "a file where a folder should be");
    EXPECT_NE(FillDataFolder(root / "file/cs6edit", factory).find("file/cs6edit"), std::string::npos);
}

} // namespace
} // namespace cs6
