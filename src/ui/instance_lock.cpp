#include "instance_lock.h"

#include <QDir>
#include <QStandardPaths>

namespace dcf::ui {

QtInstanceLock::QtInstanceLock(const QString& lockFilePath)
    : lock_(std::make_unique<QLockFile>(lockFilePath)) {
    // Only a lock whose process is gone is stale, however old it is.
    lock_->setStaleLockTime(0);
}

bool QtInstanceLock::tryLock() {
    return lock_->tryLock(0);
}

QString QtInstanceLock::defaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("dcfconvert.lock"));
}

} // namespace dcf::ui
