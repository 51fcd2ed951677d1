#pragma once

#include "db/statement.h"

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dcf::db {

class SqliteStatement final : public Statement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement() override;

    void bind(int index, const Value& value) override;
    void bindText(int index, std::string_view text) override;
    void execute() override;
    bool next() override;
    [[nodiscard]] std::int64_t rowsAffected() override { return changes_; }
    void reset() override;
    [[nodiscard]] int columnCount() const override { return static_cast<int>(names_.size()); }
    [[nodiscard]] const std::string& columnName(int index) const override;
    [[nodiscard]] Value value(int index) override;
    Held appendText(int index, std::string& out) override;

private:
    void checkRow(int index) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<std::string> names_;
    bool pendingRow_ = false; // execute() already stepped onto the first row
    bool onRow_ = false;
    std::int64_t changes_ = 0;
};

} // namespace dcf::db
