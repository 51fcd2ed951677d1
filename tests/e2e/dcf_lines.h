#pragma once

#include <map>
#include <string>

namespace dcf::test {

// One DCF line: the type, its record and report numbers, then fields 4 to
// `lastField`, each empty unless given.
inline std::string dcfLine(const std::string& type, const std::string& recordNumber,
                           const std::string& reportNumber, int lastField,
                           const std::map<int, std::string>& fields = {}) {
    std::string line = type + "," + recordNumber + "," + reportNumber;
    for (int n = 4; n <= lastField; ++n) {
        const auto found = fields.find(n);
        line += "," + (found == fields.end() ? std::string() : found->second);
    }
    return line + "\r\n";
}

// A NAME line: last and first name, street, city, state, zip and more.
inline std::string nameLine(const std::string& number, const std::map<int, std::string>& fields) {
    return dcfLine("NAME", number, "0", 34, fields);
}

// A cover sheet with the filer's and the treasurer's NAME records.
inline std::string formLine(const std::string& report, const std::string& filer,
                            const std::string& treasurer, std::map<int, std::string> fields = {}) {
    fields.emplace(5, "-1");
    fields.emplace(6, "COH");
    fields.emplace(8, filer);
    fields.emplace(9, treasurer);
    fields.emplace(10, "0");
    fields.emplace(11, "20260101");
    fields.emplace(12, "20260630");
    return dcfLine("FORM", report, "0", 46, fields);
}

// A contribution from a NAME record, in a report; `fields` replace the
// date and the amount.
inline std::string rcptLine(const std::string& number, const std::string& report,
                            const std::string& contributor,
                            std::map<int, std::string> fields = {}) {
    fields.emplace(7, contributor);
    fields.emplace(8, "20260115");
    fields.emplace(9, "10.00");
    return dcfLine("RCPT", number, report, 12, fields);
}

// A summary line: form COH, line item 1, amount 100.
inline std::string smryLine(const std::string& number, const std::string& report) {
    return dcfLine("SMRY", number, report, 11, {{6, "COH"}, {7, "1"}, {8, "100.00"}, {9, "0"}});
}

} // namespace dcf::test
