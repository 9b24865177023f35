// Sorting a table's rows by a clicked column heading: which column and which
// way the rows are sorted after each click, and the order the rows take.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The column the rows are sorted by, and the direction. None at first and
// after every new fill: the rows then stand in the order they were filled.
struct ColumnSort {
    int column = -1;  // -1: not sorted
    bool descending = false;

    bool sorted() const { return column >= 0; }
    // A click on the heading of the column: a second click on the same
    // heading turns the order round, a click on another heading sorts by
    // that one, ascending.
    void click(int clicked);
    void reset();
};

// The new order of the rows, as positions in `rows`: first the position of
// the row that goes to the top, and so on. Rows are compared by their cells
// of the column with compare_cells, ascending or descending; rows whose
// cells sort alike keep the order they have in `rows`. A row without that
// column counts as holding the empty cell.
std::vector<size_t> sorted_row_order(const std::vector<std::vector<std::string>>& rows, size_t column,
                                     bool descending);
