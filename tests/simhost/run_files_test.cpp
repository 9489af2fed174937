// The files of one kelto-host run, checked together before it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "simhost/platform/file_system.h"
#include "simhost/run/run_files.h"

namespace {

namespace fs = std::filesystem;

class RunFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(scene) << "frames 0 1\n";
        std::ofstream(module) << "a module\n";
    }
    std::string problem(const std::vector<sim::RunFile>& outputs) {
        return sim::runFilesProblem({{"the module file", module}, {"the scene file", scene}}, outputs);
    }

    const std::string dir = testing::TempDir() + "/run_files";
    const std::string scene = dir + "/in.scene";
    const std::string module = dir + "/kelto.p";
};

TEST_F(RunFilesTest, AnOutputMayNotBeAnInputOrTheOtherOutputByAnyName) {
    fs::create_hard_link(scene, dir + "/hard.scene");
    fs::create_symlink(module, dir + "/link.p");
    EXPECT_EQ(problem({{"--write-scene", dir + "/hard.scene"}}),
              "--write-scene " + dir + "/hard.scene would overwrite the scene file " + scene);
    EXPECT_EQ(problem({{"--plot", dir + "/link.p"}}),
              "--plot " + dir + "/link.p would overwrite the module file " + module);
    EXPECT_EQ(problem({{"--plot", dir + "/../run_files/./in.scene"}}).rfind("--plot", 0), 0u);
    // Both yet to be made, spelled apart.
    EXPECT_EQ(problem({{"--plot", dir + "/new.svg"}, {"--write-scene", dir + "/./new.svg"}}),
              "--plot and --write-scene would both write " + dir + "/./new.svg");
    EXPECT_EQ(problem({{"--plot", dir + "/a.svg"}, {"--write-scene", dir + "/b.scene"}}), "");
    // One relative to the working folder, one spelled from a folder.
    fs::path workingFolder = fs::current_path();
    fs::current_path(dir);
    EXPECT_EQ(problem({{"--plot", "rel.svg"}, {"--write-scene", "../run_files/rel.svg"}}),
              "--plot and --write-scene would both write ../run_files/rel.svg");
    fs::current_path(workingFolder);
    // Devices store nothing to lose.
    EXPECT_EQ(problem({{"--plot", "/dev/null"}, {"--write-scene", "/dev/null"}}), "");
    EXPECT_FALSE(sim::sameStoredFile(scene, module));
    EXPECT_TRUE(sim::sameStoredFile(scene, dir + "/hard.scene"));
}

// A link to a file yet to be made lands where it points: on another output
// or into a folder that is not there.
TEST_F(RunFilesTest, DanglingLinksAreFollowedToWhereTheyWouldWrite) {
    fs::create_symlink(dir + "/target.svg", dir + "/dangling.svg");
    fs::create_symlink("dangling.svg", dir + "/twice.svg");
    fs::create_symlink(dir + "/missing/x.svg", dir + "/into_missing.svg");
    EXPECT_EQ(sim::writtenPlace(dir + "/twice.svg"), dir + "/target.svg");
    EXPECT_EQ(sim::writtenPlace(scene), scene);
    EXPECT_EQ(problem({{"--plot", dir + "/twice.svg"}, {"--write-scene", dir + "/target.svg"}}),
              "--plot and --write-scene would both write " + dir + "/target.svg");
    EXPECT_EQ(problem({{"--plot", dir + "/into_missing.svg"}}),
              "cannot write " + dir + "/into_missing.svg (--plot): No such file or directory");
    fs::create_symlink("loop.svg", dir + "/loop.svg");
    EXPECT_EQ(problem({{"--plot", dir + "/loop.svg"}}),
              "cannot write " + dir + "/loop.svg (--plot): Too many levels of symbolic links");
}

// Every file is written aside before any is put in place: one that cannot be
// written leaves the others as they were, and nothing beside them.
TEST_F(RunFilesTest, FilesArePutInPlaceOnlyWhenEveryOneWasWritten) {
    std::ofstream(dir + "/plot.svg") << "old plot";
    fs::permissions(dir + "/plot.svg", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(sim::writeRunFiles({{dir + "/plot.svg", "new plot"}, {dir + "/missing/saved.scene", "scene"}}),
              "cannot write " + dir + "/missing/saved.scene: No such file or directory");
    EXPECT_EQ(sim::readRegularFile(dir + "/plot.svg", 64).bytes, "old plot");
    auto names = [&] {
        std::vector<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) found.push_back(entry.path().filename());
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"in.scene", "kelto.p", "plot.svg"}));

    // Through a link, into what it points at; the file keeps its permissions.
    fs::create_symlink("plot.svg", dir + "/link.svg");
    EXPECT_EQ(sim::writeRunFiles({{dir + "/link.svg", "new plot"}, {"/dev/null", "nothing"}}), "");
    EXPECT_EQ(sim::readRegularFile(dir + "/plot.svg", 64).bytes, "new plot");
    EXPECT_TRUE(fs::is_symlink(dir + "/link.svg"));
    EXPECT_EQ(fs::status(dir + "/plot.svg").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(names(), (std::vector<std::string>{"in.scene", "kelto.p", "link.svg", "plot.svg"}));
}

TEST_F(RunFilesTest, ReadsNeverPastTheLimitAndWritesWhole) {
    EXPECT_EQ(sim::readRegularFile(scene, 64).bytes, "frames 0 1\n");
    EXPECT_EQ(sim::readRegularFile(scene, 11).failure, sim::ReadFailure::None);
    EXPECT_EQ(sim::readRegularFile(scene, 10).failure, sim::ReadFailure::TooLarge);
    EXPECT_EQ(sim::writeWholeFile(dir + "/out", "written"), "");
    EXPECT_EQ(sim::readRegularFile(dir + "/out", 64).bytes, "written");
}

}  // namespace
