#pragma once

#include "run/record_report.h"
#include "run/run_context.h"

namespace dcf::names {

// Matches the resolved name against the names the filer already has and
// sets the current name id: to an existing name that agrees in name, street,
// city, state, zip and (where the existing name has one) title; or, for a
// similar name, as the user answers the similar-name question (Yes keeps the
// existing id; No adds the name under a new id; Cancel does the same and asks
// no more this run); or to a new id under which it adds a name the filer
// does not have in that role. With the questions switched off a similar name
// leaves the id as it was. Names compare without regard to ASCII case.
void CheckNames(run::RunContext& context, run::RecordReport& report);

// The similar-name question's text.
struct NameLines {
    std::string title, first, last, street, city, state, zip;
};
std::string similarNameQuestion(const NameLines& existing, const NameLines& added);

} // namespace dcf::names
