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

namespace {

std::string fields(int from, int to, const std::string& fill = "") {
    std::string text;
    for (int n = from; n <= to; ++n) {
        text += "," + fill;
    }
    return text;
}

std::string runName(std::int64_t number) {
    // Last names repeat across first names, as in a real list.
    return "NAME," + std::to_string(number) + ",0,F,,," + "Lastname" +
           std::to_string(number % 5000) + ",First" + std::to_string(number) + ",,,," +
           std::to_string(number % 900) + " Oak St,,Salem,OR,97301" + fields(17, 34);
}

std::string coverSheet(std::int64_t report, std::int64_t treasurer) {
    return "FORM," + std::to_string(report) + ",0,,-1,COH,,1," + std::to_string(treasurer) +
           ",0,20260101,20260630" + fields(13, 46);
}

std::string schedule(const char* type, int lastField, std::int64_t number, std::int64_t report,
                     std::int64_t name) {
    return std::string(type) + "," + std::to_string(number) + "," + std::to_string(report) +
           ",,,," + std::to_string(name) + ",20260115,25.00" + fields(10, lastField);
}

} // namespace

void generateRunFile(const std::filesystem::path& file, std::int64_t lines, std::int64_t names) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "HDR,1,0,DCF,1.0,20261208,\r\n";
    out << "FLR,1,0,A,B,COH,F123456,X,Y,1\r\n";
    out << "NAME,1,0,F,,,Doe Campaign,Jane,,,,1 Main St,,Salem,OR,97301" << fields(17, 34)
        << "\r\n";
    std::int64_t written = 3;
    for (std::int64_t n = 2; n <= names + 1 && written < lines; ++n, ++written) {
        out << runName(n) << "\r\n";
    }
    constexpr std::int64_t kReportLines = 2000;
    std::int64_t report = 0;
    std::int64_t record = names + 2;
    for (; written < lines; ++written, ++record) {
        const std::int64_t name = 2 + (record * 7919) % names;
        if ((written - names - 3) % kReportLines == 0) {
            out << coverSheet(++report, name) << "\r\n";
        } else if (record % 10 == 0) {
            out << "SMRY," << record << "," << report << ",,,,100.00" << fields(8, 11) << "\r\n";
        } else if (record % 3 == 0) {
            out << schedule("EXPN", 13, record, report, name) << "\r\n";
        } else {
            out << schedule("RCPT", 12, record, report, name) << "\r\n";
        }
    }
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

} // namespace dcf::bench
