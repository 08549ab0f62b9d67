#include "platform/ShellOpen.h"

#include "platform/SystemServices.h"

namespace vantorel::platform {

namespace {
std::shared_ptr<UrlOpener>& installed() {
    static std::shared_ptr<UrlOpener> opener = systemUrlOpener();
    return opener;
}
}  // namespace

void ShellOpenUrl(const QString& url) {
    const std::shared_ptr<UrlOpener> opener = installed();
    opener->openUrl(url);
}

void installUrlOpener(std::shared_ptr<UrlOpener> opener) {
    installed() = opener ? std::move(opener) : systemUrlOpener();
}

}  // namespace vantorel::platform
