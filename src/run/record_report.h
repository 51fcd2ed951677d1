#pragma once

#include "log/log_entries.h"

#include <string_view>

namespace dcf::run {

// The record an importer is converting, as a check reports on it: each
// entry carries that record's input text, and a warning names the record
// by its type and number.
class RecordReport {
public:
    virtual ~RecordReport() = default;
    // The staged record type ("RCPT", "FLR,") and record number.
    [[nodiscard]] virtual std::string_view recordType() const = 0;
    [[nodiscard]] virtual std::string_view recordNumber() const = 0;
    // The record as the log's entries name it: its line, type, numbers and
    // input text.
    [[nodiscard]] virtual log::EntryRecord entryRecord() const = 0;
    // The record is converted with a correction (a value cut to its width).
    virtual void warn(std::string_view message) = 0;
    // The record cannot be converted; its staged row is marked "E".
    virtual void reject(std::string_view message) = 0;

protected:
    RecordReport() = default;
    RecordReport(const RecordReport&) = default;
    RecordReport& operator=(const RecordReport&) = default;
};

} // namespace dcf::run
