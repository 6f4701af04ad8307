// The kinds of a CSV register's cells, which decide its columns' types in
// a typed output.
#include <string>

#include <gtest/gtest.h>

#include "inventory/column_types.h"

namespace {

using orv::inventory::column_kind;
using orv::inventory::kind_of;
using orv::inventory::widen;

TEST(InventoryColumnTypes, EachCellsKind) {
    struct kind_case {
        const char* text;
        char dec;
        column_kind want;
    } cases[] = {
        {"", '.', column_kind::none},
        {" \t ", ',', column_kind::none},
        {"12", '.', column_kind::int32},
        {" 7 ", ',', column_kind::int32},
        {"-3", '.', column_kind::int32},
        {"+4", '.', column_kind::int32},
        {"0", ',', column_kind::int32},
        {"2147483647", '.', column_kind::int32},
        {"-2147483648", '.', column_kind::int32},
        {"2147483648", '.', column_kind::int64},
        {"-9223372036854775808", '.', column_kind::int64},
        {"9223372036854775808", '.', column_kind::real},
        {"0,2", ',', column_kind::real},
        {"0.2", '.', column_kind::real},
        {"0,2", '.', column_kind::text},
        {"1.5", ',', column_kind::text},
        {"1e3", '.', column_kind::real},
        {"-,5", ',', column_kind::real},
        {"007", '.', column_kind::text},
        {"-01,5", ',', column_kind::text},
        {"0,5", ',', column_kind::real},
        {"inf", '.', column_kind::text},
        {"nan", '.', column_kind::text},
        {"abc", '.', column_kind::text},
        {"12 m", '.', column_kind::text},
        {"1 000", '.', column_kind::text},
        {"++1", '.', column_kind::text},
    };
    for (const kind_case& c : cases)
        EXPECT_EQ(kind_of(c.text, c.dec), c.want) << "'" << c.text << "' " << c.dec;
}

TEST(InventoryColumnTypes, AColumnTakesTheWidestKind) {
    const column_kind all[] = {column_kind::none, column_kind::int32, column_kind::int64,
                               column_kind::real, column_kind::text};
    for (column_kind a : all) {
        EXPECT_EQ(widen(column_kind::none, a), a);
        EXPECT_EQ(widen(a, column_kind::text), column_kind::text);
        EXPECT_EQ(widen(a, a), a);
    }
    EXPECT_EQ(widen(column_kind::int32, column_kind::int64), column_kind::int64);
    EXPECT_EQ(widen(column_kind::real, column_kind::int32), column_kind::real);
}

} // namespace
