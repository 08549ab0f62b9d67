#include "platform/Help.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace vantorel::platform {

namespace {

class StandardErrorHelp : public HelpViewer {
public:
    void showContext(const QString& helpFile, int context) override {
        std::fprintf(stderr, "help %s context %d\n", qPrintable(helpFile), context);
    }
    void showTopic(const QString& helpFile) override {
        std::fprintf(stderr, "help %s\n", qPrintable(helpFile));
    }
};

std::shared_ptr<HelpViewer>& installed() {
    static std::shared_ptr<HelpViewer> viewer = std::make_shared<StandardErrorHelp>();
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
    installed() = viewer ? std::move(viewer) : std::make_shared<StandardErrorHelp>();
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
