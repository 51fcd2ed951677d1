#pragma once

#include "db/ascii_case.h"
#include "importers/importer_frame.h"
#include "recording_view.h"
#include "test_database.h"
#include "test_run.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dcf::test {

// Schedule records of filer F1 staged as the driver leaves them for the
// schedule importers: report numbers and name ids already those of the
// database, NAME records numbered by their ids.
class ScheduleTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        state_.request.logsFolder = logs_.path();
        state_.run.filer.id = "F1";
        state_.run.recordCounter = 9;
    }

    // One staged row of report 1 unless another is given; returns its key.
    std::int64_t stage(const std::string& type, const std::string& number,
                       const std::map<int, std::string>& fields, const std::string& report = "1",
                       const std::optional<std::string>& memo = std::nullopt) {
        std::string columns = "filer_id, rec_type, rec_num, repno, Status, Memo";
        std::string marks = "?, ?, ?, ?, ?, ?";
        for (const auto& field : fields) {
            columns += ", field" + std::to_string(field.first);
            marks += ", ?";
        }
        auto insert =
            connection().prepare("insert into IMPORTTEMP (" + columns + ") values (" + marks + ")");
        int index = 0;
        for (const std::string& value :
             {std::string("F1"), type, number, report, std::string("I")}) {
            insert->bind(++index, db::Value(value));
        }
        insert->bind(++index, memo ? db::Value(*memo) : db::Value(db::Null{}));
        for (const auto& field : fields) {
            insert->bind(++index, db::Value(field.second));
        }
        insert->execute();
        return integer("select max(import_key) from IMPORTTEMP");
    }

    // A NAME record: last and first name, street, city, state and zip.
    void stageName(const std::string& id, const std::string& last, const std::string& first = "",
                   std::map<int, std::string> more = {}) {
        more.emplace(7, last);
        more.emplace(8, first);
        more.emplace(12, "1 Main St");
        more.emplace(14, "Salem");
        more.emplace(15, "OR");
        more.emplace(16, "97301");
        stage("NAME", id, more, "0");
    }

    void coverSheet(const std::string& report, const std::string& formType, const char* filed,
                    const char* itemizeAll) {
        connection()
            .statement("insert into cvr (filer_id, repno, form_type, filed_yn, itemize_all) values "
                       "(?, ?, ?, ?, ?)")
            .run("F1", report, formType, filed, itemizeAll);
    }

    importers::ImporterResult convert(const importers::ImporterDescription& importer) {
        run::RunContext context = state_.context(connection(), view_);
        staging::ImportTemp importTemp(connection());
        importers::ImporterContext importers{
            context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
        return importers::runImporter(importers, importer);
    }

    // Rows of a selection, each as its values joined by "|". Amounts (a
    // column named *_amt) read as currency with four places and Booleans (a
    // column named itemize_*) as T or F, alike on every database.
    std::vector<std::string> rows(const std::string& sql) {
        auto select = connection().prepare(sql);
        select->execute();
        std::vector<std::string> found;
        while (select->next()) {
            std::string row;
            for (int i = 0; i < select->columnCount(); ++i) {
                row += (i > 0 ? "|" : "") + shown(*select, i);
            }
            found.push_back(row);
        }
        return found;
    }

    static std::string shown(db::Statement& select, int index) {
        const std::string name = db::lowerAscii(select.columnName(index));
        if (std::holds_alternative<db::Null>(select.value(index))) {
            return "null";
        }
        if (name.ends_with("_amt")) {
            return select.currency(name)->toString();
        }
        if (name.starts_with("itemize_")) {
            return select.boolean(name) ? "T" : "F";
        }
        return db::toText(select.value(index));
    }

    std::int64_t integer(const std::string& sql) {
        auto select = connection().prepare(sql);
        select->execute();
        select->next();
        return select->integer(select->columnName(0));
    }

    std::vector<std::string> statuses(const std::string& type) {
        return rows("select Status from IMPORTTEMP where rec_type = '" + type +
                    "' order by import_key");
    }

    std::string log() const {
        const auto file = logs_.path() / "LogFile.txt";
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }

    // The message of every log entry, in order.
    std::vector<std::string> messages() const {
        const std::string text = log();
        const std::string mark = "\r\nError Description: ";
        std::vector<std::string> found;
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
            const auto start = at + mark.size();
            found.push_back(text.substr(start, text.find("\r\n", start) - start));
        }
        return found;
    }

    // The error blocks, each without its first line, which holds the time.
    std::vector<std::string> blocks() const {
        const std::string text = log();
        const std::string mark = "**** Error with file: ";
        std::vector<std::string> found;
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
            const auto start = text.find("\r\n", at) + 2;
            const auto end = text.find(mark, start);
            found.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        }
        return found;
    }

    TempFolder logs_;
    TestRun state_;
    RecordingView view_;
};

} // namespace dcf::test
