#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportCVR2;
using importers::kImportCVR3;

// A notice about name `subject` with treasurer name id `treasurer`.
std::map<int, std::string> notice(const std::string& subject, const std::string& treasurer) {
    return {{6, "N"}, {7, subject}, {8, treasurer}, {9, "P"}};
}

// The opening of a block of `type`, up to its error number.
std::string blockHead(const std::string& type, const std::string& number) {
    return "(Procedure Import" + type + ")\r\nInput Record Causing Error: \r\nRecord Type = '" +
           type + "'\r\nFiler ID = F1\r\nReport # = 1\r\nRecord Number = " + number +
           "\r\n---- Error # ";
}

using NoticeMeasureImportTest = ScheduleTest;

TEST_P(NoticeMeasureImportTest, NoticesCarryTheirSubjectAndTheTreasurerOfAnIdAboveOne) {
    stageName("2", "Rivera", "Luis", {{9, "Mr"}, {13, "Suite 4"}});
    stageName("3", "Citizens for Parks", "", {{12, "9 Elm St"}, {14, "Bend"}, {16, "97701"}});
    stage("CVR2", "50", notice("3", "1"));
    stage("CVR2", "51", notice("2", "0"));
    stage("CVR2", "52", notice("3", "2"));
    // A treasurer the file does not name leaves empty text, not null.
    stage("CVR2", "53", notice("3", "9"));

    EXPECT_EQ(convert(kImportCVR2).added, 4);
    EXPECT_EQ(rows("select filer_id, repno, form_type, rec_type, item_id, cmtte_type, Cvr2_naml, "
                   "Cvr2_namf, Cvr2_namt, Cvr2_adr1, Cvr2_adr2, Cvr2_city, Cvr2_stcd, Cvr2_zip4, "
                   "entity_cd from NOTICE order by item_id"),
              (std::vector<std::string>{
                  "F1|1|N|CVR2|50|P|Citizens for Parks|||9 Elm St||Bend|OR|97701|E",
                  "F1|1|N|CVR2|51|P|Rivera|Luis|Mr|1 Main St|Suite 4|Salem|OR|97301|I",
                  "F1|1|N|CVR2|52|P|Citizens for Parks|||9 Elm St||Bend|OR|97701|E",
                  "F1|1|N|CVR2|53|P|Citizens for Parks|||9 Elm St||Bend|OR|97701|E"}));
    EXPECT_EQ(rows("select item_id, tres_naml, tres_namf, tres_namt, tres_nams, tres_namn, "
                   "tres_adr1, tres_adr2, tres_city, tres_stcd, tres_zip4 from NOTICE "
                   "order by item_id"),
              (std::vector<std::string>{"50|null|null|null|null|null|null|null|null|null|null",
                                        "51|null|null|null|null|null|null|null|null|null|null",
                                        "52|Rivera|Luis|Mr|||1 Main St|Suite 4|Salem|OR|97301",
                                        "53||||||||||"}));
    EXPECT_EQ(view_.count(control::lblImpNoticesCount), 4);
    EXPECT_EQ(log(), "");
}

TEST_P(NoticeMeasureImportTest, ANoticeWhoseSubjectIsNoNameOrWhoseTreasurerIsNoNumberFailsAlone) {
    stageName("2", "Rivera", "Luis");
    // Numbered like a name, but no NAME record.
    stage("RCPT", "7", {{6, "A"}, {7, "Imposter"}});
    stage("CVR2", "60", notice("7", "1"));
    stage("CVR2", "61", notice("2", ""));
    stage("CVR2", "62", notice("2", "x"));
    stage("CVR2", "63", notice("2", "1"));

    const auto result = convert(kImportCVR2);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.failed, 3);
    EXPECT_EQ(statuses("CVR2"), (std::vector<std::string>{"E", "E", "E", "I"}));
    EXPECT_EQ(statuses("RCPT"), std::vector<std::string>{"I"});
    EXPECT_EQ(rows("select item_id, Cvr2_naml from NOTICE"), std::vector<std::string>{"63|Rivera"});
    const auto found = blocks();
    ASSERT_EQ(found.size(), 3U);
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(found[i].starts_with(blockHead("CVR2", std::to_string(60 + i)))) << found[i];
        EXPECT_TRUE(found[i].ends_with("\r\n---- Error On line # 9\r\n")) << found[i];
    }
}

TEST_P(NoticeMeasureImportTest, MeasuresAreNamedByDescriptionOrCandidateAndCutToTheirColumns) {
    const std::string office30 = std::string(29, 'o') + "O";
    const std::string office31 = std::string(30, 'p') + "P";
    const std::string text101 = std::string(100, 'm') + "M";
    // Staging keeps a value of 256 characters or more in Memo.
    const std::string office300 = std::string(30, 'q') + std::string(270, 'Q');
    stage("CVR3", "70",
          {{6, "F"},
           {7, "Ada Okafor"},
           {8, "C"},
           {9, "S"},
           {10, office30},
           {11, "12"},
           {12, "20261103"},
           {13, "Not this"}});
    stage(
        "CVR3", "71",
        {{6, "F"}, {7, "Not this"}, {8, "M"}, {9, "O"}, {10, office31}, {12, "\"\""}, {13, "M5"}});
    stage("CVR3", "72", {{6, "F"}, {8, "M"}, {10, ""}, {12, "\"\""}, {13, text101}}, "1",
          office300);

    EXPECT_EQ(convert(kImportCVR3).added, 3);
    EXPECT_EQ(
        rows("select filer_id, repno, rec_type, form_type, item_id, text_name, supoppsubj, "
             "supopp_cd, officename, ballot_no, election_dt from MEASURES order by item_id"),
        (std::vector<std::string>{"F1|1|CVR3|F|70|Ada Okafor|C|S|" + office30 + "|12|11/03/2026",
                                  "F1|1|CVR3|F|71|M5|M|O|" + office31.substr(0, 30) + "||null",
                                  "F1|1|CVR3|F|72|" + text101.substr(0, 100) + "|M||" +
                                      office300.substr(0, 30) + "||null"}));
    const auto cut = [](const std::string& label, std::size_t limit, const std::string& item,
                        const std::string& value) {
        return label + " field is longer than the " + std::to_string(limit) +
               " characters allowed. Field truncated in 'CVR3' record Item Id " + item + " from '" +
               value + "' to '" + value.substr(0, limit) + "'";
    };
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              cut("Candidate Office Name", 30, "71", office31),
                              cut("Measure description", 100, "72", text101),
                              cut("Candidate Office Name", 30, "72", office300),
                          }));
    EXPECT_EQ(view_.count(control::lblImpActivityPurposeCount), 3);
}

// A unique index on repno refuses the second measure of report 1 alike on
// every database; the measures after it still convert.
TEST_P(NoticeMeasureImportTest, AMeasureTheDatabaseRefusesFailsAloneWithALowerCaseLineNumber) {
    connection().executeScript("create unique index ux_measures on MEASURES (repno)");
    stage("CVR3", "80", {{6, "F"}, {7, "First"}, {8, "C"}}, "1");
    stage("CVR3", "81", {{6, "F"}, {7, "Second"}, {8, "C"}}, "1");
    stage("CVR3", "82", {{6, "F"}, {7, "Third"}, {8, "C"}}, "2");

    const auto result = convert(kImportCVR3);
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(statuses("CVR3"), (std::vector<std::string>{"I", "E", "I"}));
    EXPECT_EQ(rows("select item_id from MEASURES order by item_id"),
              (std::vector<std::string>{"80", "82"}));
    const auto found = blocks();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_TRUE(found[0].starts_with(blockHead("CVR3", "81"))) << found[0];
    EXPECT_TRUE(found[0].ends_with("\r\n---- Error on line # 9\r\n")) << found[0];
}

DCF_ON_ALL_DATABASES(NoticeMeasureImportTest);

} // namespace
} // namespace dcf::test
