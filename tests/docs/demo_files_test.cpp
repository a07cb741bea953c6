// The files the demo writes: the project kept in examples/ is byte for byte
// what the demo saves, and the pictures are numbered once, in the order the
// demo takes them, across both sessions and the stand-in simulator.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

std::string source(const std::string& name) {
    return std::string(KAVREL_SOURCE_DIR) + "/" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line where two texts differ, 1-based; 0 when they are equal.
size_t firstDifferentLine(const std::string& a, const std::string& b) {
    if (a == b) return 0;
    std::istringstream ia(a), ib(b);
    std::string la, lb;
    for (size_t line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(ia, la));
        const bool moreB = static_cast<bool>(std::getline(ib, lb));
        if (moreA != moreB || la != lb || !moreA) return line;
    }
}

TEST(DemoFiles, TheKeptProjectIsWhatTheDemoSaves) {
    const kavrel_test::TempFolder folder("kavrel-demo-files");
    const std::filesystem::path& dir = folder.path();
    std::filesystem::create_directories(dir / "demo-out");
    // As scripts/demo.sh runs it: from a folder holding demo-out/, whose
    // relative picture paths the project stores as given.
    const auto run = hosttest::runKavrelIn(
        dir, "--dmx-log demo-out/dmx.log '" + source("examples/demo.kav") + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string saved = readFile((dir / "demo-out/show.Kavrel").string());
    const std::string kept = readFile(source("examples/show.Kavrel"));
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.size(), kept.size());
    EXPECT_EQ(firstDifferentLine(saved, kept), 0u)
        << "examples/show.Kavrel differs from the demo's save; copy demo-out/show.Kavrel "
           "after running scripts/demo.sh";
}

// Picture names in the order the demo writes them: the two sessions'
// snapshots, then the simulator's picture, written when the listener ends.
std::vector<std::string> demoPictures() {
    std::vector<std::string> names;
    const std::regex snapshot(R"(^snapshot \S+ demo-out/(\S+\.png)\b)");
    for (const char* script : {"examples/demo.kav", "examples/preview-demo.kav"}) {
        std::istringstream in(readFile(source(script)));
        std::smatch m;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, m, snapshot)) names.push_back(m[1]);
    }
    const std::string demo = readFile(source("scripts/demo.sh"));
    std::smatch m;
    if (std::regex_search(demo, m, std::regex(R"(--png demo-out/(\S+\.png))")))
        names.push_back(m[1]);
    return names;
}

TEST(DemoFiles, PicturesAreNumberedOnceInTheOrderTaken) {
    const std::string demo = readFile(source("scripts/demo.sh"));
    const size_t first = demo.find("examples/demo.kav");
    const size_t second = demo.find("examples/preview-demo.kav");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    ASSERT_LT(first, second) << "the order below is the order demo.sh runs the sessions";

    const std::vector<std::string> names = demoPictures();
    ASSERT_GE(names.size(), 30u);
    const std::regex numbered(R"(([0-9]{2})-[A-Za-z0-9-]+\.png)");
    std::set<std::string> seen;
    int last = 0;
    for (const std::string& name : names) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(name, m, numbered)) << name;
        EXPECT_TRUE(seen.insert(name).second) << name << " is written twice";
        // Pictures of one moment share a number; the next moment takes the next.
        const int number = std::stoi(m[1].str());
        EXPECT_TRUE(number == last + 1 || (number == last && last > 0))
            << name << " follows a picture numbered " << last;
        last = number;
    }
}

}  // namespace
