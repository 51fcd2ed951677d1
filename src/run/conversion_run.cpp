#include "run/conversion_run.h"

namespace dcf::run {
namespace {

std::int32_t countOf(const std::array<std::int32_t, kRecordTypeCount>& counts,
                     std::string_view name) {
    const RecordType* type = recordTypeNamed(name);
    return type == nullptr ? 0 : counts[recordTypeIndex(*type)];
}

} // namespace

std::int32_t RunCounts::staged(std::string_view type) const {
    return countOf(staged_, type);
}

std::int32_t RunCounts::imported(std::string_view type) const {
    return countOf(imported_, type);
}

} // namespace dcf::run
