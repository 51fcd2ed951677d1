#pragma once

#include "db/value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::db {

// Values bound one after the other where a statement takes a list.
using Values = std::vector<Value>;

// A prepared SQL text. Parameters are bound by position (1-based) and stay
// bound until rebound; execute() runs it, next() steps through its rows.
// Columns are read by name without regard to case.
class Statement {
public:
    virtual ~Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    virtual void bind(int index, const Value& value) = 0;
    // Binds text without first copying it into a Value: the staging hot path.
    // The text may not be copied, so it must stay alive and unchanged until
    // the statement has been executed and its rows read, or is rebound.
    virtual void bindText(int index, std::string_view text) {
        bind(index, Value(std::string(text)));
    }

    // Runs the statement; for a query, positions before the first row.
    virtual void execute() = 0;
    // Steps to the next row of a query; false when there is none.
    virtual bool next() = 0;
    // Rows changed by the last execute() of an insert, update or delete.
    [[nodiscard]] virtual std::int64_t rowsAffected() = 0;
    // Closes an open cursor, so that the statement holds no lock.
    virtual void reset() = 0;

    [[nodiscard]] virtual int columnCount() const = 0;
    [[nodiscard]] virtual const std::string& columnName(int index) const = 0;
    // Index of a column (0-based) by name, any case; -1 when absent.
    [[nodiscard]] int columnIndex(std::string_view name) const;

    [[nodiscard]] virtual Value value(int index) = 0;
    [[nodiscard]] Value value(std::string_view name);
    // How a column read by appendText was held.
    enum class Held { Null, Integer, Other };
    // Appends the column's text, as toText renders its value, to `out`
    // (nothing for null): reads a row without a Value per column.
    virtual Held appendText(int index, std::string& out);
    // The column as text: empty for null.
    [[nodiscard]] std::string text(std::string_view name);
    // The column as an amount: nothing for null and for a value that is no
    // amount in Currency's range (text that is no number, too large a number).
    [[nodiscard]] std::optional<Currency> currency(std::string_view name);
    [[nodiscard]] std::int64_t integer(std::string_view name);
    // Booleans come back as 1/0 from SQLite and as 1/0 or t/f through ODBC.
    [[nodiscard]] bool boolean(std::string_view name);

    // Convenience: bind all parameters in order, then execute. A Values
    // argument binds each of its values in turn.
    template <typename... Args> void run(const Args&... args) {
        [[maybe_unused]] int index = 0;
        (bindArgument(index, args), ...);
        execute();
    }

protected:
    Statement() = default;

private:
    template <typename T> void bindArgument(int& index, const T& argument) {
        bind(++index, Value(argument));
    }
    void bindArgument(int& index, const Values& values) {
        for (const Value& value : values) {
            bind(++index, value);
        }
    }

    // Where the next lookup by name starts.
    mutable int nextColumn_ = 0;
};

} // namespace dcf::db
