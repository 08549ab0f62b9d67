#pragma once

// Help in the desktop: the page for the request, opened in the person's browser.

#include "platform/Help.h"

namespace vantorel::host {

class DesktopHelp : public platform::HelpViewer {
public:
    void showContext(const QString& helpFile, int context) override;
    void showTopic(const QString& helpFile) override;
};

}  // namespace vantorel::host
