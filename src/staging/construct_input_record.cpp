#include "staging/construct_input_record.h"

#include <array>

namespace dcf::staging {
namespace {

constexpr int kFirstField = 4;
constexpr int kLastField = 46;
constexpr std::size_t kColumnCount = 3 + (kLastField - kFirstField + 1);

// The staging columns of an input record, in input-line order.
const std::array<std::string, kColumnCount>& inputColumns() {
    static const std::array<std::string, kColumnCount> columns = [] {
        std::array<std::string, kColumnCount> names{"rec_type", "rec_num", "repno"};
        for (int field = kFirstField; field <= kLastField; ++field) {
            names[static_cast<std::size_t>(3 + field - kFirstField)] =
                "field" + std::to_string(field);
        }
        return names;
    }();
    return columns;
}

} // namespace

std::string ConstructInputRecord(const StagedRow& row) {
    std::string record;
    bool first = true;
    for (const std::string& column : inputColumns()) {
        if (!first) {
            record += ',';
        }
        first = false;
        record += row.text(column);
    }
    return record;
}

} // namespace dcf::staging
