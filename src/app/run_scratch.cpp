#include "app/run_scratch.h"

#include "app/scratch_folders.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace dcf::app {
namespace {

void createPrivateFile(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        throw std::runtime_error("Cannot create " + file.string() + ": " + std::strerror(errno));
    }
    ::close(descriptor);
}

} // namespace

RunScratch::RunScratch(run::RunContext& context) : context_(context) {
    if (context.target.dialect() != db::Dialect::PostgreSQL) {
        return;
    }
    // Folders that killed runs left behind would otherwise fill the
    // temporary folder, one scratch database at a time.
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    removeAbandonedScratchFolders(temporary);
    const ScratchFolder made = makeScratchFolder(temporary);
    folder_ = made.path;
    lockDescriptor_ = made.lockDescriptor;
    try {
        open();
        copy_ = std::make_unique<ServerCopy>(context.target, *connection_);
    } catch (...) {
        copy_.reset();
        connection_.reset();
        removeFolder();
        throw;
    }
    context_.scratch = connection_.get();
    context_.server = copy_.get();
}

void RunScratch::open() {
    const std::filesystem::path file = folder_ / "scratch.db";
    createPrivateFile(file);
    connection_ = db::Connection::openSqliteFile(file);
    // Nothing of it outlives the run: it need not survive a crash.
    connection_->executeScript("pragma journal_mode = memory; pragma synchronous = off;");
    connection_->begin();
}

RunScratch::~RunScratch() {
    if (connection_ == nullptr) {
        return;
    }
    context_.scratch = nullptr;
    context_.server = nullptr;
    copy_.reset();
    connection_.reset();
    removeFolder();
}

void RunScratch::removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    ::close(lockDescriptor_);
    lockDescriptor_ = -1;
}

} // namespace dcf::app
