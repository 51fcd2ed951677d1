#pragma once

#include "dcf/control_names.h"
#include "run/view.h"

#include <array>
#include <string>

namespace dcf::app {

// The commands a run disables and gives back when it ends (Cancel does the
// opposite).
inline constexpr std::array<const char*, 6> kRunCommands = {control::cmdRun,     control::cmdExit,
                                                            control::cmdGetFile, control::mnuFile,
                                                            control::mnuSetup,   control::mnuAbout};

// Running: only Cancel answers; the log link and the times are hidden.
void showRunning(run::View& view);
// Every count label at "0", the error labels hidden, the waiting captions.
void showResetCounts(run::View& view, const std::string& fileName);
// Idle: the commands and menus back, Cancel off.
void showIdle(run::View& view, const std::string& fileName);
// Idle after a run that saved nothing.
void showStoppedWithoutSaving(run::View& view);

} // namespace dcf::app
