#include "host/desktop/DesktopHelp.h"

namespace vantorel::host {

void DesktopHelp::showContext(const QString& helpFile, int context) {
    openPage(QUrl::fromLocalFile(platform::helpPagePath(helpFile, context)), launch_);
}

void DesktopHelp::showTopic(const QString& helpFile) {
    openPage(QUrl::fromLocalFile(platform::helpPagePath(helpFile)), launch_);
}

}  // namespace vantorel::host
