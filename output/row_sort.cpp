#include "output/row_sort.h"

#include "output/cell_order.h"

#include <algorithm>
#include <numeric>

void ColumnSort::click(int clicked)
{
    if (clicked == column) {
        descending = !descending;
        return;
    }
    column = clicked;
    descending = false;
}

void ColumnSort::reset()
{
    column = -1;
    descending = false;
}

std::vector<size_t> sorted_row_order(const std::vector<std::vector<std::string>>& rows, size_t column,
                                     bool descending)
{
    static const std::string empty;
    auto cell = [&](size_t row) -> const std::string& {
        return column < rows[row].size() ? rows[row][column] : empty;
    };
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Stable both ways: descending is not the ascending order read backwards,
    // rows that sort alike stay in the order they had.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = compare_cells(cell(a), cell(b));
        return descending ? c > 0 : c < 0;
    });
    return order;
}
