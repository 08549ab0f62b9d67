#pragma once

// What the system does itself for the reminder sound, web addresses and help pages
// when the host installed nothing: on Windows the shell's own (PlaySoundW,
// ShellExecuteW), elsewhere nothing is played and requests go to standard error.
// One file per system: linux/SystemServices.cpp, windows/SystemServices.cpp.

#include "platform/Help.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"

#include <memory>

namespace vantorel::platform {

// Null when the system plays no sound by itself.
std::shared_ptr<SoundPlayer> systemSoundPlayer();
std::shared_ptr<UrlOpener> systemUrlOpener();
std::shared_ptr<HelpViewer> systemHelpViewer();

}  // namespace vantorel::platform
