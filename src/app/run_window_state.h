#pragma once

#include "app/view.h"

#include <string>

namespace dcf::app {

// Running: only Cancel answers; the log link and finish time are hidden.
void showRunning(View& view);
// Every count label at "0", the error labels hidden, the waiting captions.
void showResetCounts(View& view, const std::string& fileName);
// Idle: the commands and menus back, Cancel off.
void showIdle(View& view, const std::string& fileName);
// Idle after a run that saved nothing.
void showStoppedWithoutSaving(View& view);

} // namespace dcf::app
