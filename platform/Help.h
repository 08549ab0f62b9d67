#pragma once

// The help command of every form: the help file at HelpFilePath opened at a context
// number or at its default page. The desktop host shows the help pages shipped
// beside the add-in; scripts print what was asked.

#include <QString>

#include <memory>

namespace vantorel::platform {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContext(const QString& helpFile, int context) = 0;
    virtual void showTopic(const QString& helpFile) = 0;
};

// Through the installed viewer; with none installed (or null) the system's shows the
// page (SystemServices.h: the shell on Windows, standard error elsewhere).
void HtmlHelpContext(const QString& helpFile, int context);
void HtmlHelpTopic(const QString& helpFile);
void installHelpViewer(std::shared_ptr<HelpViewer> viewer);

// The page for a help request: FOLDER/help/context-N.html for a context (when that
// page exists), else FOLDER/help/index.html, FOLDER being the help file's folder.
QString helpPagePath(const QString& helpFile, int context = -1);

}  // namespace vantorel::platform
