#include "dcf/dcf_splitter.h"

#include "dcf/text_encoding.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace dcf {
namespace {

constexpr int kLastField = 46;

enum class Outcome {
    next,      // the field is read; the next one starts after the next comma
    lineTaken, // the field took the end of the line; later fields stay empty
    shortLine, // the line ended before the field did
};

// Reads the fields of one line left to right. p_ is the byte offset of the
// current field's first character; commas and quotes are ASCII, so scanning
// bytes never lands inside a multibyte character.
class Splitter {
public:
    Splitter(std::string_view line, SplitLine& out) : line_(line), out_(out) {}

    void run(int fieldCount);

private:
    Outcome field(int k);
    std::optional<Outcome> exception(int k);
    std::optional<Outcome> field12(bool unquotedValue);
    std::optional<Outcome> field13(bool unquotedValue);
    Outcome plain(int k);
    Outcome quoteAware(int k);
    Outcome filerNameRecord(int k);
    Outcome expenditureField12(int k);
    Outcome takeLast(int k, std::size_t count);
    Outcome takeLastUnlessEmpty(int k);
    Outcome takeRest(int k);
    Outcome fixedQuotes(int k);
    Outcome fail(std::string problem);

    bool is(std::string_view code) const { return out_.recordType == code; }
    bool isAnyOf(std::initializer_list<std::string_view> codes) const {
        return std::find(codes.begin(), codes.end(), out_.recordType) != codes.end();
    }
    bool pastEnd() const { return p_ >= line_.size(); }
    bool atComma() const { return !pastEnd() && line_[p_] == ','; }
    bool atQuote() const { return !pastEnd() && line_[p_] == '"'; }
    std::string_view rest() const { return line_.substr(std::min(p_, line_.size())); }
    std::string& value(int k) { return out_.fields[static_cast<std::size_t>(k)]; }

    std::string_view line_;
    SplitLine& out_;
    std::size_t p_ = 0;
};

void Splitter::run(int fieldCount) {
    const int last = std::clamp(fieldCount, 0, kLastField - 1) + 1;
    for (int k = 2; k <= last; ++k) {
        const std::size_t comma = line_.find(',', p_);
        if (comma == std::string_view::npos) {
            fail("Field " + std::to_string(k) + " is missing: the line ends after field " +
                 std::to_string(k - 1) + ".");
            break;
        }
        p_ = comma + 1;
        if (field(k) != Outcome::next) {
            break;
        }
    }
    // Quoted commas were stored as "*". Fields 7 to 32 turn every "*" back
    // into a comma, a typed one too; later fields keep it, and their readers
    // take "*" for a comma.
    for (int k = 7; k <= 32; ++k) {
        std::replace(value(k).begin(), value(k).end(), '*', ',');
    }
}

Outcome Splitter::field(int k) {
    if (const std::optional<Outcome> special = exception(k)) {
        return *special;
    }
    if (k <= 6 || k == 9 || k == 34) {
        return plain(k);
    }
    const bool quoted = atQuote();
    const Outcome outcome = quoteAware(k);
    if (outcome == Outcome::shortLine) {
        return outcome;
    }
    if (k == 7 && !quoted && is("FLR,")) {
        out_.filerId = value(k);
    } else if (k == 10 && is("LOAN") && value(k).empty()) {
        value(k) = "0";
    }
    return outcome;
}

// The rules of particular fields of particular types; nothing when the field
// follows the general rule. Most of them find the last field of a type, which
// has no comma after it.
std::optional<Outcome> Splitter::exception(int k) {
    const bool unquotedValue = !atQuote() && !atComma();
    switch (k) {
    case 8:
        if (is("GUAR") && unquotedValue) {
            return takeRest(k); // a one-character value is kept too
        }
        break;
    case 9:
        if (isAnyOf({"FINL", "CVR2"})) {
            return takeLast(k, 1);
        }
        break;
    case 10:
        if (is("FLR,")) {
            return filerNameRecord(k);
        }
        break;
    case 11:
        if (is("SMRY") && !atQuote()) {
            value(k).assign(utf8First(rest(), 1));
            return Outcome::next;
        }
        if (is("FORM") && atQuote()) {
            value(k).assign(utf8First(rest(), 2));
            return Outcome::next; // p stays on the opening quote
        }
        break;
    case 12:
        return field12(unquotedValue);
    case 13:
        return field13(unquotedValue);
    case 17:
        if (isAnyOf({"DEBT", "LOAN"}) && unquotedValue) {
            return takeLastUnlessEmpty(k);
        }
        break;
    case 34:
        if (is("NAME")) {
            return takeLast(k, 2);
        }
        break;
    case kLastField:
        if (atComma()) {
            return Outcome::lineTaken; // empty
        }
        return takeLastUnlessEmpty(k);
    default:
        break;
    }
    return std::nullopt;
}

std::optional<Outcome> Splitter::field12(bool unquotedValue) {
    constexpr int k = 12;
    if (isAnyOf({"PLDG", "RCPT", "ASSE", "CRED"}) && unquotedValue) {
        return takeLastUnlessEmpty(k);
    }
    if (is("EXPN") && unquotedValue) {
        return expenditureField12(k);
    }
    if (isAnyOf({"LOAN", "FORM", "CVR3"}) && atQuote()) {
        return fixedQuotes(k);
    }
    return std::nullopt;
}

std::optional<Outcome> Splitter::field13(bool unquotedValue) {
    constexpr int k = 13;
    if (isAnyOf({"CAND", "CVR3"}) && unquotedValue) {
        return takeRest(k);
    }
    if (is("EXPN") && unquotedValue) {
        return takeLastUnlessEmpty(k);
    }
    if (is("FORM") && atQuote()) {
        return fixedQuotes(k);
    }
    return std::nullopt;
}

Outcome Splitter::plain(int k) {
    if (atComma()) {
        return Outcome::next; // empty; the next field starts after this comma
    }
    const std::size_t comma = pastEnd() ? std::string_view::npos : line_.find(',', p_);
    if (comma == std::string_view::npos) {
        return fail("Field " + std::to_string(k) + " has no closing comma.");
    }
    value(k).assign(line_.substr(p_, comma - p_));
    return Outcome::next;
}

Outcome Splitter::quoteAware(int k) {
    if (!atQuote()) {
        return plain(k);
    }
    const std::size_t close = line_.find('"', p_ + 1);
    if (close == std::string_view::npos) {
        return fail("Unterminated quote in field " + std::to_string(k) + ".");
    }
    if (close == p_ + 1) {
        // An empty quoted value reads as the two quotes themselves, except in
        // the fields whose readers expect an empty value.
        const bool becomesEmpty = k >= 10 && k <= 13;
        if (!becomesEmpty) {
            return fixedQuotes(k);
        }
        p_ = close + 1;
        return Outcome::next;
    }
    std::string& v = value(k);
    v.assign(line_.substr(p_ + 1, close - p_ - 1));
    std::replace(v.begin(), v.end(), ',', '*');
    p_ = close + 1;
    return Outcome::next;
}

// Field 10 of a filer line: the rest of the line unless quoted; either way it
// names the record number of the filer's NAME line.
Outcome Splitter::filerNameRecord(int k) {
    const Outcome outcome = atQuote() ? quoteAware(k) : takeRest(k);
    if (outcome != Outcome::shortLine) {
        out_.nameRecordNumber = value(k);
    }
    return outcome;
}

// An itemised expenditure (field 6 "I") ends at field 12; any other keeps
// field 12 empty and reads its last field, 13, after it.
Outcome Splitter::expenditureField12(int k) {
    if (value(6) == "I") {
        return takeLastUnlessEmpty(k);
    }
    return Outcome::next;
}

Outcome Splitter::takeLast(int k, std::size_t count) {
    value(k).assign(utf8Last(line_, count));
    return Outcome::lineTaken;
}

// A line that ends right after the field's comma has an empty last field,
// not a comma for its last character.
Outcome Splitter::takeLastUnlessEmpty(int k) {
    return pastEnd() ? Outcome::lineTaken : takeLast(k, 1);
}

Outcome Splitter::takeRest(int k) {
    value(k).assign(rest());
    return Outcome::lineTaken;
}

// The value is the two quote characters; p stays on the opening quote, so the
// next field starts after the first comma from there.
Outcome Splitter::fixedQuotes(int k) {
    value(k).assign("\"\"");
    return Outcome::next;
}

Outcome Splitter::fail(std::string problem) {
    out_.complete = false;
    out_.problem = std::move(problem);
    return Outcome::shortLine;
}

} // namespace

void splitDcfLine(std::string_view line, int fieldCount, SplitLine& out) {
    for (std::string& f : out.fields) {
        f.clear();
    }
    out.recordType.assign(utf8First(line, 4));
    out.complete = true;
    out.problem.clear();
    out.filerId.reset();
    out.nameRecordNumber.reset();
    Splitter(line, out).run(fieldCount);
}

SplitLine splitDcfLine(std::string_view line, int fieldCount) {
    SplitLine out;
    splitDcfLine(line, fieldCount, out);
    return out;
}

} // namespace dcf
