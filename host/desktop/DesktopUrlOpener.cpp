#include "host/desktop/DesktopUrlOpener.h"

#include "platform/Prompts.h"

#include <QDesktopServices>

namespace vantorel::host {

PageLauncher desktopLauncher() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

void openPage(const QUrl& url, const PageLauncher& launch) {
    if (launch(url)) {
        return;
    }
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    platform::showMessage(
        QStringLiteral("No web browser could be started to show the page. Open it yourself:\n\n%1")
            .arg(where),
        platform::MessageIcon::Information);
}

void DesktopUrlOpener::openUrl(const QString& url) {
    openPage(QUrl(url), launch_);
}

}  // namespace vantorel::host
