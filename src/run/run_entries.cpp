#include "run/run_entries.h"

namespace dcf::run {

void recordEntry(const RunContext& context, log::EntryOutcome outcome, log::EntryRecord record,
                 std::string_view message, std::string_view step) {
    log::Entry entry;
    entry.record = std::move(record);
    entry.outcome = outcome;
    entry.step = std::string(step.empty() ? context.run.step : step);
    entry.message = std::string(message);
    log::EntriesFile(context.request.logsFolder).append(entry);
}

} // namespace dcf::run
