#include "dcf_generator.h"

#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"

#include <array>
#include <fstream>
#include <stdexcept>
#include <string>

namespace dcf::bench {
namespace {

// The mix of a typical file, out of 20 lines.
constexpr std::array<const char*, 20> kMix = {
    "NAME", "RCPT", "NAME", "RCPT", "EXPN", "NAME", "RCPT", "RCPT", "EXPN", "NAME",
    "RCPT", "PLDG", "EXPN", "LOAN", "TEXT", "SMRY", "NAME", "RCPT", "DEBT", "CRED"};

std::string token(int field, std::int64_t n) {
    switch (field % 6) {
    case 0:
        return "Name" + std::to_string(n % 9973);
    case 1:
        return std::to_string(20260000 + n % 1200 + 101);
    case 2:
        return std::to_string(n % 5000) + ".25";
    case 3:
        return "\"" + std::to_string(n % 777) + " Main St, Suite 4\"";
    case 4:
        return "";
    default:
        return "Springfield";
    }
}

std::string makeLine(const dcf::RecordType& type, std::int64_t recNum, std::int64_t report) {
    std::string line(type.code);
    if (line.back() != ',') {
        line += ',';
    }
    line += std::to_string(recNum) + "," + std::to_string(report);
    const int last = type.fieldCount + 1;
    for (int field = 4; field < last; ++field) {
        // Fields 4 to 6 and 9 never take quotes.
        std::string value = token(field, recNum + field);
        if ((field <= 6 || field == 9 || field == 34) && !value.empty() && value.front() == '"') {
            value = "Plain" + std::to_string(field);
        }
        line += "," + value;
    }
    const std::string code(type.code);
    line += (code == "TEXT" || code == "CORR") ? ",\"Memo text for the report\""
                                               : (code == "NAME" ? ",NN" : ",Z");
    return line;
}

} // namespace

void generateDcfFile(const std::filesystem::path& file, std::int64_t lines) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "HDR,1,0,DCF,1.0,20261208,\r\n";
    out << "FLR,1,0,A,B,COH,F123456,X,Y,2\r\n";
    const dcf::RecordType* name = dcf::findRecordType("NAME");
    out << makeLine(*name, 2, 0) << "\r\n";
    for (std::int64_t n = 3; n < lines; ++n) {
        const dcf::RecordType* type =
            dcf::findRecordType(kMix[static_cast<std::size_t>(n % kMix.size())]);
        const std::string line = makeLine(*type, n, 1 + n / 5000);
        if (!dcf::splitDcfLine(line, type->fieldCount).complete) {
            throw std::logic_error("generated line does not split: " + line);
        }
        out << line << "\r\n";
    }
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

} // namespace dcf::bench
