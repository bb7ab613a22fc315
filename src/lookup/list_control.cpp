#include "lookup/list_control.h"

#include <algorithm>
#include <numeric>

#include "platform/text/strings.h"

namespace lookup {
namespace {

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

}  // namespace

const std::string& ListControl::KeyText(const ListRow& row, int key) {
    if (key <= 0) return row.text;
    const auto index = static_cast<std::size_t>(key - 1);
    return index < row.subItems.size() ? row.subItems[index] : Empty();
}

const std::string& ListControl::ColumnText(const ListRow& row, int c) {
    return KeyText(row, c - 1);
}

double ListControl::ColumnLeft(int c) const {
    double left = 0;
    for (int i = 1; i < c && i <= static_cast<int>(columns.size()); ++i) {
        left += columns[static_cast<std::size_t>(i - 1)].width;
    }
    return left;
}

void ListControl::Sort() {
    if (!sorted || rows.size() < 2) return;
    // Keys folded once, then an index sort: the rows move once.
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const ListRow& row : rows) keys.push_back(text::ToUpper(KeyText(row, sortKey)));
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? keys[b] < keys[a] : keys[a] < keys[b];
    });
    std::vector<ListRow> ordered;
    ordered.reserve(rows.size());
    int newSelected = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == selected) newSelected = static_cast<int>(i);
        ordered.push_back(std::move(rows[order[i]]));
    }
    rows = std::move(ordered);
    selected = newSelected;
}

}  // namespace lookup
