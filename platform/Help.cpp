#include "platform/Help.h"

#include "platform/SystemServices.h"

#include <QDir>
#include <QFileInfo>

namespace vantorel::platform {

namespace {

std::shared_ptr<HelpViewer>& installed() {
    static std::shared_ptr<HelpViewer> viewer = systemHelpViewer();
    return viewer;
}

}  // namespace

void HtmlHelpContext(const QString& helpFile, int context) {
    installed()->showContext(helpFile, context);
}

void HtmlHelpTopic(const QString& helpFile) {
    installed()->showTopic(helpFile);
}

void installHelpViewer(std::shared_ptr<HelpViewer> viewer) {
    installed() = viewer ? std::move(viewer) : systemHelpViewer();
}

QString helpPagePath(const QString& helpFile, int context) {
    const QDir folder(QFileInfo(helpFile).absoluteDir().filePath(QStringLiteral("help")));
    if (context >= 0) {
        const QString page = folder.filePath(QStringLiteral("context-%1.html").arg(context));
        if (QFileInfo::exists(page)) {
            return page;
        }
    }
    return folder.filePath(QStringLiteral("index.html"));
}

}  // namespace vantorel::platform
