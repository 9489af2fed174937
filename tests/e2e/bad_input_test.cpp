// kelto-host given bad input of every kind: each run ends on its own with
// exit code 1 and exactly one line on standard error, never with a signal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "simhost/modifiers/kelto_facts.h"
#include "tests/e2e/host_program.h"

#if defined(__has_feature)
#define KELTO_HAS_ADDRESS_SANITIZER __has_feature(address_sanitizer)
#else
#define KELTO_HAS_ADDRESS_SANITIZER 0
#endif

namespace {

namespace fs = std::filesystem;
using sim::kelto_facts::kItemLabel;

// Turns a hang into a signal, which fails the case; no run needs near this.
const unsigned kRunBoundSeconds = 120;

struct Outcome {
    bool exited = false;
    int code = -1;
    int signal = 0;
    std::string out, err;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The frames the table shows, in order.
std::vector<long> framesShown(const std::string& out) {
    std::vector<long> frames;
    for (const e2e::FrameRow& row : e2e::frameRows(out)) frames.push_back(row.frame);
    return frames;
}

// Whether the output ends with a row of the frame table: nothing was shown
// after the last frame evaluated.
bool endsWithARow(const std::string& out) {
    std::vector<std::string> lines = e2e::linesOf(out);
    return !out.empty() && out.back() == '\n' && !lines.empty() && e2e::isTableRow(lines.back());
}

// kelto-host run as a process of its own, in a folder of this test's.
class HostProcess : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }

    std::string file(const std::string& name, const std::string& text) {
        std::string path = work + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs kelto-host in `folder` with standard output to `stdoutPath`.
    Outcome run(const std::vector<std::string>& args, const std::string& folder = "",
                const std::string& stdoutPath = "", rlim_t addressSpace = RLIM_INFINITY) {
        std::string outPath = stdoutPath.empty() ? work + "/stdout" : stdoutPath, errPath = work + "/stderr";
        pid_t child = ::fork();
        if (child == 0) {
            int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) ::_exit(126);
            if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
            ::alarm(kRunBoundSeconds);
            struct rlimit limit = {addressSpace, addressSpace};
            if (addressSpace != RLIM_INFINITY && ::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
            std::vector<char*> argv{const_cast<char*>(KELTO_HOST_PROGRAM)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(KELTO_HOST_PROGRAM, argv.data());
            ::_exit(127);
        }
        Outcome outcome;
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) return outcome;
        outcome.exited = WIFEXITED(status);
        outcome.code = outcome.exited ? WEXITSTATUS(status) : -1;
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        if (stdoutPath.empty()) outcome.out = readAll(outPath);
        outcome.err = readAll(errPath);
        return outcome;
    }

    // A folder of this process's own: the suite runs once a module build,
    // and the runs may overlap.
    const std::string work = KELTO_TEST_WORK_DIR "/bad_input." + std::to_string(::getpid());
};

class BadInput : public HostProcess {};

// One bad input and the line it must end with. In its arguments, message and
// folder, "{work}" stands for the test's folder and "{good}", "{module}",
// "{folder}", "{fifo}", "{oversize}" and "{cut}" for what EachBadInput makes
// there; a case with a file of its own writes `fileText` to {work}/`fileName`
// first.
struct Case {
    std::string name;
    std::vector<std::string> args;
    std::string message;  // what the line says after "kelto-host: ", or a part of it
    std::string folder = "";
    std::string stdoutPath = "";
    std::string fileName = "", fileText = "";
};

std::ostream& operator<<(std::ostream& out, const Case& badCase) { return out << badCase.name; }

// A case run on the scene file `sceneName`, which holds `sceneText`.
Case sceneCase(const std::string& name, const std::string& sceneName, const std::string& sceneText,
               const std::string& message) {
    return Case{name, {"--scene", "{work}/" + sceneName}, message, "", "", sceneName, sceneText};
}

const std::string kItem = kItemLabel;

// Numbers at the limits of their type or meaning, and lines that would
// silently undo one before them.
const std::vector<Case> kBadScenes = {
    sceneCase("FramesSpanTooWide", "span.scene", "frames -2147483648 2147483647\n",
              "span.scene:1: more than 1000000 frames"),
    sceneCase("FpsZero", "fps0.scene", "fps 0\n", "fps0.scene:1: fps is \"fps N\" with N above 0"),
    sceneCase("FpsNegative", "fpsneg.scene", "fps -24\n", "fpsneg.scene:1: fps is"),
    sceneCase("FpsInfinite", "fpsinf.scene", "fps inf\n", "fpsinf.scene:1: \"inf\" is not a finite number"),
    sceneCase("FpsNotANumber", "fpsnan.scene", "fps nan\n", "fpsnan.scene:1: \"nan\" is not a finite number"),
    sceneCase("FpsSoSmallAFrameHasNoTime", "fpstiny.scene", "frames 0 3\nfps 1e-320\n",
              "fpstiny.scene:2: frame 3 at 1e-320 fps"),
    sceneCase("KeyValueInfinite", "keyinf.scene", "object A\nkey inf 0 0 0\n",
              "keyinf.scene:2: \"inf\" is not a finite"),
    sceneCase("KeyFrameHuge", "keyhuge.scene", "object A\nkey 0 1e308 0 0\n", "keyhuge.scene:2: a key's frame"),
    sceneCase("ValueNotANumber", "valnan.scene", "value nan\n", "valnan.scene:1: \"nan\" is not a finite number"),
    sceneCase("ValueOutOfRange", "valover.scene", "value 1e999\n", "valover.scene:1: \"1e999\" is out of range"),
    sceneCase("NulByteInALine", "nul.scene", std::string("object A\0B\n", 11), "nul.scene:1: a line holds a NUL byte"),
    sceneCase("ControlCharactersShownEscaped", "ctl.scene", "warp \x1B[2J\b now\n",
              "ctl.scene:1: unknown line \"warp \\x1B[2J\\x08 now\""),
    sceneCase("FpsGivenTwice", "twice.scene", "frames 0 2\nfps 24\nvalue 1\nfps 25\n",
              "twice.scene:4: a second \"fps\" line (the first is line 2)"),
};

// Scene and module paths that are no regular file, too large, cut short, no
// module, or not there.
const std::vector<Case> kBadFiles = {
    {"SceneDevZero", {"--scene", "/dev/zero"}, "scene file /dev/zero is not a regular file"},
    {"SceneDevUrandom", {"--scene", "/dev/urandom"}, "scene file /dev/urandom is not a regular file"},
    {"SceneFolder", {"--scene", "{folder}"}, "scene file {folder} is a directory"},
    {"SceneFifo", {"--scene", "{fifo}"}, "scene file {fifo} is not a regular file"},
    {"SceneOver64MiB", {"--scene", "{oversize}"}, "scene file {oversize} is larger than 64 MiB"},
    {"SceneMissing", {"--scene", "{work}/missing.scene"}, "cannot read scene file {work}/missing.scene"},
    {"ModuleCutShort", {"{cut}"}, "not a loadable module: {cut} (cut short: its segments run to byte"},
    {"ModuleEmpty", {"{work}/empty.p"}, "not a loadable module: {work}/empty.p", "", "", "empty.p", ""},
    {"ModuleOfText",
     {"{work}/text.p"},
     "not a loadable module: {work}/text.p",
     "",
     "",
     "text.p",
     "this is a text file\n"},
    {"ModuleFolder", {"{folder}"}, "module file {folder} is a directory"},
    {"ModuleDevZero", {"/dev/zero"}, "module file /dev/zero is not a regular file"},
    {"ModuleFifo", {"{fifo}"}, "module file {fifo} is not a regular file"},
    {"ModuleNotInTheCurrentFolder", {"kelto.p"}, "no such module file: kelto.p", "{folder}"},
};

// Outputs that cannot be written, would overwrite an input or each other, or
// are refused before the run, where a write would fail after it or store
// nothing.
const std::vector<Case> kBadOutputs = {
    {"PlotIntoAFolder", {"--scene", "{good}", "--plot", "{folder}"}, "cannot write {folder} (--plot): Is a directory"},
    {"PlotUnderAFile",
     {"--scene", "{good}", "--plot", "{good}/x.svg"},
     "cannot write {good}/x.svg (--plot): Not a directory"},
    {"PlotIntoAMissingFolder",
     {"--scene", "{good}", "--plot", "{work}/missing/x.svg"},
     "(--plot): No such file or directory"},
    {"PlotAndSceneToOneFile",
     {"--scene", "{good}", "--plot", "{work}/a.svg", "--write-scene", "{work}/./a.svg"},
     "--plot and --write-scene would both write"},
    {"SceneOverItself",
     {"--scene", "{good}", "--write-scene", "{good}"},
     "--write-scene {good} would overwrite the scene file {good}"},
    {"SceneOverAHardLinkToItself",
     {"--scene", "{good}", "--write-scene", "{work}/hard.scene"},
     "would overwrite the scene file {good}"},
    {"PlotOverALinkToTheModule",
     {"--scene", "{good}", "--plot", "{work}/link.p"},
     "--plot {work}/link.p would overwrite the module file"},
    {"PlotOverTheModule",
     {"{module}", "--scene", "{good}", "--plot", "{module}"},
     "would overwrite the module file {module}"},
    {"PlotThroughADanglingLinkToTheScene",
     {"--scene", "{good}", "--plot", "{work}/dangling.svg", "--write-scene", "{work}/target.svg"},
     "--plot and --write-scene would both write {work}/target.svg"},
    {"PlotThroughALinkIntoAMissingFolder",
     {"--scene", "{good}", "--plot", "{work}/into_missing.svg"},
     "cannot write {work}/into_missing.svg (--plot): No such file or directory"},
    {"PlotIntoAFifoNoOneReads",
     {"--scene", "{good}", "--plot", "{fifo}"},
     "cannot write {fifo}: no process reads the fifo"},
    {"SceneBesideAFileOfTheKernel",
     {"--scene", "{good}", "--write-scene", "/proc/version"},
     "cannot write /proc/version (--write-scene): no file can be made beside it (No such file or directory)"},
    {"PlotToStandardOutput",
     {"--scene", "{good}", "--plot", "/dev/stdout"},
     "--plot /dev/stdout would overwrite standard output"},
    {"SceneNamedAux",
     {"--scene", "{good}", "--write-scene", "{work}/aux.scene"},
     "(--write-scene): AUX is a device on Windows, not a file"},
    {"PlotNamedCom1",
     {"--scene", "{good}", "--plot", "{work}/Com1.svg"},
     "(--plot): COM1 is a device on Windows, not a file"},
    {"PlotNamedLpt9WithTwoExtensions",
     {"--scene", "{good}", "--plot", "{work}/lpt9.tar.svg"},
     "(--plot): LPT9 is a device on Windows, not a file"},
    {"PlotNamedNulAndABlank",
     {"--scene", "{good}", "--plot", "{work}/NUL .svg"},
     "(--plot): NUL is a device on Windows, not a file"},
    {"PlotNamedCon",
     {"--scene", "{good}", "--plot", "con"},
     "cannot write con (--plot): CON is a device on Windows, not a file"},
    {"SceneToAFullDevice",
     {"--scene", "{good}", "--write-scene", "/dev/full"},
     "cannot write /dev/full: No space left on device"},
    {"RunToAFullStandardOutput", {"--scene", "{good}"}, "cannot write to standard output", "", "/dev/full"},
    {"ValidateToAFullStandardOutput",
     {"validate", "{module}", "--seed", "1"},
     "cannot write to standard output",
     "",
     "/dev/full"},
    {"HelpToAFullStandardOutput", {"--help"}, "cannot write to standard output", "", "/dev/full"},
};

// --info runs no scene: what a run would do is refused, not lost. Numbers
// out of range say so, and what the range is. Services no host serves, or
// not this one: withholding them would change nothing.
const std::vector<Case> kBadSettings = {
    {"InfoWithPlot", {"--info", "--plot", "{work}/x.svg"}, "--info cannot go with --plot: it runs no scene"},
    {"InfoWithWriteScene",
     {"--write-scene", "{work}/x.scene", "--info"},
     "--info cannot go with --write-scene: it runs no scene"},
    {"InfoWithPick", {"--info", "--pick", kItem + "=Ball"}, "--info cannot go with --pick: it runs no scene"},
    {"InfoWithSet", {"--info", "--set", "Lag=1"}, "--info cannot go with --set: it runs no scene"},
    {"InfoWithEdit", {"--info", "--edit", "delete Ball@1"}, "--info cannot go with --edit: it runs no scene"},
    {"SetBeyondTheLargestDouble",
     {KELTO_FOCUS_MODULE_PATH, "--scene", "{good}", "--set", "Focus Offset=1e309"},
     "cannot enter \"1e309\" in \"Focus Offset\": 1e309 is out of range: a number lies from "
     "-1.7976931348623157e+308 to 1.7976931348623157e+308"},
    {"SetBelowTheSmallestDouble",
     {KELTO_FOCUS_MODULE_PATH, "--scene", "{good}", "--set", "Subject Offset=0 -1e-400 0"},
     "-1e-400 is out of range: a number lies from"},
    {"SetNotANumber",
     {KELTO_FOCUS_MODULE_PATH, "--scene", "{good}", "--set", "Focus Offset=nan"},
     "cannot enter \"nan\" in \"Focus Offset\": nan is not a finite number, which no field of numbers takes"},
    {"SetMinusInfinity",
     {KELTO_FOCUS_MODULE_PATH, "--scene", "{good}", "--set", "Lag=-inf"},
     "-inf is not a finite number"},
    {"WithholdNoName", {"--withhold", ""}, "--withhold needs a service name"},
    {"WithholdAServiceNoHostServes",
     {"--withhold", "LW Item Info 99"},
     "--withhold \"LW Item Info 99\": no host serves a service of that name"},
    {"WithholdACurrentServiceFromAClassicHost",
     {"--withhold", "LW Item Info 9"},
     "--withhold \"LW Item Info 9\": a classic host does not serve it"},
    {"EditFrameBeyondAnInt",
     {"--scene", "{good}", "--edit", "delete Ball@99999999999"},
     "--edit: an edit's frame, after the last \"@\", is out of range: a frame lies from -2147483648 to 2147483647"},
};

// The command line at its limits.
const std::vector<Case> kBadCommandLines = {
    {"PickWithoutALabel", {"--pick", "=Ball"}, "--pick takes LABEL=ENTRY with a label"},
    {"PickOfNoEntry", {"--pick", kItem + "="}, "cannot pick \"\" in \"" + kItem + "\""},
    {"SceneTwice", {"--scene", "{good}", "--scene", "{good}"}, "--scene given more than once"},
    {"PlotTwice", {"--plot", "a.svg", "--plot", "b.svg"}, "--plot given more than once"},
    {"ClassVersionTwice", {"--class-version", "4", "--class-version", "4"}, "--class-version given more than once"},
    {"SceneWithoutAValue", {"--scene"}, "--scene needs a value"},
    {"SceneFollowedByAnOption", {"--scene", "--info"}, "--scene needs a value"},
    {"SceneEmpty", {"--scene", ""}, "--scene needs a file name"},
    {"ModuleNameEmpty", {""}, "the module file name is empty"},
    {"ClassVersionBeyondAnInt",
     {"--class-version", "99999999999"},
     "--class-version takes a whole number from -2147483648 to 2147483647"},
    {"ClassVersionWithABlank", {"--class-version", " 4"}, "--class-version takes a whole number"},
    {"UnknownShortOption", {"-x"}, "unknown option -x"},
    {"TimeLimitZero", {"--time-limit", "0"}, "--time-limit takes a whole number of seconds from 1 to 86400"},
    {"TimeLimitOverADay", {"--time-limit", "86401"}, "--time-limit takes a whole number of seconds from 1 to 86400"},
    {"TimeLimitNotWhole", {"--time-limit", "1.5"}, "--time-limit takes a whole number of seconds from 1 to 86400"},
};

// Each bad input over the files the cases name, made afresh for each.
class EachBadInput : public HostProcess, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        HostProcess::SetUp();
        good = file("good.scene", "frames 0 2\nobject Ball\ncamera Camera\n");
        goodText = readAll(good);
        moduleBytes = readAll(module);
        fs::create_directories(work + "/folder");
        ASSERT_EQ(::mkfifo((work + "/fifo").c_str(), 0600), 0);
        fs::resize_file(file("oversize.scene", ""), kOversizeBytes);
        fs::create_hard_link(good, work + "/hard.scene");
        fs::create_symlink(module, work + "/link.p");
        fs::create_symlink(work + "/target.svg", work + "/dangling.svg");
        fs::create_symlink(work + "/missing/x.svg", work + "/into_missing.svg");
        file("cut.p", moduleBytes.substr(0, kCutModuleBytes));
    }

    // `text` with each mark of a path the case names replaced by that path.
    std::string expand(std::string text) const {
        const std::pair<std::string, std::string> marks[] = {
            {"{good}", good},           {"{module}", module},       {"{folder}", work + "/folder"},
            {"{fifo}", work + "/fifo"}, {"{cut}", work + "/cut.p"}, {"{oversize}", work + "/oversize.scene"},
            {"{work}", work},
        };
        for (const auto& mark : marks)
            for (size_t at = text.find(mark.first); at != std::string::npos; at = text.find(mark.first, at))
                text.replace(at, mark.first.size(), mark.second), at += mark.second.size();
        return text;
    }

    static constexpr std::uintmax_t kOversizeBytes = (64u << 20) + 1;  // one byte past the largest scene read
    static constexpr size_t kCutModuleBytes = 4096;                    // the headers, and no segment whole
    const std::string module = KELTO_MODULE_PATH;
    std::string good, goodText, moduleBytes;
};

TEST_P(EachBadInput, EndsWithOneLineOnStandardErrorAndExitCodeOne) {
    const Case& bad = GetParam();
    if (!bad.fileName.empty()) file(bad.fileName, bad.fileText);
    std::vector<std::string> args;
    for (const std::string& arg : bad.args) args.push_back(expand(arg));
    Outcome outcome = run(args, expand(bad.folder), bad.stdoutPath);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.code, 1);
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(outcome.err.rfind("kelto-host: ", 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(expand(bad.message)), std::string::npos) << outcome.err;
    EXPECT_TRUE(std::none_of(outcome.err.begin(), outcome.err.end() - 1, [](char ch) {
        return static_cast<unsigned char>(ch) < 0x20;
    })) << outcome.err;
    // Nothing was written over an input.
    EXPECT_EQ(readAll(good), goodText);
    EXPECT_EQ(readAll(module), moduleBytes);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Scene, EachBadInput, ::testing::ValuesIn(kBadScenes), caseName);
INSTANTIATE_TEST_SUITE_P(File, EachBadInput, ::testing::ValuesIn(kBadFiles), caseName);
INSTANTIATE_TEST_SUITE_P(Output, EachBadInput, ::testing::ValuesIn(kBadOutputs), caseName);
INSTANTIATE_TEST_SUITE_P(Setting, EachBadInput, ::testing::ValuesIn(kBadSettings), caseName);
INSTANTIATE_TEST_SUITE_P(CommandLine, EachBadInput, ::testing::ValuesIn(kBadCommandLines), caseName);

// A module that crashes, or never returns, in a call ends the run with one
// line naming that call; what the run showed before it has been shown.
TEST_F(BadInput, AModuleThatDoesNotComeBackEndsTheRunWithOneLine) {
    const std::string modules = KELTO_FAULT_MODULES_DIR "/../crash_modules";
    const std::string scene = file("frames.scene", "frames 0 5\n");
    const std::string written = work + "/written.svg";
    Outcome crashed = run({modules + "/crash_in_evaluate.p", "--scene", scene, "--plot", written});
    EXPECT_TRUE(crashed.exited) << "signal " << crashed.signal;
    EXPECT_EQ(crashed.code, 1);
    EXPECT_EQ(crashed.err,
              "kelto-host: crashed (SIGSEGV, invalid memory access) in a call into the module: evaluate at frame 3\n");
    EXPECT_NE(crashed.out.find("Panel       none\n"), std::string::npos) << crashed.out;
    // Every row made before the crash, and none after it.
    const std::vector<long> framesBefore = {0, 1, 2};
    EXPECT_EQ(framesShown(crashed.out), framesBefore) << crashed.out;
    EXPECT_TRUE(endsWithARow(crashed.out)) << crashed.out;
    EXPECT_FALSE(fs::exists(written));

    Outcome hung = run({modules + "/hang_in_evaluate.p", "--scene", scene, "--time-limit", "1"});
    EXPECT_TRUE(hung.exited) << "signal " << hung.signal;
    EXPECT_EQ(hung.code, 1);
    EXPECT_EQ(hung.err,
              "kelto-host: the run passed its time limit of 1 second in a call into the module: evaluate at frame 3\n");
    EXPECT_EQ(framesShown(hung.out), framesBefore) << hung.out;
    EXPECT_TRUE(endsWithARow(hung.out)) << hung.out;

    // A limit the run does not reach changes nothing.
    Outcome within = run({"--scene", scene, "--time-limit", "60"});
    EXPECT_EQ(within.code, 0) << within.err;
}

// A module that breaks a run otherwise is named for what it did: a crash in
// create loses none of what was shown, an activation result the host does not
// know is refused, and a write into the host's name buffer is the module's
// breach of the host's rule, found before it can crash the host.
TEST_F(BadInput, AModuleThatBreaksTheRunIsNamedForWhatItDid) {
    const std::string modules = KELTO_FAULT_MODULES_DIR "/../crash_modules";
    const std::string scene = file("ball.scene", "frames 0 5\nobject Ball\n");
    Outcome created = run({modules + "/crash_in_create.p", "--scene", scene});
    EXPECT_TRUE(created.exited) << "signal " << created.signal;
    EXPECT_EQ(created.err, "kelto-host: crashed (SIGSEGV, invalid memory access) in a call into the module: create\n");
    const std::string shownBefore = "Scene       " + scene +
                                    ": 1 objects, 0 cameras, frames 0 to 5 at 24 fps\n"
                                    "Activation  ChannelHandler \"Kelto\": 0 (success) at version 4\n";
    EXPECT_EQ(created.out.substr(created.out.size() - std::min(created.out.size(), shownBefore.size())), shownBefore)
        << created.out;

    Outcome unknown = run({modules + "/interface_unknown_result.p", "--scene", scene});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.err, "kelto-host: the ChannelInterface activation returned -1 (unknown result)\n");
    EXPECT_EQ(unknown.out.find("Panel       none"), std::string::npos) << unknown.out;

    const std::string rule = " (the module may only read it)\n";
    for (const char* write : {"into", "past"}) {
        std::string module = modules + "/writes_" + write + "_name.p";
        Outcome written = run({module, "--scene", scene});
        EXPECT_TRUE(written.exited) << write << ": signal " << written.signal;
        EXPECT_EQ(written.code, 1) << write;
        std::string breach = std::string("a name from item info written ") +
                             (write == std::string("into") ? "into" : "past its end") + rule;
        EXPECT_NE(written.out.find("Host check  " + breach), std::string::npos) << written.out;
        EXPECT_EQ(written.err, "kelto-host: 1 host check failed: calls the module should not make\n") << write;
        // Every frame was evaluated: the host went on as if nothing was written.
        EXPECT_EQ(framesShown(written.out), (std::vector<long>{0, 1, 2, 3, 4, 5})) << written.out;
    }
}

// A module that ends the process in a call, as exit(0) would end a run that
// went well, ends it with one line naming that call and exit code 1, in a
// run and in validate's checks run in its own process alike; what the run
// showed before it has been shown, and no file is written.
TEST_F(BadInput, AModuleThatEndsTheProcessIsNamedAndTheRunFails) {
    const std::string modules = KELTO_FAULT_MODULES_DIR "/../crash_modules";
    const std::string scene = file("frames.scene", "frames 0 5\nobject Ball\n");
    const std::string written = work + "/written.svg";
    Outcome exited = run({modules + "/exit_in_evaluate.p", "--scene", scene, "--plot", written});
    EXPECT_TRUE(exited.exited) << "signal " << exited.signal;
    EXPECT_EQ(exited.code, 1);
    EXPECT_EQ(exited.err,
              "kelto-host: the module ended the process (exit status 0) in a call into the module: evaluate at frame "
              "3\n");
    EXPECT_EQ(framesShown(exited.out), (std::vector<long>{0, 1, 2})) << exited.out;
    EXPECT_TRUE(endsWithARow(exited.out)) << exited.out;
    EXPECT_FALSE(fs::exists(written));

    // quick_exit tells no status.
    Outcome quick = run({modules + "/quick_exit_in_evaluate.p", "--scene", scene});
    EXPECT_EQ(quick.code, 1);
    EXPECT_EQ(quick.err,
              "kelto-host: the module ended the process (quick_exit) in a call into the module: evaluate at frame 3\n");

    // validate in its own process: the check in progress never ends, and the
    // totals are never given; the line names the call all the same.
    Outcome validated = run({"validate", modules + "/exit_in_evaluate.p", "--in-this-process", "--seed", "1"});
    EXPECT_EQ(validated.code, 1);
    EXPECT_EQ(validated.err.rfind(
                  "kelto-host: the module ended the process (exit status 0) in a call into the module: evaluate at "
                  "frame 3",
                  0),
              0u)
        << validated.err;
    EXPECT_EQ(validated.out.find(" passed, "), std::string::npos) << validated.out;
}

// A module that calls the host from a thread of its own, even one it joins
// before it returns, gets the answers of a host with nothing to give, and
// the run fails with a host check that says so, naming the call in progress:
// the value set from there is not taken, and nothing crashes.
TEST_F(BadInput, AHostServiceCalledFromASecondThreadIsAHostCheck) {
    const std::string modules = KELTO_FAULT_MODULES_DIR "/../crash_modules";
    const std::string scene = file("ball.scene", "frames 0 5\nobject Ball\n");
    struct ThreadCase {
        std::string module;
        std::string call;
    };
    for (const ThreadCase& c : {ThreadCase{"sets_channel_from_thread", "setChannel (the channel access record)"},
                                ThreadCase{"asks_item_info_from_thread", "first (LW Item Info 3)"}}) {
        Outcome outcome = run({modules + "/" + c.module + ".p", "--scene", scene});
        EXPECT_TRUE(outcome.exited) << c.module << " signal " << outcome.signal;
        EXPECT_EQ(outcome.code, 1) << c.module;
        EXPECT_EQ(outcome.err, "kelto-host: 1 host check failed: calls the module should not make\n") << c.module;
        EXPECT_NE(outcome.out.find("Host check  " + c.call +
                                   " called from a second thread in a call into the module: evaluate at frame 3; a "
                                   "host serves only the thread that calls into the module (answered neutrally"),
                  std::string::npos)
            << outcome.out;
        // Frame 3's value is not the one set from the thread.
        e2e::FrameRow third = e2e::rowOfFrame(outcome.out, 3);
        EXPECT_EQ(third.frame, 3) << outcome.out;
        EXPECT_EQ(third.value, 0.0) << outcome.out;
        EXPECT_FALSE(third.set) << outcome.out;
    }
}

// A run that fails writes none of its files, and leaves nothing beside them.
TEST_F(BadInput, ARunThatFailsWritesNoFile) {
    const std::string plot = file("plot.svg", "old plot"), saved = file("saved.scene", "old scene");
    const std::string faults = KELTO_FAULT_MODULES_DIR;
    const std::vector<std::vector<std::string>> failing = {
        {faults + "/fault_save_error.p", "--plot", plot, "--write-scene", saved},
        {faults + "/fault_resolving_sets_twice.p", "--plot", plot, "--write-scene", saved},
        {faults + "/fault_load_error.p", "--plot", plot, "--write-scene", saved},
        {"--plot", plot, "--write-scene", saved, "--edit", "delete Moon@4"},
    };
    for (const std::vector<std::string>& args : failing) {
        Outcome outcome = run(args);
        EXPECT_EQ(outcome.code, 1) << args[0] << outcome.err;
        EXPECT_EQ(readAll(plot), "old plot") << args[0];
        EXPECT_EQ(readAll(saved), "old scene") << args[0];
    }
    // Files yet to be made are not made; neither is anything beside them.
    Outcome checks = run(
        {faults + "/fault_resolving_sets_twice.p", "--plot", work + "/new.svg", "--write-scene", work + "/new.scene"});
    EXPECT_NE(checks.err.find("host check failed"), std::string::npos) << checks.err;
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(work)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"plot.svg", "saved.scene", "stderr", "stdout"}));

    // A run that succeeds writes through a dangling link to where it points.
    fs::create_symlink(work + "/made.svg", work + "/link.svg");
    Outcome made = run({"--plot", work + "/link.svg"});
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(readAll(work + "/made.svg").rfind("<svg", 0), 0u);
    EXPECT_TRUE(fs::is_symlink(work + "/link.svg"));
}

// Too little memory for a scene ends the run as any other failure does, not
// with an abort. Sanitizers reserve more address space than any limit here
// would leave, so under them it cannot be tried.
TEST_F(BadInput, RunningOutOfMemoryEndsWithOneLine) {
#if defined(__SANITIZE_ADDRESS__) || KELTO_HAS_ADDRESS_SANITIZER
    GTEST_SKIP() << "an address-space limit cannot be set under AddressSanitizer";
#else
    const size_t kNameBytes = size_t(16) << 20;
    const rlim_t kAddressSpace = rlim_t(48) << 20;  // the demo runs in less than 32 MiB
    std::string scene = file("large.scene", "frames 0 1\nobject " + std::string(kNameBytes, 'A') + "\n");
    Outcome outcome = run({"--scene", scene}, "", "", kAddressSpace);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.code, 1);
    EXPECT_EQ(outcome.err, "kelto-host: out of memory\n");
#endif
}

TEST_F(BadInput, ValuesAtTheEdgeOfTheLimitsRunThrough) {
    // Frames up to the largest int, without the count wrapping round.
    Outcome last = run({"--scene", file("last.scene", "frames 2147483600 2147483647\n")});
    ASSERT_EQ(last.code, 0) << last.err;
    std::vector<e2e::FrameRow> rows = e2e::frameRows(last.out);
    ASSERT_EQ(rows.size(), 48u) << last.out;
    EXPECT_EQ(rows.back().frame, 2147483647) << last.out;
    EXPECT_NEAR(rows.back().time, 2147483647 / 24.0, 5e-5) << last.out;

    // A value far wider than its column, printed with an exponent.
    Outcome full = run({"--scene", file("wide.scene", "value 1e300\n")});
    e2e::FrameRow first = e2e::rowOfFrame(full.out, 0);
    EXPECT_EQ(first.value, 1e300) << full.out;
    EXPECT_NE(full.out.find(" 1.000000e+300  (not set)\n"), std::string::npos) << full.out;

    // A module named without a folder is the file in the current folder.
    fs::path moduleFile(KELTO_MODULE_PATH);
    Outcome bare = run({moduleFile.filename().string(), "--info"}, moduleFile.parent_path().string());
    EXPECT_EQ(bare.code, 0) << bare.err;
    EXPECT_NE(bare.out.find("Module      kelto.p\n"), std::string::npos) << bare.out;
}

}  // namespace
