#pragma once

// Help in the desktop: the page for the request, opened in the person's browser (or
// named in a message box when no browser can be started).

#include "host/desktop/DesktopUrlOpener.h"
#include "platform/Help.h"

namespace vantorel::host {

class DesktopHelp : public platform::HelpViewer {
public:
    explicit DesktopHelp(PageLauncher launch = desktopLauncher()) : launch_(std::move(launch)) {}
    void showContext(const QString& helpFile, int context) override;
    void showTopic(const QString& helpFile) override;

private:
    PageLauncher launch_;
};

}  // namespace vantorel::host
