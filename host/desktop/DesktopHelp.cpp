#include "host/desktop/DesktopHelp.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantorel::host {

void DesktopHelp::showContext(const QString& helpFile, int context) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(platform::helpPagePath(helpFile, context)));
}

void DesktopHelp::showTopic(const QString& helpFile) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(platform::helpPagePath(helpFile)));
}

}  // namespace vantorel::host
