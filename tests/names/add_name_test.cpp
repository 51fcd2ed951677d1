#include "names/add_name.h"

#include "name_fixture.h"
#include "names/id_counters.h"
#include "run/run_errors.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using AddNameTest = NameFixture;

TEST_P(AddNameTest, ANameIsWrittenWithItsEntityAndACutOutOfStateId) {
    names::ResolvedName name;
    name.name.naml = "Acme PAC";
    name.osPacCb = "-1";
    name.osPacFec = "C12345678X";
    names::AddName(*context_, importers_->names.stored, *row_, "12", names::Role::Contributor,
                   name);
    EXPECT_EQ(name.osPacFec, "C12345678") << "the caller keeps the name as added";
    EXPECT_EQ(count("select count(*) from names where filer_id = 'F1' and name_id = '12' and "
                    "name_type = 'C' and entity_cd = 'E' and os_pac_fec = 'C12345678'"),
              1);
    EXPECT_NE(log().find("Out Of State PAC ID field is longer than the 9 characters allowed. "
                         "Field truncated in 'RCPT' record Item Id 31 from 'C12345678X' to "
                         "'C12345678'"),
              std::string::npos);
    EXPECT_EQ(view_.count("lblImpNameCount"), 1);
    EXPECT_EQ(view_.text("statbarMain"), "Added NAME Record(s) For  Acme PAC");

    // Ten characters with the flag off: written whole, no warning.
    name.name.namf = "Al";
    name.osPacCb = "0";
    name.osPacFec = "C12345678X";
    names::AddName(*context_, importers_->names.stored, *row_, "13", names::Role::Contributor,
                   name);
    EXPECT_EQ(count("select count(*) from names where name_id = '13' and entity_cd = 'I' and "
                    "os_pac_fec = 'C12345678X'"),
              1);
    EXPECT_EQ(state_.run.counts.importedWithError, 1);
}

TEST_P(AddNameTest, AFailureIsLoggedWithItsOwnBlockAndCounted) {
    connection().executeScript("drop table names");
    state_.run.recordCounter = 17;
    names::ResolvedName name;
    name.name = {"Doe", "Jane", "", "", ""};
    name.address = {"1 Main", "Apt 2", "Salem", "OR", "97301"};
    names::AddName(*context_, importers_->names.stored, *row_, "12", names::Role::Contributor,
                   name);
    EXPECT_EQ(state_.run.counts.unexpectedErrors, 1);
    EXPECT_EQ(state_.run.counts.imported("NAME"), 0);
    const std::string text = log();
    EXPECT_NE(text.find("\r\n(Procedure AddName)\r\n---- Error # "), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n---- Error On line # 17\r\n---- Last Name = Doe First Name = Jane "
                        "Address Line 1 = 1 Main\r\n---- Address Line 2 = Apt 2 City = "
                        "SalemState = OR Zip Code = 97301\r\n"),
              std::string::npos)
        << text;
}

TEST_P(AddNameTest, CountersHandOutTheStoredValueAndAdvance) {
    connection().statement("update repno set NameID = 500, repno = 7").execute();
    EXPECT_EQ(names::FindNextNameID(*context_), "500");
    EXPECT_EQ(names::FindNextNameIDs(*context_, 3), 501);
    EXPECT_EQ(names::FindNextNameID(*context_), "504");
    EXPECT_EQ(names::FindNextRepNo(connection()), "7");
    // The first draw took the row; the ids after it are the run's until it
    // writes the counter back, where one draw at a time would have left it.
    EXPECT_EQ(count("select NameID from repno"), 501);
    names::storeHeldNameId(*context_);
    EXPECT_EQ(count("select NameID from repno"), 505);
    EXPECT_EQ(count("select repno from repno"), 8);

    state_.run = run::ConversionRun{};
    connection().statement("delete from repno").execute();
    EXPECT_THROW(names::FindNextNameID(*context_), run::RunEndingError);
    EXPECT_THROW(names::FindNextRepNo(connection()), run::RunEndingError);
}

DCF_ON_ALL_DATABASES(AddNameTest);

} // namespace
} // namespace dcf::test
