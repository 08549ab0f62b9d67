#pragma once

// The reminder sound on the desktop. On Linux the wave file plays through Qt
// Multimedia while the mail client goes on; Windows plays it itself (the platform
// layer's own player), so there is no player of the desktop's own (host/linux/,
// host/windows/).

#include "platform/Sound.h"

#include <memory>

namespace vantorel::host {

// The desktop's player of the reminder sound, or null where the system's plays it.
// A Qt Multimedia player is destroyed while the QApplication still runs (its sample
// cache goes with the application): DesktopServices keeps it.
std::shared_ptr<platform::SoundPlayer> desktopSoundPlayer();

}  // namespace vantorel::host
