#include "app/start_up.h"

#include "app/program_folders.h"
#include "db/error.h"

namespace dcf::app {

std::string cannotOpenDatabaseText(const std::string& target, const std::string& driverMessage) {
    return "The filing database could not be opened (" + target + ").\n\n" + driverMessage +
           "\n\nCheck that the data source exists and that its database can be reached "
           "(scripts/create-database sets up the default data source qorvex), then start the "
           "program again.";
}

StartUpResult startUp(InstanceLock& lock, StartUpUi& ui, run::RunRequest& request,
                      const std::string& target, const std::filesystem::path& programFolder) {
    StartUpResult result;
    if (!lock.tryLock()) {
        ui.showAlreadyRunning();
        result.outcome = StartUpResult::Outcome::AlreadyRunning;
        return result;
    }
    request.logsFolder = chooseLogsFolder(programFolder);
    try {
        result.connection = db::Connection::open(target);
    } catch (const db::DbError& error) {
        ui.showCannotOpenDatabase(cannotOpenDatabaseText(target, error.message()));
        result.outcome = StartUpResult::Outcome::DatabaseUnavailable;
    }
    return result;
}

} // namespace dcf::app
