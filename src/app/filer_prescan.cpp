#include "app/filer_prescan.h"

#include "app/run_command.h"
#include "app/selected_file.h"
#include "dcf/dcf_line_reader.h"

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

void refuseOtherType(run::RunContext& context, const FilerLine& line, const KnownFiler& known) {
    const std::string text = "There Already Exists a " + known.type + " Filer\r\n'" + known.name +
                             "'\r\nwith Account #" + line.id + "\r\n\r\nThe Data File for " +
                             line.type + " Filer \r\n'" + line.name + "'\r\nwith Account #" +
                             line.id + "\r\nwill NOT be Converted!";
    context.view.tell({"Canceling QORVEX Data File Conversion", text, run::Icon::Critical});
}

bool continueWithDuplicate(run::RunContext& context, const FilerLine& line,
                           const KnownFiler& known) {
    const std::string text =
        "There Already Exists a " + known.type + " Filer\r\n'" + known.name +
        "'\r\nwith Account #" + line.id + "\r\nthat is a Duplicate of the Account #" + line.id +
        " being Imported!\r\n\r\nDo you want to Continue to Convert this Data File? ";
    return context.view.ask({run::QuestionKind::DuplicateFiler, "Converting QORVEX Data File", text,
                             run::Icon::Question, run::Answer::No}) == run::Answer::Yes;
}

} // namespace

bool checkFilers(run::RunContext& context) {
    run::ConversionRun& run = context.run;
    DcfLineReader reader(run.filePath);
    DcfLine line;
    context.view.yield();
    // Every line is examined, the first one too: a file may begin with its
    // filer line. A file without any line cannot be read.
    if (!reader.next(line)) {
        throw std::runtime_error("Input past end of file: " + run.filePath.string() +
                                 " holds no line.");
    }
    do {
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
    } while (reader.next(line));
    return true;
}

} // namespace dcf::app
