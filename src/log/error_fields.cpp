#include "log/error_fields.h"

#include "db/error.h"
#include "log/clock_text.h"

namespace dcf::log {

ErrorFields describeError(const std::exception& error) {
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error)) {
        return {dbError->sqlState() + " (" + std::to_string(dbError->nativeCode()) + ")",
                dbError->source(), dbError->message()};
    }
    // Every line of a block holds one line of text, whatever raised it.
    return {"0", "dcfconvert", db::oneLine(error.what())};
}

std::string errorBlockHeading(std::string_view file, const std::tm& when) {
    return "**** Error with file: " + std::string(file) + " at " + logDate(when) + " " +
           clockTime12(when);
}

} // namespace dcf::log
