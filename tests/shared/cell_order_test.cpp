// The order of a table's cells when its rows are sorted by a column.
#include "output/cell_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct OrderCase {
    const char* a;
    const char* b;
    int expected;  // the sign of compare_cells(a, b)
};

class CellOrder : public ::testing::TestWithParam<OrderCase> {};

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST_P(CellOrder, ComparesNumbersByValueAndTextsByLetters)
{
    const OrderCase& c = GetParam();
    EXPECT_EQ(sign(compare_cells(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    // Always the mirror image the other way round.
    EXPECT_EQ(sign(compare_cells(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellOrder,
    ::testing::Values(
        // Sizes and counts as numbers, not as letters ("9" < "10").
        OrderCase{"9", "10", -1}, OrderCase{"8589934592", "999", 1}, OrderCase{"0042", "42", 0},
        // Beyond 64 bits the digits still decide.
        OrderCase{"123456789012345678901234567890", "123456789012345678901234567891", -1},
        OrderCase{"-5", "3", -1}, OrderCase{"-5", "-30", 1}, OrderCase{"-0", "0", 0}, OrderCase{"1.5", "1.25", 1},
        OrderCase{"2.50", "2.5", 0}, OrderCase{"0.9", "1", -1},
        // Not numbers: versions, blanks, signs alone, points without digits.
        OrderCase{"1.10.2", "1.9.2", -1}, OrderCase{" 5", "5", 1}, OrderCase{"-", "0", 1}, OrderCase{"5.", "5", 1},
        // Texts with letter case folded, a fixed order when only case differs.
        OrderCase{"apple", "Banana", -1}, OrderCase{"ABC", "abd", -1}, OrderCase{"abc", "ABC", 1},
        OrderCase{"same", "same", 0},
        // Numbers before texts, the empty cell before everything.
        OrderCase{"100", "A", -1}, OrderCase{"", "0", -1}, OrderCase{"", "", 0}, OrderCase{"", "a", -1}));

TEST(CellOrder, SortsAColumnOfSizesAndNames)
{
    std::vector<std::string> cells{"Disk", "250059350016", "", "80026361856", "disk", "1000204886016", "C:"};
    std::stable_sort(cells.begin(), cells.end(),
                     [](const std::string& a, const std::string& b) { return compare_cells(a, b) < 0; });
    EXPECT_EQ(cells, (std::vector<std::string>{"", "80026361856", "250059350016", "1000204886016", "C:", "Disk",
                                               "disk"}));
}

}  // namespace
