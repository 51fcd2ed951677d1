#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportRCPT;

std::string repeat(const std::string& text, std::size_t times) {
    std::string result;
    for (std::size_t i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

// A contribution of report 1 from name 7, changed by `fields`.
std::map<int, std::string> contribution(std::map<int, std::string> fields = {}) {
    fields.emplace(6, "A");
    fields.emplace(7, "7");
    fields.emplace(8, "20260301");
    fields.emplace(9, "25");
    return fields;
}

using ContributionImportTest = ScheduleTest;

TEST_P(ContributionImportTest, ContributionsAndPledgesLandInRcptWithTheResolvedName) {
    stageName("7", "Okafor", "Ada", {{19, "Engineer"}, {22, "Harbor Works"}});
    stageName("8", "Friends of the River", "", {{26, "0"}, {29, "Y"}});
    stage("RCPT", "10",
          {{6, "A"}, {7, "7"}, {8, "20260115"}, {9, "250.5"}, {10, "Dinner"}, {11, "Y"}});
    stage("PLDG", "11", {{6, "B"}, {7, "8"}, {8, "20260220"}, {9, "1000"}, {11, "y"}});

    EXPECT_EQ(convert(kImportRCPT).added, 2);
    EXPECT_EQ(rows("select filer_id, repno, rec_type, form_type, ctrib_id, item_id, ctrib_amt, "
                   "ctrib_date, ctrib_dscr, entity_cd, ctrib_naml, ctrib_namf, ctrib_adr1, "
                   "ctrib_city, ctrib_stcd, ctrib_zip4, os_pac_cb, os_pac_fec, employer, occup, "
                   "itemize_user, itemize_prog from RCPT order by item_id"),
              (std::vector<std::string>{
                  "F1|1|RCPT|A|2|10|250.5000|01/15/2026|Dinner|I|Okafor|Ada|1 Main St|Salem|OR|"
                  "97301|0||Harbor Works|Engineer|T|F",
                  // An out-of-state committee id of 0 is stored empty; "y" is no "Y".
                  "F1|1|PLDG|B|3|11|1000.0000|02/20/2026||E|Friends of the River||1 Main St|"
                  "Salem|OR|97301|-1||||F|F"}));
    EXPECT_EQ(view_.count(control::lblImpRcptCount), 2);
    EXPECT_EQ(view_.text(control::lblProcessingMessage), "Processing Contribution/Pledge Records");
    EXPECT_EQ(view_.text(control::statbarMain),
              "Added Contribution record(s) for  Friends of the River");
    EXPECT_EQ(log(), "");
}

TEST_P(ContributionImportTest, EachMissingValueRejectsTheRecordWithOneSevereEntry) {
    stageName("7", "Okafor", "Ada");
    stage("RCPT", "20", contribution({{7, "-1"}, {8, "\"\""}, {9, ""}}));
    stage("RCPT", "21", contribution({{8, "\"\""}}));
    stage("PLDG", "22", contribution({{9, ""}}));
    stage("RCPT", "23", contribution({{7, "99"}}));
    stage("RCPT", "24", contribution({{8, "\"\""}, {10, std::string(101, 'd')}}));
    // A date with no characters at all is not missing: it is converted.
    stage("RCPT", "25", contribution({{8, ""}}));

    convert(kImportRCPT);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Contributor/Pledgor name id is missing. Record will not be imported.",
                  "Contribution Date is missing. Record will not be imported.",
                  "Contribution Amount is missing. Record will not be imported.",
                  "Name is missing. Name id does not refer to an existing name. Record will not "
                  "be imported!",
                  "Contribution/Pledge description field is longer than the 100 characters "
                  "allowed. Field truncated in 'RCPT' record Item Id 24 from '" +
                      std::string(101, 'd') + "' to '" + std::string(100, 'd') + "'",
                  "Contribution Date is missing. Record will not be imported."}));
    EXPECT_EQ(statuses("RCPT"), (std::vector<std::string>{"E", "E", "E", "E", "I"}));
    EXPECT_EQ(statuses("PLDG"), std::vector<std::string>{"E"});
    EXPECT_EQ(state_.run.counts.notImported, 5);
    EXPECT_EQ(state_.run.counts.importedWithError, 1);
    EXPECT_EQ(rows("select item_id, ctrib_date from RCPT"), std::vector<std::string>{"25|//"});
}

TEST_P(ContributionImportTest, DescriptionsAreCutPastOneHundredCharactersWhereverStagingKeptThem) {
    stageName("7", "Okafor", "Ada");
    const std::string hundred = repeat("\xC3\xA9", 100); // two bytes each
    const std::string long101 = repeat("x", 101);
    const std::string memo = repeat("m", 299) + "\xC3\xA9";
    stage("RCPT", "30", contribution({{10, hundred}}));
    stage("RCPT", "31", contribution({{10, long101}}));
    // Staging keeps a description of 256 characters or more in Memo.
    stage("PLDG", "32", contribution({{10, ""}}), "1", memo);

    EXPECT_EQ(convert(kImportRCPT).added, 3);
    EXPECT_EQ(rows("select ctrib_dscr from RCPT order by item_id"),
              (std::vector<std::string>{hundred, long101.substr(0, 100), memo.substr(0, 100)}));
    const std::string label = "Contribution/Pledge description field is longer than the 100 "
                              "characters allowed. Field truncated in '";
    EXPECT_EQ(messages(),
              (std::vector<std::string>{label + "RCPT' record Item Id 31 from '" + long101 +
                                            "' to '" + long101.substr(0, 100) + "'",
                                        label + "PLDG' record Item Id 32 from '" + memo + "' to '" +
                                            memo.substr(0, 100) + "'"}));
    EXPECT_EQ(statuses("RCPT"), (std::vector<std::string>{"I", "I"}));
}

TEST_P(ContributionImportTest, TheCoverSheetDecidesWhatIsItemized) {
    stageName("7", "Okafor", "Ada");
    coverSheet("1", "COH-SS", "-1", "0"); // filed single sheet: only itemized items
    coverSheet("2", "SPAC-SS", "0", "0"); // not filed: every item itemized
    coverSheet("3", "COH", "0", "-1");    // itemize all
    stage("RCPT", "40", contribution({{11, "Y"}}), "1");
    stage("RCPT", "41", contribution(), "1");
    stage("RCPT", "42", contribution(), "2");
    stage("PLDG", "43", contribution(), "3");
    stage("RCPT", "44", contribution({{11, "Y"}}), "4"); // no cover sheet
    stage("RCPT", "45", contribution({{11, "y"}}), "4");

    const auto result = convert(kImportRCPT);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(rows("select item_id, itemize_user from RCPT order by item_id"),
              (std::vector<std::string>{"40|T", "42|T", "43|T", "44|T", "45|F"}));
    // The dropped item leaves no trace: no entry, no count, no mark.
    EXPECT_EQ(log(), "");
    EXPECT_EQ(view_.count(control::lblImpRcptCount), 5);
    EXPECT_EQ(statuses("RCPT"), (std::vector<std::string>{"I", "I", "I", "I", "I"}));
}

TEST_P(ContributionImportTest, AnAmountThatIsNoNumberFailsOnlyItsRowAndItsBlockShowsThatRow) {
    stageName("7", "Okafor", "Ada");
    stage("RCPT", "50", contribution({{10, "First"}}));
    stage("PLDG", "51", contribution({{9, "12x"}, {10, "Second"}}));
    stage("RCPT", "52", contribution());

    const auto result = convert(kImportRCPT);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(state_.run.counts.unexpectedErrors, 1);
    EXPECT_EQ(statuses("PLDG"), std::vector<std::string>{"E"});
    EXPECT_EQ(rows("select item_id from RCPT order by item_id"),
              (std::vector<std::string>{"50", "52"}));
    // Nothing of the row before: the name, amount and description of row 51
    // were not read yet.
    EXPECT_EQ(blocks(),
              std::vector<std::string>{"(Procedure ImportRCPT)\r\nInput Record Causing Error: \r\n"
                                       "Record Type = 'RCPT'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                                       "Record Number = 51\r\nContributor Name =  \r\n"
                                       "Contribution Date = 20260301\r\nContribution Amount = \r\n"
                                       "Contribution Description = \r\nOut-of-State PAC = \r\n"
                                       "---- Error Source: dcfconvert\r\n"
                                       "---- Error Description: Amount '12x' is not a number.\r\n"
                                       "-----Error will be Logged to this Error File: " +
                                       (logs_.path() / "LogFile.txt").string() + "\r\n"});
}

DCF_ON_ALL_DATABASES(ContributionImportTest);

} // namespace
} // namespace dcf::test
