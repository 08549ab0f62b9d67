#pragma once

// The reminder sound on the desktop. On Linux the wave file plays through Qt
// Multimedia while the mail client goes on; Windows plays it itself (the platform
// layer's own player), so there is nothing to install (host/linux/, host/windows/).

namespace vantorel::host {

void installDesktopSound();

}  // namespace vantorel::host
