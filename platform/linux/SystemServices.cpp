// On Linux the desktop host installs its own players; without one the sound is
// silent and web addresses and help requests go to standard error.

#include "platform/SystemServices.h"

#include <cstdio>

namespace vantorel::platform {

namespace {

class StandardErrorUrls : public UrlOpener {
public:
    void openUrl(const QString& url) override {
        std::fprintf(stderr, "open url \"%s\"\n", qPrintable(url));
    }
};

class StandardErrorHelp : public HelpViewer {
public:
    void showContext(const QString& helpFile, int context) override {
        std::fprintf(stderr, "help %s context %d\n", qPrintable(helpFile), context);
    }
    void showTopic(const QString& helpFile) override {
        std::fprintf(stderr, "help %s\n", qPrintable(helpFile));
    }
};

}  // namespace

std::shared_ptr<SoundPlayer> systemSoundPlayer() {
    return nullptr;
}

std::shared_ptr<UrlOpener> systemUrlOpener() {
    return std::make_shared<StandardErrorUrls>();
}

std::shared_ptr<HelpViewer> systemHelpViewer() {
    return std::make_shared<StandardErrorHelp>();
}

}  // namespace vantorel::platform
