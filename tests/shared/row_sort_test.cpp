// Sorting the result list's rows by a clicked heading: the column and
// direction after each click, and the order the rows take.
#include "output/row_sort.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct ClickCase {
    const char* what;
    std::vector<int> clicks;
    int column;  // after the clicks
    bool descending;
};
void PrintTo(const ClickCase& c, std::ostream* out) { *out << c.what; }

class ColumnSortClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ColumnSortClicks, SameHeadingTurnsTheOrderRoundAnotherSortsAscending)
{
    const ClickCase& c = GetParam();
    ColumnSort sort;
    for (int column : c.clicks)
        sort.click(column);
    EXPECT_EQ(sort.column, c.column);
    EXPECT_EQ(sort.descending, c.descending);
    EXPECT_EQ(sort.sorted(), c.column >= 0);
}

INSTANTIATE_TEST_SUITE_P(Clicks, ColumnSortClicks,
                         ::testing::Values(ClickCase{"none", {}, -1, false}, ClickCase{"one", {2}, 2, false},
                                           ClickCase{"twice the same", {2, 2}, 2, true},
                                           ClickCase{"three times the same", {2, 2, 2}, 2, false},
                                           ClickCase{"another after a reversal", {2, 2, 0}, 0, false},
                                           ClickCase{"back to the first", {2, 0, 2}, 2, false},
                                           ClickCase{"column 0 first", {0}, 0, false}),
                         [](const ::testing::TestParamInfo<ClickCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(ColumnSortReset, ANewFillIsUnsortedAndItsFirstClickAscends)
{
    ColumnSort sort;
    sort.click(1);
    sort.click(1);
    sort.reset();
    EXPECT_FALSE(sort.sorted());
    sort.click(1);
    EXPECT_EQ(sort.column, 1);
    EXPECT_FALSE(sort.descending);
}

// Sizes in the second column: as texts "10" < "100" < "9", as numbers not.
const Rows KEYS = {
    {"beta", "100", "x"}, {"Alpha", "9", "y"}, {"gamma", "10", "x"}, {"delta", "", "y"}, {"alpha", "9", "x"},
};

struct OrderCase {
    const char* what;
    Rows rows;
    size_t column;
    bool descending;
    std::vector<size_t> order;
};
void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.what; }

class RowOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(RowOrder, SortsByTheColumnAndKeepsTiesInTheirOrder)
{
    const OrderCase& c = GetParam();
    EXPECT_EQ(sorted_row_order(c.rows, c.column, c.descending), c.order);
}

INSTANTIATE_TEST_SUITE_P(Orders, RowOrder,
                         ::testing::Values(
                             // The empty cell first, then 9, 9 (in their order), 10, 100.
                             OrderCase{"numbers ascending", KEYS, 1, false, {3, 1, 4, 2, 0}},
                             // Ties stay in their order going down too: not the reverse of the above.
                             OrderCase{"numbers descending", KEYS, 1, true, {0, 2, 1, 4, 3}},
                             // Letter case folded; "Alpha" and "alpha" differ by case alone and
                             // have an order of their own (capitals first).
                             OrderCase{"texts ascending", KEYS, 0, false, {1, 4, 0, 3, 2}},
                             OrderCase{"texts descending", KEYS, 0, true, {2, 3, 0, 4, 1}},
                             OrderCase{"equal cells keep their order", KEYS, 2, false, {0, 2, 4, 1, 3}},
                             OrderCase{"equal cells keep their order descending", KEYS, 2, true, {1, 3, 0, 2, 4}},
                             // A short row holds the empty cell in the missing column.
                             OrderCase{"short rows", {{"b", "2"}, {"a"}, {"c", "1"}}, 1, false, {1, 2, 0}},
                             OrderCase{"a column past every row", {{"b"}, {"a"}}, 5, false, {0, 1}},
                             OrderCase{"no rows", {}, 0, false, {}}),
                         [](const ::testing::TestParamInfo<OrderCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(RowOrder, SortingTheSortedRowsByAnotherColumnKeepsTheFirstOrderAmongTies)
{
    // The rows as shown after a sort by name: a sort by the third column then
    // keeps them in name order within each of its values.
    Rows shown;
    for (size_t i : sorted_row_order(KEYS, 0, false))
        shown.push_back(KEYS[i]);
    Rows again;
    for (size_t i : sorted_row_order(shown, 2, false))
        again.push_back(shown[i]);
    EXPECT_EQ(again, (Rows{{"alpha", "9", "x"},
                           {"beta", "100", "x"},
                           {"gamma", "10", "x"},
                           {"Alpha", "9", "y"},
                           {"delta", "", "y"}}));
}

}  // namespace
