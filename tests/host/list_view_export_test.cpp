// The list view export: tables as the result list shows them, and the bytes
// written for them.
#include "output/list_view_export.h"
#include "tests/support/chain_builder.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct ExportCase {
    const char* what;
    ListViewTable table;
    std::string expected;  // with "\n" for each line end
};

class ListViewExport : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ListViewExport, WritesHeadingsAndRows)
{
    TestFolder folder;
    std::string path = folder.path("list.txt");
    write_file_bytes(path, "old content\r\n");
    ASSERT_TRUE(write_list_view(path, GetParam().table));
    EXPECT_EQ(read_file_bytes(path), crlf(GetParam().expected));
    // The clipboard's text is the same, with its line ends as "\n".
    EXPECT_EQ(list_view_text(GetParam().table), GetParam().expected);
}

const std::string kLong(5000, 'h');

INSTANTIATE_TEST_SUITE_P(
    Tables, ListViewExport,
    ::testing::Values(ExportCase{"empty", {{"Attribute", "Value"}, {}}, ""},
                      ExportCase{"attributes",
                                 {{"Attribute", "Value"}, {{"Name", "CPU0"}, {"Cores", "4"}}},
                                 "Attribute\tValue\nName\tCPU0\nCores\t4\n"},
                      ExportCase{"table with empty cells",
                                 {{"A", "B", "C"}, {{"1", "", "3"}, {"", "", ""}}},
                                 "A\tB\tC\n1\t\t3\n\t\t\n"},
                      ExportCase{"tab and line ends inside a cell",
                                 {{"Attribute", "Value"}, {{"Path", "a\tb\r\nc"}}},
                                 "Attribute\tValue\nPath\ta b  c\n"},
                      ExportCase{"long heading kept whole", {{kLong}, {{"x"}}}, kLong + "\nx\n"}),
    [](const ::testing::TestParamInfo<ExportCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_P(ListViewExport, ClipboardTextIsTheFilesBytes)
{
    // Copy and export cannot differ: the clipboard gets what the file holds.
    TestFolder folder;
    std::string path = folder.path("list.txt");
    ASSERT_TRUE(write_list_view(path, GetParam().table));
    EXPECT_EQ(clipboard_text(GetParam().table), read_file_bytes(path));
}

struct CopyCase {
    const char* what;
    std::vector<int> selected;
    std::vector<std::vector<std::string>> rows;  // the rows copied
};

void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.what; }

class RowsToCopy : public ::testing::TestWithParam<CopyCase> {};

const ListViewTable kShown{{"Entry", "Size"}, {{"b", "100"}, {"a", "9"}, {"c", "10"}, {"d", ""}}};

TEST_P(RowsToCopy, SelectedRowsInTheirShownOrderOrEveryRow)
{
    const ListViewTable copy = rows_to_copy(kShown, GetParam().selected);
    EXPECT_EQ(copy.headings, kShown.headings);
    EXPECT_EQ(copy.rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Selections, RowsToCopy,
                         ::testing::Values(CopyCase{"none selected", {}, kShown.rows},
                                           CopyCase{"one", {2}, {{"c", "10"}}},
                                           CopyCase{"first and last", {0, 3}, {{"b", "100"}, {"d", ""}}},
                                           // Given in any order, copied in the order shown.
                                           CopyCase{"out of order", {3, 1}, {{"a", "9"}, {"d", ""}}},
                                           CopyCase{"twice", {1, 1}, {{"a", "9"}}},
                                           CopyCase{"every row", {0, 1, 2, 3}, kShown.rows},
                                           // Positions the table does not have count for nothing.
                                           CopyCase{"outside the table", {-1, 4}, kShown.rows},
                                           CopyCase{"outside and inside", {7, 2}, {{"c", "10"}}}),
                         [](const ::testing::TestParamInfo<CopyCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(RowsToCopy, ATableWithoutRowsCopiesNoText)
{
    const ListViewTable copy = rows_to_copy({{"Attribute", "Value"}, {}}, {0});
    EXPECT_TRUE(copy.rows.empty());
    EXPECT_EQ(clipboard_text(copy), "");
}

TEST(ListViewExportFailure, UnopenablePathShowsTheStopBoxAndFails)
{
    RecordingWindowSide side(true);
    TestFolder folder;
    std::string path = folder.dir() + "/no such folder/list.txt";
    EXPECT_FALSE(write_list_view(path, {{"A"}, {{"1"}}}));
    EXPECT_EQ(side.stop_boxes(), std::vector<std::string>{"Could not open file:\n" + path});
}

}  // namespace
