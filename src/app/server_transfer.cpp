#include "app/server_transfer.h"

#include "app/cancel_import.h"
#include "app/dcf_import.h"
#include "dcf/control_names.h"
#include "names/id_counters.h"

namespace dcf::app {

void readFromServer(run::RunContext& context, ServerCopy& copy) {
    context.view.setText(control::lblProcessingMessage,
                         "Reading the filer's records from the server");
    context.view.yield();
    copy.copyCounters();
    context.useFiler(context.request.file.filerId);
}

void saveOnServer(run::RunContext& context, ServerCopy& copy, staging::ImportTemp& importTemp) {
    run::View& view = context.view;
    try {
        view.setBusy(true);
        view.setText(control::lblProcessingMessage, "Writing the converted records to the server");
        names::storeHeldNameId(context);
        const std::int64_t total = copy.rowsToWrite();
        view.setProgress(0, total);
        view.yield();
        const bool done = copy.transfer([&](std::int64_t written) {
            view.setProgress(written, total);
            view.yield();
            return !context.cancelRequested.load();
        });
        if (done) {
            importTemp.saveToTarget();
        }
        view.setBusy(false);
        if (!done || context.cancelRequested) {
            CancelImport(context);
        }
    } catch (const std::exception& failure) {
        view.setBusy(false);
        logDriverFailure(context, failure);
    }
}

} // namespace dcf::app
