#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportASSET;
using importers::kImportCAND;

// A candidate of expenditure 12 named by NAME record `nameId`, changed by `fields`.
std::map<int, std::string> candidate(const std::string& nameId,
                                     std::map<int, std::string> fields = {}) {
    fields.emplace(4, "12");
    fields.emplace(7, nameId);
    fields.emplace(8, "S");
    fields.emplace(9, "Senate");
    fields.emplace(10, "0");
    fields.emplace(11, "H");
    fields.emplace(12, "House");
    fields.emplace(13, "7");
    return fields;
}

std::string cutWarning(const std::string& label, std::size_t limit, const std::string& value) {
    return label + " field is longer than the " + std::to_string(limit) +
           " characters allowed. Field truncated in FORM record from '" + value + "' to '" +
           value.substr(0, limit) + "'";
}

using CandidateAssetImportTest = ScheduleTest;

TEST_P(CandidateAssetImportTest, CandidatesTakeTheirNameFromTheNameRecordOfTheirId) {
    stageName("5", "Okafor", "Ada", {{9, "Dr"}, {10, "Jr"}, {11, "Addy"}});
    // Another record with the number of a name is no name.
    stage("RCPT", "6", {{6, "A"}, {7, "Imposter"}, {8, "Ima"}});
    stage("CAND", "20", candidate("6", {{4, "13"}}));
    stage("CAND", "21", candidate("9"));
    stage("CAND", "22", candidate("5"));

    EXPECT_EQ(convert(kImportCAND).added, 3);
    EXPECT_EQ(
        rows("select filer_id, repno, rec_type, backref_id, item_id, cand_naml, cand_namf, "
             "cand_namt, cand_nams, cand_namn, OffHldCd, OffHldNam, OffHldNum, OffSeekCd, "
             "OffSeekNam, OffSeekNum from BENEFIT order by item_id"),
        (std::vector<std::string>{"F1|1|EXPN|13|20||||||S|Senate||H|House|7",
                                  "F1|1|EXPN|12|21||||||S|Senate||H|House|7",
                                  "F1|1|EXPN|12|22|Okafor|Ada|Dr|Jr|Addy|S|Senate||H|House|7"}));
    // A held office number of 0 is none, without a word.
    EXPECT_EQ(log(), "");
    EXPECT_EQ(view_.text(control::statbarMain), "Added Candidate record(s) for Ada Okafor");
}

TEST_P(CandidateAssetImportTest, OfficeNamesAndNumbersAreCutToTheirColumnsWithAWarningEach) {
    stageName("5", "Okafor", "Ada");
    const std::string name30 = std::string(29, 'n') + "N";
    const std::string name31 = std::string(30, 'o') + "O";
    // Staging keeps a value of 256 characters or more in Memo.
    const std::string number300 = "4321" + std::string(296, '9');
    stage("CAND", "30", candidate("5", {{9, name30}, {10, "12345"}, {12, name31}, {13, "98765"}}));
    stage("CAND", "31", candidate("5", {{9, name31}, {10, ""}, {13, "0"}}), "1", number300);

    EXPECT_EQ(convert(kImportCAND).added, 2);
    EXPECT_EQ(rows("select item_id, OffHldNam, OffHldNum, OffSeekNam, OffSeekNum from BENEFIT "
                   "order by item_id"),
              (std::vector<std::string>{"30|" + name30 + "|1234|" + name31.substr(0, 30) + "|9876",
                                        "31|" + name31.substr(0, 30) + "|4321|House|"}));
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              cutWarning("Office Held Number", 4, "12345"),
                              cutWarning("Office Sought Name", 30, name31),
                              cutWarning("Office Sought Number", 4, "98765"),
                              cutWarning("Office Held Name", 30, name31),
                              cutWarning("Office Held Number", 4, number300),
                          }));
    EXPECT_EQ(statuses("CAND"), (std::vector<std::string>{"I", "I"}));
}

TEST_P(CandidateAssetImportTest, AssetDescriptionsAreStoredWholeFromMemoOrField10) {
    const std::string long1000 = std::string(999, 'a') + "z";
    stage("ASSE", "40", {{6, "F"}, {10, "Office desk"}});
    stage("ASSE", "41", {{6, "F"}, {10, ""}}, "2", long1000);

    EXPECT_EQ(convert(kImportASSET).added, 2);
    EXPECT_EQ(
        rows("select filer_id, repno, rec_type, form_type, item_id, asset_dscr from ASSET "
             "order by item_id"),
        (std::vector<std::string>{"F1|1|ASSET|F|40|Office desk", "F1|2|ASSET|F|41|" + long1000}));
    EXPECT_EQ(view_.count(control::lblImpAssetCount), 2);
    EXPECT_EQ(log(), "");
}

DCF_ON_ALL_DATABASES(CandidateAssetImportTest);

} // namespace
} // namespace dcf::test
