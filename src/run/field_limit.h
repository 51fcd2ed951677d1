#pragma once

#include "run/record_report.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dcf::run {

// A column's width in characters and how its warning names the field.
struct FieldLimit {
    std::string_view label; // "Last Name"
    std::size_t limit;
    // The warning states the width ("... longer than the 100 characters
    // allowed."); one old warning says only "longer than allowed.".
    bool widthStated = true;
    // The warning's place names the record's item id; the nickname's does not.
    bool withItemId = true;
};

// A value longer than its column allows is cut to its first `limit`
// characters and the record is converted with one warning:
// "<label> field is longer than the <limit> characters allowed. Field
// truncated in <place> from '<value>' to '<cut>'". Returns the value that
// fits.
std::string cutToLimit(RecordReport& record, std::string value, const FieldLimit& limit,
                       std::string_view place);
// The same, the place being the record's: "'RCPT' record Item Id 61", or
// "'RCPT' record" for a limit without the item id. The place is made only
// for a value that is cut.
std::string cutToLimit(RecordReport& record, std::string value, const FieldLimit& limit);

} // namespace dcf::run
