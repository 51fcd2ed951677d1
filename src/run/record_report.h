#pragma once

#include <string_view>

namespace dcf::run {

// How a check reports on the record an importer is converting: each entry
// carries that record's input text.
class RecordReport {
public:
    virtual ~RecordReport() = default;
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
