#pragma once

#include "importers/import_row.h"
#include "recording_view.h"
#include "staging/import_temp.h"
#include "test_database.h"
#include "test_run.h"

#include <map>
#include <memory>
#include <string>

namespace dcf::test {

// A filer F1 with staged NAME records, names already in the database and one
// staged contribution whose name is being checked.
class NameFixture : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        state_.run.filer.id = "F1";
        state_.request.logsFolder = logs_.path();
        context_ = std::make_unique<run::RunContext>(state_.context(connection(), view_));
        importTemp_ = std::make_unique<staging::ImportTemp>(connection());
        importers_ = std::make_unique<importers::ImporterContext>(
            importers::ImporterContext{*context_, *importTemp_, {}, {}, {}});
        record_ = stage("RCPT", "31", {{7, "7"}});
        importTemp_->read(record_, staged_);
        row_ = std::make_unique<importers::ImportRow>(*importers_, staged_, "repno");
    }

    std::int64_t stage(const std::string& type, const std::string& number,
                       const std::map<int, std::string>& fields) {
        std::string columns = "filer_id, rec_type, rec_num, repno, Status";
        std::string marks = "?, ?, ?, ?, ?";
        for (const auto& [n, value] : fields) {
            columns += ", field" + std::to_string(n);
            marks += ", ?";
        }
        auto insert =
            connection().prepare("insert into IMPORTTEMP (" + columns + ") values (" + marks + ")");
        int index = 0;
        for (const std::string& value :
             {std::string("F1"), type, number, std::string("1"), std::string("I")}) {
            insert->bind(++index, db::Value(value));
        }
        for (const auto& [n, value] : fields) {
            insert->bind(++index, db::Value(value));
        }
        insert->execute();
        auto key = connection().prepare("select max(import_key) as k from IMPORTTEMP");
        key->execute();
        key->next();
        return key->integer("k");
    }

    // A NAME record: last, first, street, city, state, zip; title optional.
    void stageName(const std::string& number, const std::string& last, const std::string& first,
                   const std::string& street, const std::string& city,
                   const std::string& title = "") {
        stage("NAME", number,
              {{7, last},
               {8, first},
               {9, title},
               {12, street},
               {14, city},
               {15, "OR"},
               {16, "97301"}});
    }

    void storeName(const std::string& id, const std::string& type, const std::string& last,
                   const std::string& first, const std::string& street, const std::string& city,
                   const std::string& title = "") {
        connection()
            .statement("insert into names (filer_id, name_id, name_type, naml, namf, namt, adr1, "
                       "city, stcd, zip4) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .run("F1", id, type, last, first, title, street, city, "OR", "97301");
    }

    std::int64_t count(const std::string& sql) {
        auto select = connection().prepare(sql);
        select->execute();
        select->next();
        return select->integer(select->columnName(0));
    }

    std::string log() const {
        const auto file = logs_.path() / "LogFile.txt";
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }

    TempFolder logs_;
    TestRun state_;
    RecordingView view_;
    std::unique_ptr<run::RunContext> context_;
    std::unique_ptr<staging::ImportTemp> importTemp_;
    std::unique_ptr<importers::ImporterContext> importers_;
    std::int64_t record_ = 0;
    staging::StagedRow staged_;
    std::unique_ptr<importers::ImportRow> row_;
};

} // namespace dcf::test
