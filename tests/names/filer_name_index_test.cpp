#include "names/filer_name_index.h"

#include "name_fixture.h"
#include "names/check_dcf_names.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using FilerNameIndexTest = NameFixture;

std::vector<std::string> ids(const std::vector<names::IndexedName>& found) {
    std::vector<std::string> list;
    for (const names::IndexedName& name : found) {
        list.emplace_back(name[names::Stored::NameId]);
    }
    return list;
}

// The index finds what the lookup in names found: names of the filer, equal
// without regard to ASCII case, a null never equal, the lowest id first.
TEST_P(FilerNameIndexTest, FindsWhatTheDatabaseLookupFound) {
    storeName("100", "C", "SMITH", "JOHN", "1 Main", "Salem");
    storeName("9", "C", "smith", "john", "2 Oak", "Salem");
    storeName("10", "P", "Smith", "", "3 Elm", "Salem");
    storeName("11", "C", "Smith", "Jane", "4 Ash", "Salem");
    storeName("12", "C", "Smíth", "John", "5 Fir", "Salem"); // not an ASCII letter
    connection()
        .statement("insert into names (filer_id, name_id, naml, namf) values (?, ?, ?, ?)")
        .run("F2", "1", "Smith", "John");
    connection()
        .statement("insert into names (filer_id, name_id, namf) values (?, ?, ?)")
        .run("F1", "2", "John");
    connection()
        .statement("insert into names (filer_id, name_id, naml) values (?, ?, ?)")
        .run("F1", "3", "");

    names::FilerNameIndex index;
    index.loadFor(connection(), "F1");
    EXPECT_EQ(ids(index.withName("Smith", "John")), (std::vector<std::string>{"9", "100"}));
    EXPECT_EQ(ids(index.withName("SMITH", "")), (std::vector<std::string>{"9", "10", "11", "100"}));
    EXPECT_EQ(ids(index.withName("", "")), (std::vector<std::string>{"3"}))
        << "an empty last name is not a null one";
    EXPECT_TRUE(index.withName("Smith", "J").empty());

    // A null value is kept apart from an empty one.
    const names::IndexedName jane = index.withName("smith", "jane").at(0);
    EXPECT_FALSE(jane.nullPlace);
    EXPECT_FALSE(jane.nullStreet);
    EXPECT_EQ(jane[names::Stored::Adr1], "4 Ash");
    const names::IndexedName nameless = index.withName("", "").at(0);
    EXPECT_TRUE(nameless.nullPlace && nameless.nullStreet && nameless.nullTitle);
}

// Names added by the run are found as they are added, in id order however
// they come, past the growth of the tables, without reading names again.
TEST_P(FilerNameIndexTest, KeepsTheNamesTheRunAddsInIdOrder) {
    storeName("7", "C", "Doe", "Jane", "1 Main", "Salem");
    storeName("7", "P", "Doe", "Jane", "1 Main", "Salem");
    names::FilerNameIndex index;
    index.loadFor(connection(), "F1");
    const auto add = [&index](const std::string& id, const std::string& last,
                              const std::string& first) {
        names::IndexedName name;
        name.values[0] = id;
        name.values[1] = "C";
        name.values[2] = last;
        name.values[3] = first;
        index.add(name);
    };
    for (int i = 0; i < 3000; ++i) {
        add(std::to_string(100 + i), "Last" + std::to_string(i % 700), "First");
    }
    for (const char* id : {"40", "6", "9999", "50"}) {
        add(id, "Doe", "Jane");
    }
    EXPECT_EQ(index.size(), 3006u);
    EXPECT_EQ(ids(index.withName("last5", "first")),
              (std::vector<std::string>{"105", "805", "1505", "2205", "2905"}));
    EXPECT_EQ(ids(index.withName("DOE", "")),
              (std::vector<std::string>{"6", "7", "7", "40", "50", "9999"}));
    const std::vector<names::IndexedName> does = index.withName("doe", "jane");
    EXPECT_TRUE(does[1].sharedId && does[2].sharedId) << "two names share id 7";
    EXPECT_FALSE(does[0].sharedId || does[3].sharedId);
    index.loadFor(connection(), "F1");
    EXPECT_EQ(index.size(), 3006u) << "loaded once per filer";
    index.loadFor(connection(), "F2");
    EXPECT_EQ(index.size(), 0u);
}

// Within a run the second record of a name the run added finds it in
// memory and takes its id: no second name, no question.
TEST_P(FilerNameIndexTest, ANameAddedEarlierInTheRunIsReused) {
    stageName("7", "Doe", "Jane", "1 Main", "Salem");
    stageName("8", "DOE", "JANE", "1 MAIN", "SALEM");
    names::RunNames names{importTemp_->nameRecords(), {}};
    const auto first = names::CheckDCFNames(*context_, names, "7", names::Role::Contributor, *row_);
    const auto second =
        names::CheckDCFNames(*context_, names, "8", names::Role::Contributor, *row_);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->nameId, first->nameId);
    EXPECT_EQ(second->name.name.naml, "Doe") << "the name as stored";
    EXPECT_EQ(count("select count(*) from names"), 1);
    EXPECT_TRUE(view_.questions.empty());
}

DCF_ON_ALL_DATABASES(FilerNameIndexTest);

} // namespace
} // namespace dcf::test
