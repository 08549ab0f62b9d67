#pragma once

// What the desktop puts into the platform layer for the add-in and its windows: the
// clock, the message boxes, the help pages, the reminder sound and the web pages. They
// are installed while a DesktopServices lives, and given back to the platform's own
// when it goes. The desktop keeps it inside the QApplication's lifetime, so none of
// them (the sound's Qt Multimedia player above all) is destroyed after the
// application, when the process's statics go.

#include "platform/Clock.h"

#include <memory>

namespace vantorel::host {

class DesktopServices {
public:
    explicit DesktopServices(std::shared_ptr<platform::Clock> clock);
    ~DesktopServices();
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;
};

}  // namespace vantorel::host
