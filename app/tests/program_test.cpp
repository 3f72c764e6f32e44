// The DravikCad program itself, as a person starts it.
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Program = pal::test::SandboxTest;

TEST_F(Program, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "DravikCad", {}, root() / "scratch");
}

// The program in this test's sandbox, with nobody at a display, standard error kept.
pal::test::ProgramEnding run(const fs::path& program, const std::vector<std::string>& args,
                             const fs::path& errFile) {
    return pal::test::runProgram(program, args, errFile,
                                 {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
}

TEST_F(Program, WithNobodyAtADisplayItOpensTheDrawingKeepsItsWindowAsAPictureAndEnds) {
    const fs::path drawing = root() / "plate.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const pal::test::ProgramEnding e = run(binDir() / "DravikCad", {drawing.string()}, root() / "stderr.txt");
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_EQ(e.exitCode, 0) << e.err;

    const fs::path snapshots = root() / "snapshots";
    EXPECT_NE(e.err.find("pictures of its main windows are in " + snapshots.string()), std::string::npos)
        << e.err;
    std::vector<fs::path> pictures;
    if (fs::is_directory(snapshots))
        for (const auto& entry : fs::directory_iterator(snapshots))
            if (entry.path().extension() == ".png")
                pictures.push_back(entry.path());
    EXPECT_EQ(pictures.size(), 1u) << "the one main window";

    std::smatch match;
    ASSERT_TRUE(std::regex_search(e.err, match, std::regex("the log of this run is ([^\n]+)"))) << e.err;
    const std::string log = pal::test::readFile(match[1].str());
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("> Initialized in "), 1u) << log;
    EXPECT_EQ(count("> Closing main window "), 1u) << log;
    EXPECT_EQ(count("Failed"), 0u) << log;
}

} // namespace
