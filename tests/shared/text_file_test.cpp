// Text files as the program writes them: a file opened for appending keeps
// what it holds and writes at its end, also after another writer.
#include "base/text_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> lines_of(const std::string& path)
{
    std::vector<std::string> lines;
    TextFile in;
    if (!in.open(path, 'r'))
        return lines;
    std::string line;
    while (in.read_line(line))
        lines.push_back(line);
    return lines;
}

TEST(TextFileAppend, CreatesAMissingFileAndKeepsAnExistingOne)
{
    TestFolder folder;
    const std::string path = folder.path("append.txt");
    {
        TextFile out;
        ASSERT_TRUE(out.open(path, 'a'));
        out.write("first\n");
    }
    {
        TextFile out;
        ASSERT_TRUE(out.open(path, 'a'));
        out.write("second\n");
    }
    EXPECT_EQ(lines_of(path), (std::vector<std::string>{"first", "second"}));
}

TEST(TextFileAppend, WritesAfterWhatAnotherWriterAppended)
{
    // Two writers on one file, as a running copy's log and the line that a
    // refused second copy adds to it: neither overwrites the other.
    TestFolder folder;
    const std::string path = folder.path("shared.log");
    TextFile running;
    ASSERT_TRUE(running.open(path, 'w'));
    ASSERT_TRUE(running.open(path, 'a'));
    running.write("running: one\n", true);
    {
        TextFile refused;
        ASSERT_TRUE(refused.open(path, 'a'));
        refused.write("refused: its line\n", true);
    }
    running.write("running: two\n", true);
    running.close();
    EXPECT_EQ(lines_of(path), (std::vector<std::string>{"running: one", "refused: its line", "running: two"}));
}

}  // namespace
