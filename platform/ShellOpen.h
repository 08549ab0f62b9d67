#pragma once

// The shell's "open" action on a web address: the desktop host opens the browser;
// scripts print what was asked.

#include <QString>

#include <memory>

namespace vantorel::platform {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const QString& url) = 0;
};

// Through the installed opener; with none installed (or null) the system's opens it
// (SystemServices.h: the shell on Windows, standard error elsewhere).
void ShellOpenUrl(const QString& url);
void installUrlOpener(std::shared_ptr<UrlOpener> opener);

}  // namespace vantorel::platform
