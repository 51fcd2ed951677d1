#include "app/filer_prescan.h"

#include "app/cancel_import.h"
#include "app/selected_file.h"
#include "db/cursor.h"
#include "dcf/dcf_line_reader.h"

#include <stdexcept>

namespace dcf::app {
namespace {

struct KnownFiler {
    std::string name;
    std::string type;
};

bool findFiler(db::Connection& db, const std::string& filerId, KnownFiler& known) {
    db::Cursor row(db, "select filer_namf, filer_naml, filer_type from filers where filer_id = ?",
                   filerId);
    if (!row.next()) {
        return false;
    }
    // A filer without a first name (a committee) is named by its last name
    // alone, without a blank before it.
    const std::string first = row.row().text("filer_namf");
    const std::string last = row.row().text("filer_naml");
    known.name = first.empty() ? last : first + " " + last;
    known.type = row.row().text("filer_type");
    return true;
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
    const std::filesystem::path& file = context.request.file.path;
    DcfLineReader reader(file);
    DcfLine line;
    context.view.yield();
    // Every line is examined, the first one too: a file may begin with its
    // filer line. A file without any line cannot be read.
    if (!reader.next(line)) {
        throw std::runtime_error("Input past end of file: " + file.string() + " holds no line.");
    }
    do {
        ++run.recordCounter;
        if (!line.text.starts_with("FLR")) {
            continue;
        }
        const FilerLine filer = readFilerLine(line.text);
        KnownFiler known;
        context.useFiler(filer.id);
        if (!findFiler(context.db(), filer.id, known)) {
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
            context.cancelRequested = true;
            CancelImport(context);
            return false;
        }
    } while (reader.next(line));
    return true;
}

} // namespace dcf::app
