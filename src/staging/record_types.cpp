#include "staging/record_types.h"

#include <array>

namespace dcf::staging {
namespace {

constexpr std::array<RecordType, 19> kRecordTypes = {{
    {"HDR,", 5, false}, {"FLR,", 9, true},  {"NAME", 33, true}, {"FORM", 45, true},
    {"CVR2", 10, true}, {"CVR3", 12, true}, {"TEXT", 6, true},  {"SMRY", 10, true},
    {"RCPT", 11, true}, {"EXPN", 12, true}, {"FINL", 8, true},  {"CORR", 6, true},
    {"PLDG", 12, true}, {"CRED", 11, true}, {"LOAN", 16, true}, {"ASSE", 11, true},
    {"GUAR", 7, true},  {"DEBT", 16, true}, {"CAND", 12, true},
}};

} // namespace

const RecordType* findRecordType(std::string_view line) {
    // Every code is four ASCII bytes, so four matching bytes are four
    // matching characters.
    if (line.size() < 4) {
        return nullptr;
    }
    const std::string_view head = line.substr(0, 4);
    for (const RecordType& type : kRecordTypes) {
        if (type.code == head) {
            return &type;
        }
    }
    return nullptr;
}

std::span<const RecordType> allRecordTypes() {
    return kRecordTypes;
}

} // namespace dcf::staging
