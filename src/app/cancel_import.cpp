#include "app/cancel_import.h"

#include "dcf/control_names.h"
#include "log/log_file.h"

#include <chrono>

namespace dcf::app {

void CancelImport(run::RunContext& context) {
    if (context.transaction != nullptr) {
        context.transaction->rollback();
    }
    const char* text = "Conversion canceled by user. No files imported.";
    context.view.setText(control::statbarMain, text);
    context.view.setText(control::lblProcessingMessage, text);
    log::LogFile(context.request.logsFolder).writeCancelLine(std::chrono::system_clock::now());
    context.view.setBusy(false);
    context.view.yield();
}

} // namespace dcf::app
