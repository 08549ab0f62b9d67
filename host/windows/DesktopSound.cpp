#include "host/desktop/DesktopSound.h"

namespace vantorel::host {

void installDesktopSound() {
    // The system plays the wave file: the platform layer's own player stays.
}

}  // namespace vantorel::host
