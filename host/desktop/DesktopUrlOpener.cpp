#include "host/desktop/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantorel::host {

void DesktopUrlOpener::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

}  // namespace vantorel::host
