// The files of one kelto-host run, checked together before it starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
    // Devices store nothing to lose.
    EXPECT_EQ(problem({{"--plot", "/dev/null"}, {"--write-scene", "/dev/null"}}), "");
    EXPECT_FALSE(sim::sameStoredFile(scene, module));
    EXPECT_TRUE(sim::sameStoredFile(scene, dir + "/hard.scene"));
}

TEST_F(RunFilesTest, ReadsNeverPastTheLimitAndWritesWhole) {
    EXPECT_EQ(sim::readRegularFile(scene, 64).bytes, "frames 0 1\n");
    EXPECT_EQ(sim::readRegularFile(scene, 11).failure, sim::ReadFailure::None);
    EXPECT_EQ(sim::readRegularFile(scene, 10).failure, sim::ReadFailure::TooLarge);
    EXPECT_EQ(sim::writeWholeFile(dir + "/out", "written"), "");
    EXPECT_EQ(sim::readRegularFile(dir + "/out", 64).bytes, "written");
}

}  // namespace
