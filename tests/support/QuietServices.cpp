#include "tests/support/QuietServices.h"

#include "platform/Help.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"

#include <cstdio>
#include <memory>

namespace vantorel::test {

namespace {

class Quiet : public platform::SoundPlayer,
              public platform::UrlOpener,
              public platform::HelpViewer {
public:
    void playWave(const QString&) override {}
    void openUrl(const QString& url) override {
        std::fprintf(stderr, "open url \"%s\"\n", qPrintable(url));
    }
    void showContext(const QString& helpFile, int context) override {
        std::fprintf(stderr, "help %s context %d\n", qPrintable(helpFile), context);
    }
    void showTopic(const QString& helpFile) override {
        std::fprintf(stderr, "help %s\n", qPrintable(helpFile));
    }
};

}  // namespace

void installQuietServices() {
    const auto quiet = std::make_shared<Quiet>();
    platform::installSoundPlayer(quiet);
    platform::installUrlOpener(quiet);
    platform::installHelpViewer(quiet);
}

}  // namespace vantorel::test
