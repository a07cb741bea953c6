// Runs every script example of the docs and the README with the real program:
// fenced blocks marked `kav` are scripts, and an `output` block right after
// one is exactly what that script prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

struct Example {
    std::string file;
    int line = 0;  // of the opening fence
    std::string script;
    bool hasOutput = false;
    std::string output;
};

struct Block {
    std::string tag;
    int line = 0;
    std::string text;
};

// The fenced blocks of a Markdown file, in order; an unclosed one is an error.
std::vector<Block> fencedBlocks(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<Block> blocks;
    std::string line;
    int number = 0;
    bool inside = false;
    while (std::getline(in, line)) {
        ++number;
        if (line.rfind("```", 0) == 0) {
            if (!inside) blocks.push_back({line.substr(3), number, {}});
            inside = !inside;
        } else if (inside) {
            blocks.back().text += line + '\n';
        }
    }
    EXPECT_FALSE(inside) << path << ": a block is not closed";
    return blocks;
}

std::vector<Example> docExamples() {
    std::vector<Example> examples;
    const std::filesystem::path source(KAVREL_SOURCE_DIR);
    std::vector<std::filesystem::directory_entry> pages{
        std::filesystem::directory_entry(source / "README.md")};
    pages.insert(pages.end(), std::filesystem::directory_iterator(source / "docs"), {});
    for (const auto& entry : pages) {
        if (entry.path().extension() != ".md") continue;
        const auto blocks = fencedBlocks(entry.path());
        for (size_t i = 0; i < blocks.size(); ++i) {
            const Block& b = blocks[i];
            // Every block says what it is, so no script goes untested unnoticed.
            EXPECT_TRUE(b.tag == "kav" || b.tag == "output" || b.tag == "text")
                << entry.path() << ':' << b.line << ": block marked \"" << b.tag << '"';
            if (b.tag == "output") {
                EXPECT_TRUE(i > 0 && blocks[i - 1].tag == "kav")
                    << entry.path() << ':' << b.line << ": output without its script";
            }
            if (b.tag != "kav") continue;
            Example e{entry.path().filename().string(), b.line, b.text, false, {}};
            if (i + 1 < blocks.size() && blocks[i + 1].tag == "output") {
                e.hasOutput = true;
                e.output = blocks[i + 1].text;
            }
            examples.push_back(std::move(e));
        }
    }
    return examples;
}

}  // namespace

TEST(DocsExamples, EveryScriptInTheDocsRunsAsShown) {
    const auto examples = docExamples();
    ASSERT_GE(examples.size(), 8u);
    for (const Example& e : examples) {
        // Each example in a folder of its own, as a user would start it.
        const kavrel_test::TempFolder dir("kavrel-docs");
        std::ofstream(dir / "example.kav") << e.script;
        const hosttest::ProgramRun run = hosttest::runKavrelIn(dir.path(), "example.kav");
        const std::string where = e.file + ':' + std::to_string(e.line);
        if (e.hasOutput) {
            EXPECT_EQ(run.output, e.output) << where;
            EXPECT_TRUE(run.status >= 0 && run.status <= 2) << where;
        } else {
            EXPECT_EQ(run.status, 0) << where << '\n' << run.output;
        }
    }
}
