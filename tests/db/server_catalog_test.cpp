// What a server column could refuse, and how a scratch value is handed to
// the server: a row the check lets through must never be one the server
// refuses, and a value must reach the server as its column's type holds it.
#include "db/server_catalog.h"

#include "db/server_bulk_insert.h"

#include <gtest/gtest.h>

namespace dcf::db {
namespace {

ServerColumn column(ServerColumn::Kind kind) {
    ServerColumn made;
    made.name = "c";
    made.kind = kind;
    return made;
}

TEST(ServerCatalog, MayRefuseOnlyWhatTheColumnCannotHold) {
    using Kind = ServerColumn::Kind;
    ServerColumn width5 = column(Kind::Text);
    width5.maxChars = 5;
    ServerColumn required = column(Kind::Text);
    required.notNull = true;
    ServerColumn money = column(Kind::Numeric);
    money.precision = 5;
    money.scale = 2;
    ServerColumn wide = column(Kind::Numeric);
    wide.precision = 19;
    wide.scale = 4;
    ServerColumn small = column(Kind::Integer);
    small.largest = 32767;
    struct Case {
        const ServerColumn& column;
        Value value;
        bool refused;
    };
    const Case cases[] = {
        {width5, Value(std::string("abcde")), false},
        {width5, Value(std::string("abcdef")), true},
        // Characters, not bytes.
        {width5, Value(std::string("ZüriÖ")), false},
        {width5, Value(Null{}), false},
        {required, Value(Null{}), true},
        {required, Value(std::string()), false},
        {money, Value(Currency::fromTenThousandths(9999400)), false},
        // 999.995 rounds to 1000.00, past three digits before the point.
        {money, Value(Currency::fromTenThousandths(9999950)), true},
        {money, Value(Currency::fromTenThousandths(-10000000)), true},
        {money, Value(std::string("12.5")), false},
        {money, Value(std::string("12x")), true},
        {wide, Value(Currency::fromTenThousandths(INT64_MAX)), false},
        {small, Value(std::int64_t{32767}), false},
        {small, Value(std::int64_t{-32769}), true},
        {small, Value(std::string("7")), false},
        {column(Kind::Boolean), Value(true), false},
        {column(Kind::Boolean), Value(std::string("yes")), true},
        {column(Kind::Other), Value(std::string("2026-01-01")), true},
        {column(Kind::Text), Value(std::string(100000, 'x')), false},
    };
    int row = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(ServerCatalog::mayRefuse(c.column, c.value), c.refused) << "case " << row;
        ++row;
    }
}

TEST(ServerCatalog, HandsEachValueToTheServerAsItsColumnHoldsIt) {
    using Kind = ServerColumn::Kind;
    struct Case {
        Kind kind;
        Value scratch;
        Value server;
    };
    const Case cases[] = {
        // SQLite keeps flags as 1 and 0, amounts as their text.
        {Kind::Boolean, Value(std::int64_t{1}), Value(true)},
        {Kind::Boolean, Value(std::int64_t{0}), Value(false)},
        {Kind::Numeric, Value(std::string("-12.5000")),
         Value(Currency::fromTenThousandths(-125000))},
        {Kind::Numeric, Value(std::int64_t{3}), Value(Currency::fromTenThousandths(30000))},
        {Kind::Numeric, Value(std::string("n/a")), Value(std::string("n/a"))},
        {Kind::Integer, Value(std::string("42")), Value(std::int64_t{42})},
        {Kind::Text, Value(std::int64_t{7}), Value(std::string("7"))},
        {Kind::Text, Value(Null{}), Value(Null{})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ServerCatalog::forServer(column(c.kind), c.scratch), c.server)
            << toText(c.scratch);
    }
}

TEST(ServerCatalog, TheScratchTableKeepsAmountsWithoutAnAffinity) {
    ServerTable table{"rcpt", {column(ServerColumn::Kind::Text)}};
    table.columns.push_back(column(ServerColumn::Kind::Numeric));
    table.columns.back().name = "amt";
    table.columns.push_back(column(ServerColumn::Kind::Boolean));
    table.columns.back().name = "flag";
    EXPECT_EQ(ServerCatalog::scratchTableSql(table),
              "create table \"rcpt\" (\"c\" TEXT, \"amt\", \"flag\" INTEGER)");
}

TEST(ServerBulkInsert, ValuesBecomeArrayElementsThatKeepEveryCharacter) {
    const std::pair<Value, std::string> cases[] = {
        {Value(std::string("say \"hi\"\\ {a,b} NULL\t\n ✓")), R"("say \"hi\"\\ {a,b} NULL)"
                                                              "\t\n ✓\""},
        {Value(std::string()), R"("")"},
        {Value(Currency::fromTenThousandths(-5)), R"("-0.0005")"},
        {Value(true), R"("t")"},
        {Value(std::int64_t{-3}), R"("-3")"},
    };
    for (const auto& [value, element] : cases) {
        std::string out;
        appendArrayElement(out, serverText(value));
        EXPECT_EQ(out, element);
    }
}

} // namespace
} // namespace dcf::db
