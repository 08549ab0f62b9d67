#include "host/desktop/DesktopServices.h"

#include "forms/QtPrompts.h"
#include "host/desktop/DesktopHelp.h"
#include "host/desktop/DesktopSound.h"
#include "host/desktop/DesktopUrlOpener.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"

namespace vantorel::host {

DesktopServices::DesktopServices(std::shared_ptr<platform::Clock> clock) {
    platform::installClock(std::move(clock));
    platform::installPrompts(std::make_shared<QtPrompts>());
    platform::installHelpViewer(std::make_shared<DesktopHelp>());
    platform::installSoundPlayer(desktopSoundPlayer());
    platform::installUrlOpener(std::make_shared<DesktopUrlOpener>());
}

DesktopServices::~DesktopServices() {
    // In the reverse order; each installer takes null for the platform's own.
    platform::installUrlOpener(nullptr);
    platform::installSoundPlayer(nullptr);
    platform::installHelpViewer(nullptr);
    platform::installPrompts(nullptr);
    platform::installClock(nullptr);
}

}  // namespace vantorel::host
