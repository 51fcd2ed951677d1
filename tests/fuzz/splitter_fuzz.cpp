// Feeds arbitrary bytes through the path a DCF line takes: encoding, type
// lookup and splitting under every record type's rules, and checks what must
// hold for any input.
#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"
#include "dcf/text_encoding.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace dcf;
using fuzz::check;

void checkCharacterHelpers(const std::string& text) {
    const std::size_t length = utf8Length(text);
    check(utf8First(text, length) == text && utf8Last(text, length) == text, "whole text");
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{2}, length / 2}) {
        const std::string_view first = utf8First(text, n);
        const std::string_view last = utf8Last(text, n);
        check(utf8Length(first) == std::min(n, length), "first n characters");
        check(utf8Length(last) == std::min(n, length), "last n characters");
        check(isValidUtf8(first) && isValidUtf8(last), "cut inside a character");
    }
}

bool same(const SplitLine& a, const SplitLine& b) {
    return a.recordType == b.recordType && a.fields == b.fields && a.complete == b.complete &&
           a.problem == b.problem && a.filerId == b.filerId &&
           a.nameRecordNumber == b.nameRecordNumber;
}

bool mayHoldComma(const SplitLine& s, std::size_t k) {
    // Plain fields end at a comma and quoted commas in 33 to 45 are kept as
    // "*"; only the fields read from the end of the line can show one.
    return (k >= 7 && k <= 32) || k == 46 || (k == 34 && s.recordType == "NAME");
}

void checkSplit(const std::string& line, int fieldCount, SplitLine& reused) {
    const SplitLine s = splitDcfLine(line, fieldCount);
    splitDcfLine(line, fieldCount, reused);
    check(same(s, reused), "reused result differs from a fresh one");
    check(s.recordType == utf8First(line, 4), "record type is the first four characters");
    check(s.complete == s.problem.empty(), "problem text exactly for incomplete lines");
    check(s.fields[0].empty() && s.fields[1].empty(), "fields 0 and 1 unused");
    std::size_t characters = 0;
    for (std::size_t k = 2; k < s.fields.size(); ++k) {
        const std::string& f = s.fields[k];
        check(isValidUtf8(f), "field is valid UTF-8");
        check(f.empty() || static_cast<int>(k) <= fieldCount + 1, "field beyond the count");
        check(mayHoldComma(s, k) || f.find(',') == std::string::npos, "comma in a plain field");
        check(k < 7 || k > 32 || f.find('*') == std::string::npos, "star left in 7 to 32");
        characters += utf8Length(f);
    }
    check(!s.complete || characters <= utf8Length(line), "fields longer than the line");
    check(!s.filerId || s.recordType == "FLR,", "filer id from a non-filer line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = toUtf8(bytes);
    check(isValidUtf8(text), "conversion gives UTF-8");
    check(!isValidUtf8(bytes) || text == bytes, "valid UTF-8 passes unchanged");
    check(isValidUtf8(bytes) || utf8Length(text) == size, "one character per byte");
    checkCharacterHelpers(text);

    SplitLine reused;
    if (const RecordType* own = findRecordType(text)) {
        check(own->code == std::string_view(text).substr(0, 4), "lookup matches the code");
        checkSplit(text, own->fieldCount, reused);
    }
    // The same text as the fields of every type, to reach each type's rules.
    for (const RecordType& type : allRecordTypes()) {
        std::string line(type.code);
        if (line.back() != ',') {
            line += ',';
        }
        line += text;
        checkSplit(line, type.fieldCount, reused);
    }
    return 0;
}
