#pragma once

// Web addresses and help pages open in the desktop's browser; where no browser can be
// started, a message box tells the person where the page is.

#include "platform/ShellOpen.h"

#include <QUrl>

#include <functional>

namespace vantorel::host {

// Opens a page with the desktop's launcher; false when none could open it.
using PageLauncher = std::function<bool(const QUrl&)>;
PageLauncher desktopLauncher();

// Opens URL with LAUNCH; when that fails, tells where the page is (its path for a file).
void openPage(const QUrl& url, const PageLauncher& launch);

class DesktopUrlOpener : public platform::UrlOpener {
public:
    explicit DesktopUrlOpener(PageLauncher launch = desktopLauncher())
        : launch_(std::move(launch)) {}
    void openUrl(const QString& url) override;

private:
    PageLauncher launch_;
};

}  // namespace vantorel::host
