#include "platform/ShellOpen.h"

#include <cstdio>

namespace vantorel::platform {

namespace {
std::shared_ptr<UrlOpener>& installed() {
    static std::shared_ptr<UrlOpener> opener;
    return opener;
}
}  // namespace

void ShellOpenUrl(const QString& url) {
    if (const std::shared_ptr<UrlOpener> opener = installed()) {
        opener->openUrl(url);
    } else {
        std::fprintf(stderr, "open url \"%s\"\n", qPrintable(url));
    }
}

void installUrlOpener(std::shared_ptr<UrlOpener> opener) {
    installed() = std::move(opener);
}

}  // namespace vantorel::platform
