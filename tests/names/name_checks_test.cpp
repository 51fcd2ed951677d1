#include "dcf/control_names.h"
#include "name_fixture.h"
#include "names/check_dcf_names.h"
#include "names/check_names.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

class NameChecksTest : public NameFixture {
protected:
    // Checks the name the contribution refers to, as a contributor, as the
    // first check of a run would (the names staged and stored so far read
    // anew): true when the file has it. The id and name it settled on are
    // kept.
    bool check(const std::string& nameId) {
        names::RunNames names{importTemp_->nameRecords(), {}};
        return check(names, nameId);
    }
    bool check(names::RunNames& names, const std::string& nameId) {
        checked_ = names::CheckDCFNames(*context_, names, nameId, names::Role::Contributor, *row_);
        return checked_.has_value();
    }
    std::string checkedId() const { return checked_ ? checked_->nameId : std::string(); }

    std::optional<names::CheckedName> checked_;

    std::int64_t names() { return count("select count(*) from names"); }
    std::int64_t nextNameId() { return count("select NameID from repno"); }
};

TEST_P(NameChecksTest, ANameThatAgreesInEveryPartIsReusedWithoutAQuestion) {
    storeName("40", "C", "SMITH", "JOHN", "1 MAIN ST", "SALEM");
    stageName("7", "Smith", "John", "1 Main St", "Salem");
    EXPECT_TRUE(check("7"));
    EXPECT_EQ(checkedId(), "40");
    EXPECT_TRUE(view_.questions.empty());
    EXPECT_EQ(names(), 1);
    // The resolved name is the name as stored.
    EXPECT_EQ(checked_->name.name.naml, "SMITH");

    // An apostrophe is matched as it is, and an organisation on its name alone.
    storeName("41", "C", "O'Brien Fund", "", "9 Elm", "Salem");
    stageName("8", "o'brien fund", "", "9 ELM", "SALEM");
    EXPECT_TRUE(check("8"));
    EXPECT_EQ(checkedId(), "41");
    // Only ASCII letters fold: an accented letter is another letter.
    storeName("42", "C", "JOSÉ", "ANA", "2 Main", "Salem");
    stageName("9", "José", "Ana", "2 Main", "Salem");
    const std::int64_t next = nextNameId();
    check("9");
    EXPECT_EQ(checkedId(), std::to_string(next));
    EXPECT_TRUE(view_.questions.empty());
}

TEST_P(NameChecksTest, ASimilarNameIsPutToTheUserLineByLine) {
    storeName("40", "C", "Smith", "John", "1 Main St", "Salem", "Dr");
    stageName("7", "Smith", "John", "5 Oak Ave", "Salem");
    view_.answer(run::QuestionKind::SimilarName, {run::Answer::Yes});
    check("7");

    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].title, "Conversion");
    EXPECT_EQ(view_.messages[0].icon, run::Icon::Information);
    EXPECT_EQ(view_.messages[0].text,
              "The following prompt will allow you to decide\r\nwhich names with similar "
              "addresses will be\r\navailable for selection when adding new\r\ntransactions in "
              "future reports.");
    ASSERT_EQ(view_.questions.size(), 1u);
    const run::Question& question = view_.questions[0];
    EXPECT_EQ(question.title, "Importing Names");
    EXPECT_EQ(question.icon, run::Icon::Question);
    EXPECT_EQ(question.defaultAnswer, run::Answer::No);
    EXPECT_EQ(question.buttons, run::Buttons::YesNoCancel);
    EXPECT_EQ(question.text, "There is already a name:\r\n"
                             "\r\n"
                             "Dr John Smith\r\n"
                             "1 Main St\r\n"
                             "Salem OR 97301\r\n"
                             "\r\n"
                             "that is similar to this one being added:\r\n"
                             "\r\n"
                             " John Smith\r\n"
                             "5 Oak Ave\r\n"
                             "Salem OR 97301\r\n"
                             "\r\n"
                             "Do you want to use the existing name information? \r\n"
                             "(Press Cancel to Stop checking for duplicate names and continue "
                             "with conversion) ");
    // Yes takes the existing name's id and adds nothing.
    EXPECT_EQ(checkedId(), "40");
    EXPECT_EQ(names(), 1);
}

TEST_P(NameChecksTest, EachAnswerDecidesTheIdAndCancelStopsTheQuestions) {
    // Same name and place, another street; then the same with another title;
    // then another city.
    storeName("40", "C", "Smith", "John", "1 Main St", "Salem", "Dr");
    stageName("7", "Smith", "John", "5 Oak Ave", "Salem");
    stageName("8", "Smith", "John", "1 Main St", "Salem", "Rev");
    stageName("9", "Smith", "John", "1 Main St", "Eugene");
    view_.answer(run::QuestionKind::SimilarName,
                 {run::Answer::No, run::Answer::Yes, run::Answer::Cancel});

    // No adds the name under a new id.
    const std::int64_t next = nextNameId();
    check("7");
    EXPECT_EQ(checkedId(), std::to_string(next));
    EXPECT_EQ(count("select count(*) from names where adr1 = '5 Oak Ave' and name_id = '" +
                    std::to_string(next) + "'"),
              1);
    // A different title: the first same-place name (the lowest id) is the
    // candidate; Yes takes it.
    check("8");
    EXPECT_EQ(checkedId(), std::to_string(next));
    EXPECT_EQ(view_.questions.size(), 2u);
    // Another city: the first same-name row is the candidate; Cancel adds
    // the name as No does and stops the questions.
    check("9");
    EXPECT_EQ(view_.questions.size(), 3u);
    EXPECT_NE(view_.questions[2].text.find("name:\r\n\r\n John Smith\r\n5 Oak Ave\r\nSalem OR"),
              std::string::npos);
    EXPECT_FALSE(state_.run.nameQuestions.asking);
    EXPECT_EQ(count("select count(*) from names where city = 'Eugene'"), 1);
    EXPECT_EQ(view_.messages.size(), 1u);

    // With the questions off a similar name keeps the id it had and is added
    // under it when no name holds that id.
    stageName("60", "Smith", "John", "7 Pine", "Salem");
    check("60");
    EXPECT_EQ(view_.questions.size(), 3u);
    EXPECT_EQ(checkedId(), "60");
    EXPECT_EQ(count("select count(*) from names where name_id = '60' and adr1 = '7 Pine'"), 1);
}

TEST_P(NameChecksTest, ANameReusedFromAnotherRoleIsAddedAgainUnderANewId) {
    // The payee Acme matches in every part; the contributor Acme elsewhere
    // lets the match go on past the role.
    storeName("7", "P", "Acme", "", "1 Main", "Salem");
    storeName("50", "C", "Acme", "", "9 Elm", "Salem");
    stageName("7", "Acme", "", "1 Main", "Salem");
    const std::int64_t next = nextNameId();
    check("7");
    EXPECT_TRUE(view_.questions.empty());
    EXPECT_EQ(checkedId(), std::to_string(next));
    EXPECT_EQ(count("select count(*) from names where name_type = 'C' and entity_cd = 'E' and "
                    "adr1 = '1 Main'"),
              1);
    EXPECT_EQ(view_.count(control::lblImpNameCount), 1);
}

TEST_P(NameChecksTest, AMissingNameRefusesTheRecord) {
    EXPECT_FALSE(check("99"));
    EXPECT_EQ(names(), 0);
    EXPECT_EQ(state_.run.counts.notImported, 1);
    EXPECT_EQ(count("select count(*) from IMPORTTEMP where rec_type = 'RCPT' and Status = 'E'"), 1);
    EXPECT_NE(log().find("RCPT,31,1,,,,7,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\nError "
                         "Description: Name is missing. Name id does not "
                         "refer to an existing name. Record will not be imported!"),
              std::string::npos)
        << log();
}

TEST_P(NameChecksTest, OverLongValuesAreCutWithAWarningOnTheRecord) {
    stage("NAME", "7",
          {{7, std::string(101, 'L')},
           {8, "Ann"},
           {10, "Junior"},
           {11, std::string(30, 'n')},
           {14, "Ciudad de México más larga que treinta"},
           {24, std::string(51, 'p')},
           {26, "1234567890"},
           {29, "N"}});
    check("7");
    const std::string text = log();
    const auto warnings = [&](const std::string& label) {
        return text.find("\r\nError Description: " + label);
    };
    // Every warning quotes the record being converted.
    const auto occurrences = [&](const std::string& what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(occurrences("Input Record Causing Error: \r\nRCPT,31,1,,,,7,"), 5u);
    EXPECT_NE(warnings("Last Name field is longer than the 100 characters allowed. Field "
                       "truncated in 'RCPT' record Item Id 31 from '" +
                       std::string(101, 'L') + "' to '" + std::string(100, 'L') + "'"),
              std::string::npos)
        << text;
    EXPECT_NE(warnings("Name Suffix field is longer than the 5 characters allowed. Field "
                       "truncated in 'RCPT' record Item Id 31 from 'Junior' to 'Junio'"),
              std::string::npos);
    // The nickname's warning names no item id.
    EXPECT_NE(warnings("Nickname field is longer than the 25 characters allowed. Field "
                       "truncated in 'RCPT' record from '" +
                       std::string(30, 'n') + "' to '" + std::string(25, 'n') + "'"),
              std::string::npos);
    // Characters are counted, not bytes.
    EXPECT_NE(warnings("City field is longer than the 30 characters allowed. Field truncated in "
                       "'RCPT' record Item Id 31 from 'Ciudad de México más larga que treinta' "
                       "to 'Ciudad de México más larga que'"),
              std::string::npos);
    EXPECT_NE(warnings("Parent 1 field is longer"), std::string::npos);
    // The out-of-state id counts only when its flag is set.
    EXPECT_EQ(text.find("Out Of State PAC ID"), std::string::npos);
    EXPECT_EQ(state_.run.counts.importedWithError, 5);
    EXPECT_EQ(count("select count(*) from names where namn = '" + std::string(25, 'n') +
                    "' and os_pac_fec = '1234567890'"),
              1);
}

TEST(SimilarNameQuestionTest, AnOrganisationShowsItsNameAlone) {
    const std::string text =
        names::similarNameQuestion({"", "", "Acme", "1 Main", "Salem", "OR", "97301"},
                                   {"Mr", "Al", "Acme", "2 Main", "Salem", "OR", "97301"});
    EXPECT_EQ(text.substr(0, 50), "There is already a name:\r\n\r\nAcme\r\n1 Main\r\nSalem OR");
    EXPECT_NE(text.find("\r\n\r\nMr Al Acme\r\n2 Main\r\n"), std::string::npos);
}

DCF_ON_ALL_DATABASES(NameChecksTest);

} // namespace
} // namespace dcf::test
