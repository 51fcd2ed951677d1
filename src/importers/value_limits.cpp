#include "importers/value_limits.h"

#include "dcf/text_encoding.h"

namespace dcf::importers {

std::string cutToLimit(ImportRow& row, const std::string& value, std::size_t limit,
                       std::string_view label, std::string_view place) {
    if (utf8Length(value) <= limit) {
        return value;
    }
    std::string first(utf8First(value, limit));
    std::string message(label);
    message += " field is longer than the " + std::to_string(limit) +
               " characters allowed. Field truncated in ";
    message += place;
    message += " from '" + value + "' to '" + first + "'";
    row.warn(message);
    return first;
}

std::string itemPlace(const run::ConversionRun& run) {
    return "'" + run.currentRecordType + "' record Item Id " + run.currentRecordNumber;
}

bool isEmptyQuoted(std::string_view staged) {
    return staged == "\"\"";
}

std::string stagedText(const staging::StagedRow& staged) {
    if (std::string memo = staged.text("Memo"); !memo.empty()) {
        return memo;
    }
    std::string text = staged.field(7);
    return isEmptyQuoted(text) ? std::string() : text;
}

std::string stagedField10(const staging::StagedRow& staged) {
    // Staging keeps a value of 256 characters or more in Memo.
    if (std::string memo = staged.text("Memo"); !memo.empty()) {
        return memo;
    }
    return staged.field(10);
}

} // namespace dcf::importers
