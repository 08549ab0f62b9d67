#pragma once

// Web addresses open in the desktop's browser.

#include "platform/ShellOpen.h"

namespace vantorel::host {

class DesktopUrlOpener : public platform::UrlOpener {
public:
    void openUrl(const QString& url) override;
};

}  // namespace vantorel::host
