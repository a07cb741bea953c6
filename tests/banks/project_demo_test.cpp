// The demo saves the show it built; a fresh run of the kavrel program loads
// it and shows the same frames. The project kept in examples/ loads too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

// The rows that `print frame` printed, in order.
std::vector<std::string> frameRows(const std::string& output) {
    static const std::regex row("^([0-9A-F]{6} ){11}[0-9A-F]{6}$");
    std::vector<std::string> rows;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, row)) rows.push_back(line);
    return rows;
}

std::string script(const char* name) {
    return std::string("'") + KAVREL_SOURCE_DIR + "/examples/" + name + "'";
}

TEST(ProjectDemo, AFreshRunLoadsTheSavedShowWithTheSameFrames) {
    const kavrel_test::TempFolder folder("kavrel-project-demo");
    const std::filesystem::path& dir = folder.path();
    std::filesystem::create_directories(dir / "demo-out");
    const auto saving = hosttest::runKavrelIn(dir, script("demo.kav"));
    ASSERT_EQ(saving.status, 0) << saving.output;
    const auto loading = hosttest::runKavrelIn(dir, script("demo-load.kav"));
    ASSERT_EQ(loading.status, 0) << loading.output;
    const std::vector<std::string> saved = frameRows(saving.output);
    ASSERT_EQ(saved.size(), 36u);  // banks A and B and the mix, 12 rows each
    EXPECT_EQ(frameRows(loading.output), saved);
    // Bank A (red) and bank B (a green-to-blue gradient) differ: a load that
    // swapped or lost them would show.
    EXPECT_NE(saved[0], saved[12]);
    EXPECT_NE(saved[12].substr(0, 6), saved[12].substr(77));

    // The project kept in examples/, written by an earlier demo, loads.
    std::ofstream(dir / "example.kav")
        << "open\nanswer file \"" << KAVREL_SOURCE_DIR << "/examples/show.Kavrel\"\n"
        << "click MatrixForm.myload\nexpect message \"Matrix Project loaded\"\n"
        << "expect MatrixForm.efxAList.Count 6\nexpect MatrixForm.efxBList.Count 7\nquit\n";
    const auto example = hosttest::runKavrelIn(dir, "example.kav");
    EXPECT_EQ(example.status, 0) << example.output;
}

}  // namespace
