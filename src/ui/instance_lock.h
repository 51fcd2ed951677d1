#pragma once

#include "app/start_up.h"

#include <QLockFile>
#include <memory>

namespace dcf::ui {

// One running copy per user: a lock file in the user's runtime folder. A
// lock left by a copy that crashed is taken over (its process is gone).
class QtInstanceLock final : public app::InstanceLock {
public:
    explicit QtInstanceLock(const QString& lockFilePath = defaultPath());
    bool tryLock() override;
    static QString defaultPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace dcf::ui
