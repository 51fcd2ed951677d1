#include "run/field_limit.h"

#include "dcf/text_encoding.h"

namespace dcf::run {

std::string cutToLimit(RecordReport& record, std::string value, const FieldLimit& limit,
                       std::string_view place) {
    if (utf8Length(value) <= limit.limit) {
        return value;
    }
    std::string first(utf8First(value, limit.limit));
    std::string message(limit.label);
    message += limit.widthStated ? " field is longer than the " + std::to_string(limit.limit) +
                                       " characters allowed. Field truncated in "
                                 : " field is longer than allowed. Field truncated in ";
    message += place;
    message += " from '" + value + "' to '" + first + "'";
    record.warn(message);
    return first;
}

std::string cutToLimit(RecordReport& record, std::string value, const FieldLimit& limit) {
    if (utf8Length(value) <= limit.limit) {
        return value;
    }
    std::string place = "'";
    place += record.recordType();
    place += "' record";
    if (limit.withItemId) {
        place += " Item Id ";
        place += record.recordNumber();
    }
    return cutToLimit(record, std::move(value), limit, place);
}

} // namespace dcf::run
