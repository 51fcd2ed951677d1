#pragma once

#include "app/start_up.h"

namespace dcf::ui {

// Start-up's messages as message boxes, shown before any window.
class QtStartUpUi final : public app::StartUpUi {
public:
    void showAlreadyRunning() override;
    void showCannotOpenDatabase(const std::string& text) override;
};

} // namespace dcf::ui
