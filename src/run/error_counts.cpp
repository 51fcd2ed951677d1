#include "run/error_counts.h"

#include "dcf/control_names.h"

namespace dcf::run {

void countImportedWithError(RunContext& context) {
    const std::int32_t count = ++context.run.counts.importedWithError;
    context.view.setCount(control::lblErrorsImportedCount, count);
    context.view.setVisible(control::lblErrorsImportedCount, true);
    context.view.setVisible(control::lblErrorsImported, true);
}

void countNotImported(RunContext& context) {
    const std::int32_t count = ++context.run.counts.notImported;
    context.view.setCount(control::lblErrorsNotImportedCount, count);
    context.view.setVisible(control::lblErrorsNotImportedCount, true);
    context.view.setVisible(control::lblErrorsNOTImported, true);
}

} // namespace dcf::run
