// Numbering of the opening-balance voucher from the highest existing "SI" number.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "purge/stock_statements.h"

namespace {

TEST(StockNumbering, NextVoucherNumber) {
    struct Case {
        adodb::Variant ultimo;
        std::optional<std::string> next;
    };
    const Case cases[] = {
        {adodb::Variant::Null(), "000100000001X"},
        {adodb::Variant(), "000100000001X"},
        {"000100000041X", "000100000042X"},  // prefix and suffix kept
        {"000300000099B", "000300000100B"},
        {"000100000041", "000100000042"},    // no suffix to copy
        {"0001000041ZZX", "000100000042X"},  // the sequence is read up to its first non-digit
        {"000199999998X", "000199999999X"},
        {"000199999999X", std::nullopt},  // a ninth digit would break the numbering
    };
    for (const Case& c : cases) {
        EXPECT_EQ(purge::stock::NextVoucherNumber(c.ultimo), c.next)
            << (c.ultimo.IsNull() ? "Null" : c.ultimo.ToString());
    }
}

}  // namespace
