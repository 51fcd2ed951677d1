#include "staging/name_record.h"

namespace dcf::staging {
namespace {

constexpr int kLastField = kNameRecordFirstField + static_cast<int>(kNameRecordFields) - 1;

std::string column(int field) {
    return "field" + std::to_string(field);
}

} // namespace

const std::string& nameRecordColumns() {
    static const std::string columns = [] {
        std::string list;
        for (int field = kNameRecordFirstField; field <= kLastField; ++field) {
            list += (list.empty() ? "" : ", ") + column(field);
        }
        return list;
    }();
    return columns;
}

NameRecord nameRecordFromFields(const std::function<std::string(int)>& field) {
    NameRecord record;
    record.name = {field(7), field(8), field(9), field(10), field(11)};
    record.address = {field(12), field(13), field(14), field(15), field(16)};
    record.phone = field(17);
    record.phoneExtension = field(18);
    record.person = {.employer = field(22),
                     .occup = field(19),
                     .jobTitle = field(21),
                     .spousEmp = field(23),
                     .parent1 = field(24),
                     .parent2 = field(25)};
    record.outOfStateCommitteeId = field(26);
    record.outOfStateCommittee = field(29) == "Y";
    record.mailing = {field(30), field(31), field(32), field(34), field(33)};
    return record;
}

} // namespace dcf::staging
