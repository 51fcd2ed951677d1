#include "dcf_generator.h"

#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"

#include <array>
#include <fstream>
#include <random>
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

std::string runName(std::int64_t number, bool longFirstName) {
    // Last names repeat across first names, as in a real list.
    const std::string first = longFirstName ? "First" + std::string(48, 'x') : "First";
    return "NAME," + std::to_string(number) + ",0,F,,," + "Lastname" +
           std::to_string(number % 5000) + "," + first + std::to_string(number) + ",,,," +
           std::to_string(number % 900) + " Oak St,,Salem,OR,97301" + fields(17, 34);
}

std::string coverSheet(std::int64_t report, std::int64_t treasurer) {
    return "FORM," + std::to_string(report) + ",0,,-1,COH,,1," + std::to_string(treasurer) +
           ",0,20260101,20260630" + fields(13, 46);
}

// A schedule record of `report` naming `name`: field 7 the name id, a date in
// `dateField` and an amount after it, empty up to `lastField`.
std::string schedule(const char* type, std::int64_t number, std::int64_t report, std::int64_t name,
                     int dateField, int lastField) {
    std::string line = std::string(type) + "," + std::to_string(number) + "," +
                       std::to_string(report) + ",,,A," + std::to_string(name);
    for (int field = 8; field <= lastField; ++field) {
        line += ",";
        if (field == dateField) {
            line += "20260115";
        } else if (field == dateField + 1) {
            line += "25.00";
        }
    }
    return line;
}

// A record of a report that names no amount-bearing schedule: summary lines,
// texts, notices, measures, candidates, assets and the report's last records,
// in turn.
std::string reportLine(std::int64_t record, std::int64_t report, std::int64_t name) {
    const std::string head = std::to_string(record) + "," + std::to_string(report) + ",";
    switch ((record / 20) % 8) {
    case 0:
        return "TEXT," + head + ",,A,\"Explanation of schedule A\"";
    case 1:
        return "CVR2," + head + ",,COH," + std::to_string(name) + ",0,C";
    case 2:
        return "CVR3," + head + ",,COH,,M,S,,7,20261103,Parks levy " + std::to_string(record);
    case 3:
        return "CAND," + head + std::to_string(record - 1) + ",,F," + std::to_string(name) +
               ",CO,County Commissioner,4,ST,State Senate,12";
    case 4:
        return "ASSE," + head + ",,F,,,,Office furniture " + std::to_string(record) + ",,";
    case 5:
        return "FINL," + head + ",,COH,1,0,Y";
    case 6:
        return "CORR," + head + ",,COH,\"Corrected the period's totals\"";
    default:
        return "SMRY," + head + ",,COH,2,40.00,0.00,,";
    }
}

// One record of a report, by its place in a cycle of twenty: contributions
// most, then expenditures, a summary, one of each other schedule and one
// report-level record; each guarantor backs the loan or debt just before it.
std::string reportRecord(std::int64_t record, std::int64_t report, std::int64_t name) {
    switch (record % 20) {
    case 0:
        return "SMRY," + std::to_string(record) + "," + std::to_string(report) +
               ",,,COH,1,100.00,0.00,,";
    case 10:
        return reportLine(record, report, name);
    case 4:
        return schedule("PLDG", record, report, name, 8, 14);
    case 9:
    case 11:
    case 12:
    case 13:
        return schedule("EXPN", record, report, name, 8, 13);
    case 14:
        return schedule("CRED", record, report, name, 8, 12);
    case 15:
        return schedule("LOAN", record, report, name, 9, 17);
    case 17:
        return schedule("DEBT", record, report, name, 0, 17);
    case 16:
    case 18:
        return "GUAR," + std::to_string(record) + "," + std::to_string(report) + "," +
               std::to_string(record - 1) + ",,," + std::to_string(name) + ",500.00";
    default:
        return schedule("RCPT", record, report, name, 8, 12);
    }
}

} // namespace

void generateRunFile(const std::filesystem::path& file, std::int64_t lines, std::int64_t names,
                     std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const auto oneIn = [&](std::uint64_t n) { return random() % n == 0; };
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "HDR,1,0,DCF,1.0,20261208,\r\n";
    out << "FLR,1,0,A,B,COH,F123456,X,Y,1\r\n";
    out << "NAME,1,0,F,,,Doe Campaign,Jane,,,,1 Main St,,Salem,OR,97301" << fields(17, 34)
        << "\r\n";
    std::int64_t written = 3;
    for (std::int64_t n = 2; n <= names + 1 && written < lines; ++n, ++written) {
        out << runName(n, oneIn(100)) << "\r\n";
    }
    constexpr std::int64_t kReportLines = 2000;
    std::int64_t report = 0;
    std::int64_t record = names + 2;
    for (; written < lines; ++written, ++record) {
        const std::int64_t known =
            2 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(names));
        if ((written - names - 3) % kReportLines == 0) {
            out << coverSheet(++report, known) << "\r\n";
        } else {
            // Now and then a record names a name the file does not hold.
            const std::int64_t name = oneIn(100) ? names + 2 + record : known;
            out << reportRecord(record, report, name) << "\r\n";
        }
    }
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

} // namespace dcf::bench
