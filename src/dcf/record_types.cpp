#include "dcf/record_types.h"

#include "dcf/control_names.h"

#include <algorithm>
#include <array>
#include <vector>

namespace dcf {
namespace {

using namespace control;

constexpr std::array<RecordType, kRecordTypeCount> kRecordTypes = {{
    // name, code, fields, staged, summary, staged label, imported label, row, place
    {"HDR", "HDR,", 5, false, " Header Record(s)", nullptr, nullptr, "", 0},
    {"FLR", "FLR,", 9, true, " Filer(s)", nullptr, nullptr, "", 0},
    {"FORM", "FORM", 45, true, " Campaign Finance Report(s)", lblReportsCount, lblImpFormCount,
     "Reports:", 2},
    {"RCPT", "RCPT", 11, true, " Contribution(s)", lblRcptCount, lblImpRcptCount,
     "Contributions/Pledges:", 3},
    {"EXPN", "EXPN", 12, true, " Expenditure(s)", lblExpnCount, lblImpExpnCount,
     "Expenditures:", 4},
    {"NAME", "NAME", 33, true, " Name(s)", lblNameCount, lblImpNameCount, "Names:", 1},
    {"SMRY", "SMRY", 10, true, " Summary Record(s)", lblSummaryCount, lblImpSummaryCount,
     "Summary Records:", 11},
    {"FINL", "FINL", 8, true, " Final Report Record(s)", nullptr, nullptr, "", 0},
    {"PLDG", "PLDG", 12, true, " Pledge(s)", nullptr, nullptr, "", 0},
    {"CRED", "CRED", 11, true, " Credit Record(s)", lblCreditsCount, lblImpCredCount,
     "Credits:", 6},
    {"LOAN", "LOAN", 16, true, " Loan Record(s)", lblLoansCount, lblImpLoanCount, "Loans:", 5},
    {"TEXT", "TEXT", 6, true, " Text Record(s)", lblTextCount, lblImpTextCount, "Memos:", 12},
    {"DEBT", "DEBT", 16, true, " Debt Record(s)", lblOutLoans, lblImpDebtCount,
     "Outstanding Loans:", 8},
    {"GUAR", "GUAR", 7, true, " Loan Guaranty Record(s)", nullptr, nullptr, "", 0},
    {"ASSE", "ASSE", 11, true, " Asset Record(s)", lblAssetsCount, lblImpAssetCount, "Assets:", 7},
    {"CORR", "CORR", 6, true, " Corrected Report Record(s)", nullptr, nullptr, "", 0},
    {"CVR2", "CVR2", 10, true, "", lblNoticesCount, lblImpNoticesCount,
     "Notices from Individuals/PAC's:", 9},
    {"CVR3", "CVR3", 12, true, "", lblActivityPurposeCount, lblImpActivityPurposeCount,
     "Activity/Purpose:", 10},
    {"CAND", "CAND", 12, true, "", nullptr, nullptr, "", 0},
}};

} // namespace

std::span<const RecordType> allRecordTypes() {
    return kRecordTypes;
}

std::span<const RecordType* const> windowRows() {
    static const std::vector<const RecordType*> rows = [] {
        std::vector<const RecordType*> found;
        for (const RecordType& type : kRecordTypes) {
            if (type.windowRow != 0) {
                found.push_back(&type);
            }
        }
        std::ranges::sort(found, {}, &RecordType::windowRow);
        return found;
    }();
    return rows;
}

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

const RecordType* recordTypeNamed(std::string_view name) {
    for (const RecordType& type : kRecordTypes) {
        if (type.name == name) {
            return &type;
        }
    }
    return nullptr;
}

std::size_t recordTypeIndex(const RecordType& type) {
    return static_cast<std::size_t>(&type - kRecordTypes.data());
}

} // namespace dcf
