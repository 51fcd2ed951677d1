#include "dcf/record_types.h"

#include "dcf/control_names.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace dcf {
namespace {

using namespace control;

constexpr std::array<RecordType, kRecordTypeCount> kRecordTypes = {{
    {.name = "HDR",
     .code = "HDR,",
     .fieldCount = 5,
     .staged = false,
     .summaryCaption = " Header Record(s)"},
    {.name = "FLR",
     .code = "FLR,",
     .fieldCount = 9,
     .moreNameFields = {10},
     .targetTable = "FILERS",
     .summaryCaption = " Filer(s)"},
    {.name = "FORM",
     .code = "FORM",
     .fieldCount = 45,
     .nameInField7 = true,
     .moreNameFields = {8, 9},
     .databaseNumbered = true,
     .targetTable = "cvr",
     .summaryCaption = " Campaign Finance Report(s)",
     .stagedLabel = lblReportsCount,
     .importedLabel = lblImpFormCount,
     .rowCaption = "Reports:",
     .windowRow = 2},
    {.name = "RCPT",
     .code = "RCPT",
     .fieldCount = 11,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "RCPT",
     .summaryCaption = " Contribution(s)",
     .stagedLabel = lblRcptCount,
     .importedLabel = lblImpRcptCount,
     .rowCaption = "Contributions/Pledges:",
     .windowRow = 3},
    {.name = "EXPN",
     .code = "EXPN",
     .fieldCount = 12,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "EXPN",
     .summaryCaption = " Expenditure(s)",
     .stagedLabel = lblExpnCount,
     .importedLabel = lblImpExpnCount,
     .rowCaption = "Expenditures:",
     .windowRow = 4},
    {.name = "NAME",
     .code = "NAME",
     .fieldCount = 33,
     .databaseNumbered = true,
     .targetTable = "names",
     .summaryCaption = " Name(s)",
     .stagedLabel = lblNameCount,
     .importedLabel = lblImpNameCount,
     .rowCaption = "Names:",
     .windowRow = 1},
    {.name = "SMRY",
     .code = "SMRY",
     .fieldCount = 10,
     .reportLink = ReportLink::Summary,
     .targetTable = "SMRY",
     .summaryCaption = " Summary Record(s)",
     .stagedLabel = lblSummaryCount,
     .importedLabel = lblImpSummaryCount,
     .rowCaption = "Summary Records:",
     .windowRow = 11},
    {.name = "FINL",
     .code = "FINL",
     .fieldCount = 8,
     .reportLink = ReportLink::Row,
     .targetTable = "FINL",
     .summaryCaption = " Final Report Record(s)"},
    {.name = "PLDG",
     .code = "PLDG",
     .fieldCount = 12,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "RCPT",
     .summaryCaption = " Pledge(s)"},
    {.name = "CRED",
     .code = "CRED",
     .fieldCount = 11,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "CRED",
     .summaryCaption = " Credit Record(s)",
     .stagedLabel = lblCreditsCount,
     .importedLabel = lblImpCredCount,
     .rowCaption = "Credits:",
     .windowRow = 6},
    {.name = "LOAN",
     .code = "LOAN",
     .fieldCount = 16,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "LOAN",
     .summaryCaption = " Loan Record(s)",
     .stagedLabel = lblLoansCount,
     .importedLabel = lblImpLoanCount,
     .rowCaption = "Loans:",
     .windowRow = 5},
    {.name = "TEXT",
     .code = "TEXT",
     .fieldCount = 6,
     .longTextInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "memos",
     .summaryCaption = " Text Record(s)",
     .stagedLabel = lblTextCount,
     .importedLabel = lblImpTextCount,
     .rowCaption = "Memos:",
     .windowRow = 12},
    {.name = "DEBT",
     .code = "DEBT",
     .fieldCount = 16,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "DEBT",
     .summaryCaption = " Debt Record(s)",
     .stagedLabel = lblOutLoans,
     .importedLabel = lblImpDebtCount,
     .rowCaption = "Outstanding Loans:",
     .windowRow = 8},
    {.name = "GUAR",
     .code = "GUAR",
     .fieldCount = 7,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "GUAR",
     .summaryCaption = " Loan Guaranty Record(s)"},
    {.name = "ASSE",
     .code = "ASSE",
     .fieldCount = 11,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "ASSET",
     .summaryCaption = " Asset Record(s)",
     .stagedLabel = lblAssetsCount,
     .importedLabel = lblImpAssetCount,
     .rowCaption = "Assets:",
     .windowRow = 7},
    {.name = "CORR",
     .code = "CORR",
     .fieldCount = 6,
     .longTextInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "CORR",
     .summaryCaption = " Corrected Report Record(s)"},
    {.name = "CVR2",
     .code = "CVR2",
     .fieldCount = 10,
     .nameInField7 = true,
     .moreNameFields = {8},
     .reportLink = ReportLink::Row,
     .targetTable = "NOTICE",
     .stagedLabel = lblNoticesCount,
     .importedLabel = lblImpNoticesCount,
     .rowCaption = "Notices from Individuals/PAC's:",
     .windowRow = 9},
    {.name = "CVR3",
     .code = "CVR3",
     .fieldCount = 12,
     .reportLink = ReportLink::Row,
     .targetTable = "MEASURES",
     .stagedLabel = lblActivityPurposeCount,
     .importedLabel = lblImpActivityPurposeCount,
     .rowCaption = "Activity/Purpose:",
     .windowRow = 10},
    {.name = "CAND",
     .code = "CAND",
     .fieldCount = 12,
     .nameInField7 = true,
     .reportLink = ReportLink::Row,
     .targetTable = "BENEFIT"},
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

const RecordType& recordType(std::string_view name) {
    const RecordType* type = recordTypeNamed(name);
    if (type == nullptr) {
        throw std::logic_error("No record type named " + std::string(name));
    }
    return *type;
}

std::size_t recordTypeIndex(const RecordType& type) {
    return static_cast<std::size_t>(&type - kRecordTypes.data());
}

} // namespace dcf
