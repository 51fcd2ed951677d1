#pragma once

#include "db/statement.h"

#include <string>
#include <vector>

#include <sql.h>

namespace dcf::db {

class OdbcStatement final : public Statement {
public:
    OdbcStatement(SQLHDBC dbc, std::string driverName, std::string_view sql);
    ~OdbcStatement() override;

    void bind(int index, const Value& value) override;
    void bindText(int index, std::string_view text) override;
    void execute() override;
    bool next() override;
    [[nodiscard]] std::int64_t rowsAffected() override { return rowsAffected_; }
    void reset() override;
    [[nodiscard]] int columnCount() const override { return static_cast<int>(names_.size()); }
    [[nodiscard]] const std::string& columnName(int index) const override;
    [[nodiscard]] Value value(int index) override;

private:
    // The bound value of one parameter; the driver reads from these buffers
    // at execute time, so they live as long as the statement.
    struct Parameter {
        std::u16string wide;
        std::string narrow;
        SQLBIGINT integer = 0;
        unsigned char bit = 0;
        SQLLEN indicator = 0;
    };

    void describeColumns();
    void fetchRow();
    Value readColumn(SQLUSMALLINT column);

    SQLHDBC dbc_;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    std::string driverName_;
    std::string sql_;
    std::vector<Parameter> parameters_;
    std::vector<std::string> names_;
    std::vector<Value> row_;
    std::vector<SQLWCHAR> buffer_;
    bool cursorOpen_ = false;
    bool onRow_ = false;
    std::int64_t rowsAffected_ = 0;
};

} // namespace dcf::db
