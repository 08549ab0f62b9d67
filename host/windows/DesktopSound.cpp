#include "host/desktop/DesktopSound.h"

namespace vantorel::host {

std::shared_ptr<platform::SoundPlayer> desktopSoundPlayer() {
    return nullptr;  // the system plays the wave file: the platform layer's own player
}

}  // namespace vantorel::host
