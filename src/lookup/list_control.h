#pragma once
// The report-style list of the list lookup window as plain data: columns with titles and
// widths (twips), rows with a text, sub-items, a tick and an optional colour, the selected
// row and the list's own sorting. The Qt window shows it; the window's logic works on it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lookup {

struct ListColumn {
    std::string title;
    double width = 0;  // twips
};

struct ListRow {
    std::string text;
    std::vector<std::string> subItems;  // sub-item k is subItems[k - 1]
    bool checked = false;
    // Colour number in the 00BBGGRR layout; a coloured row is drawn bold.
    std::optional<std::uint32_t> colour;
};

class ListControl {
  public:
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    int selected = -1;  // 0-based; -1 when no row is selected
    bool checkBoxes = false;

    // The list's own sorting: when on, rows are kept ordered by the text of the sort key
    // column (0 the row text, k sub-item k), letter case ignored.
    bool sorted = false;
    int sortKey = 0;
    bool descending = false;

    // Text of 1-based column c of a row: the row text for c = 1, sub-item c - 1 after.
    // Empty text for a column the row does not have.
    static const std::string& ColumnText(const ListRow& row, int c);
    // Text of column `key` (0 the row text, k sub-item k).
    static const std::string& KeyText(const ListRow& row, int key);

    // Left edge of 1-based column c: the sum of the widths before it.
    double ColumnLeft(int c) const;

    // Orders the rows when sorting is on; the selected row stays selected.
    void Sort();
};

}  // namespace lookup
