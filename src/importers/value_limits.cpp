#include "importers/value_limits.h"

namespace dcf::importers {

bool isEmptyQuoted(std::string_view staged) {
    return staged == "\"\"";
}

std::optional<ConvertedDate> optionalDate(const std::string& staged) {
    if (isEmptyQuoted(staged)) {
        return std::nullopt;
    }
    return ConvertDate(staged);
}

db::Value dateValue(const std::optional<ConvertedDate>& date) {
    return date ? db::Value(date->text) : db::Value(db::Null{});
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
