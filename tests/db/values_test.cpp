#include "db/connection.h"
#include "db/error.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using ValuesTest = DatabaseTest;

std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string roundTripText(db::Connection& c, const std::string& value) {
    c.statement("delete from IMPORTTEMP").execute();
    c.statement("insert into IMPORTTEMP (rec_type, field40) values (?, ?)").run("TEXT", value);
    auto& read = c.statement("select field40 from IMPORTTEMP where rec_type = ?");
    read.run("TEXT");
    EXPECT_TRUE(read.next());
    std::string back = read.text("field40");
    EXPECT_FALSE(read.next());
    return back;
}

TEST_P(ValuesTest, TextIsStoredVerbatim) {
    const std::vector<std::string> values = {
        "Peña",
        "Zoë",
        "\xF0\x9F\x8E\x89 party", // a 4-byte character
        "O'Brien \"Bud\" \\ 100% _x_",
        "'); drop table IMPORTTEMP; --",
        "a*b,c",
        "",
        std::string(5000, 'x') + "é", // longer than any read buffer
    };
    for (const auto& value : values) {
        EXPECT_EQ(roundTripText(connection(), value), value);
    }
}

TEST_P(ValuesTest, EmptyTextStaysEmptyNotNull) {
    auto& c = connection();
    c.statement("insert into IMPORTTEMP (rec_type, field4) values (?, ?)")
        .run("NAME", std::string());
    auto& read = c.statement("select field4, field5 from IMPORTTEMP");
    read.execute();
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.value("field4"), db::Value(std::string()));
    EXPECT_EQ(read.value("field5"), db::Value(db::Null{}));
}

TEST_P(ValuesTest, CurrencyRoundTripIsExact) {
    auto& c = connection();
    const std::vector<std::string> amounts = {
        "0.0001", "12345678.9999", "-0.99", "99999999999.9999", "5", "0"};
    for (const auto& amount : amounts) {
        const auto value = db::Currency::parse(amount);
        ASSERT_TRUE(value) << amount;
        c.statement("delete from RCPT").execute();
        c.statement("insert into RCPT (filer_id, ctrib_amt) values (?, ?)").run("F1", *value);
        auto& read = c.statement("select CTRIB_AMT from RCPT where filer_id = ?");
        read.run("F1");
        ASSERT_TRUE(read.next());
        EXPECT_EQ(read.currency("ctrib_amt"), value)
            << amount << " came back as " << read.text("ctrib_amt");
        read.reset();
    }
}

TEST_P(ValuesTest, WholeNumbersReadAsAmountsOnlyWithinRange) {
    auto& read = connection().statement("select cast(? as bigint) as amount");
    const auto amountOf = [&](std::int64_t whole) {
        read.run(whole);
        EXPECT_TRUE(read.next());
        const auto amount = read.currency("amount");
        read.reset();
        return amount;
    };
    EXPECT_EQ(amountOf(12), db::Currency::fromTenThousandths(120000));
    EXPECT_EQ(amountOf(-922337203685477), db::Currency::fromTenThousandths(-9223372036854770000));
    // Ten thousand times these is beyond 64 bits: no amount, never a wrapped one.
    EXPECT_EQ(amountOf(922337203685478), std::nullopt);
    EXPECT_EQ(amountOf(INT64_MAX), std::nullopt);
    EXPECT_EQ(amountOf(INT64_MIN), std::nullopt);
}

TEST_P(ValuesTest, ColumnsAreFoundByNameWithoutRegardToCase) {
    auto& c = connection();
    c.statement("insert into IMPORTTEMP (rec_type, rec_num, Status) values (?, ?, ?)")
        .run("RCPT", "7", "I");
    auto& read = c.statement("select Rec_Type, REC_NUM, status from importtemp");
    read.execute();
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.text("rec_type"), "RCPT");
    EXPECT_EQ(read.text("Rec_Num"), "7");
    EXPECT_EQ(read.text("STATUS"), "I");
    EXPECT_THROW((void)read.text("no_such_column"), db::DbError);
}

TEST_P(ValuesTest, FailingStatementRaisesTypedErrorWithDriverMessage) {
    auto& c = connection();
    try {
        c.statement("insert into NO_SUCH_TABLE (a) values (?)").run("x");
        FAIL() << "no error raised";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.sqlState().size(), 5u);
        EXPECT_NE(error.sqlState(), "00000");
        EXPECT_NE(lower(error.message()).find("no_such_table"), std::string::npos)
            << error.message();
        EXPECT_FALSE(error.source().empty());
    }
    // The connection stays usable after the failure.
    EXPECT_EQ(roundTripText(c, "still fine"), "still fine");
}

DCF_ON_ALL_DATABASES(ValuesTest);

} // namespace
} // namespace dcf::test
