#include "staging/staging_row.h"

#include "dcf/record_types.h"
#include "dcf/text_encoding.h"

#include <utility>

namespace dcf::staging {
namespace {

bool isLong(const std::string& value) {
    // Only a value of more than 255 bytes can hold more than 255 characters.
    return value.size() > kShortFieldLength && utf8Length(value) > kShortFieldLength;
}

} // namespace

const std::vector<std::string>& importTempColumns() {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> names = {"filer_id", "rec_type", "rec_num", "repno", "Status"};
        for (int n = 4; n <= 46; ++n) {
            names.push_back("field" + std::to_string(n));
        }
        names.emplace_back("Memo");
        return names;
    }();
    return columns;
}

LongValues placeLongValues(const SplitLine& split) {
    LongValues placement;
    if (isLong(split.fields[7])) {
        const RecordType* type = findRecordType(split.recordType);
        if (type != nullptr && type->longTextInField7) {
            placement.field7ToMemo = true;
        } else {
            placement.problem = "Field 7 holds " + std::to_string(utf8Length(split.fields[7])) +
                                " characters; at most 255 fit. The line is not staged.";
        }
    }
    placement.field10ToMemo = isLong(split.fields[10]);
    return placement;
}

StagingRow stagingRow(const SplitLine& split, const std::string& filerId) {
    const LongValues placement = placeLongValues(split);
    StagingRow row;
    row.filerId = filerId;
    row.recordType = split.recordType;
    row.recordNumber = split.fields[2];
    row.reportNumber = split.fields[3];
    for (std::size_t n = 4; n <= 46; ++n) {
        row.fields[n] = split.fields[n];
    }
    if (placement.field10ToMemo) {
        row.memo = std::exchange(row.fields[10], {});
    }
    if (placement.field7ToMemo) {
        std::string field7 = std::exchange(row.fields[7], {});
        if (!row.memo) {
            row.memo = std::move(field7);
        }
    }
    row.problem = placement.problem;
    return row;
}

} // namespace dcf::staging
