#include "app/filer_prescan.h"

#include "app/run_command.h"
#include "app/selected_file.h"
#include "staging/dcf_line_reader.h"

#include <stdexcept>

namespace dcf::app {
namespace {

struct KnownFiler {
    std::string name;
    std::string type;
};

bool findFiler(db::Connection& db, const std::string& filerId, KnownFiler& known) {
    auto& select =
        db.statement("select filer_namf, filer_naml, filer_type from filers where filer_id = ?");
    select.run(filerId);
    const bool found = select.next();
    if (found) {
        known.name = select.text("filer_namf") + " " + select.text("filer_naml");
        known.type = select.text("filer_type");
    }
    select.reset();
    return found;
}

void refuseOtherType(RunContext& context, const FilerLine& line, const KnownFiler& known) {
    const std::string text = "There Already Exists a " + known.type + " Filer\r\n'" + known.name +
                             "'\r\nwith Account #" + line.id + "\r\n\r\nThe Data File for " +
                             line.type + " Filer \r\n'" + line.name + "'\r\nwith Account #" +
                             line.id + "\r\nwill NOT be Converted!";
    context.view.tell({"Canceling QORVEX Data File Conversion", text, Icon::Critical});
}

bool continueWithDuplicate(RunContext& context, const FilerLine& line, const KnownFiler& known) {
    const std::string text =
        "There Already Exists a " + known.type + " Filer\r\n'" + known.name +
        "'\r\nwith Account #" + line.id + "\r\nthat is a Duplicate of the Account #" + line.id +
        " being Imported!\r\n\r\nDo you want to Continue to Convert this Data File? ";
    return context.view.ask({QuestionKind::DuplicateFiler, "Converting QORVEX Data File", text,
                             Icon::Question, Answer::No}) == Answer::Yes;
}

} // namespace

bool checkFilers(RunContext& context) {
    ConversionRun& run = context.run;
    staging::DcfLineReader reader(run.filePath);
    staging::DcfLine line;
    context.view.yield();
    // The first line is read but never examined; a file without one is empty.
    if (!reader.next(line)) {
        throw std::runtime_error("Input past end of file: " + run.filePath.string() +
                                 " holds no line.");
    }
    while (reader.next(line)) {
        ++run.recordCounter;
        run.currentLine = line.text;
        if (!line.text.starts_with("FLR")) {
            continue;
        }
        const FilerLine filer = readFilerLine(line.text);
        KnownFiler known;
        if (!findFiler(context.db, filer.id, known)) {
            continue;
        }
        bool stop = false;
        if (known.type != filer.type) {
            refuseOtherType(context, filer, known);
            stop = true;
        } else {
            stop = !continueWithDuplicate(context, filer, known);
        }
        if (stop) {
            run.cancelRequested = true;
            CancelImport(context);
            return false;
        }
    }
    return true;
}

} // namespace dcf::app
