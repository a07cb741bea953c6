#include "platform/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

std::string reasonFor(const std::string& path) {
    const platform::FileBytes file = platform::readWholeFile(path, 100);
    EXPECT_FALSE(file.content) << path;
    EXPECT_FALSE(file.tooLarge) << path;
    return file.reason;
}

}  // namespace

TEST(FileRead, ReadsAFileWholeOrSaysWhyNotInTheSystemsWords) {
    const kavrel_test::TempFolder dir("file-read");
    const std::string file = dir / "a.Kavrel";
    std::ofstream(file, std::ios::binary) << std::string(100, 'x');
    EXPECT_EQ(platform::readWholeFile(file, 100).content, std::string(100, 'x'));
    const platform::FileBytes over = platform::readWholeFile(file, 99);
    EXPECT_FALSE(over.content);
    EXPECT_TRUE(over.tooLarge);

    EXPECT_EQ(reasonFor(dir / "missing"), "No such file or directory");
    EXPECT_EQ(reasonFor(dir.path().string()), "Is a directory");
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(reasonFor(fifo), "it is not a regular file");  // and no wait for a writer
    EXPECT_EQ(reasonFor(file + std::string(1, '\0') + "x"), "Invalid argument");
}
