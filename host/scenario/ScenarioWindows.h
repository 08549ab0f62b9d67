#pragma once

// Windows in scripts: a modal dialog is shown and the script goes on inside it until
// the dialog closes; help requests print as transcript lines.

#include "platform/Help.h"
#include "platform/Modal.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"

#include <QPointer>
#include <QTextStream>
#include <QWidget>

#include <functional>
#include <vector>

namespace vantorel::host {

class ScenarioWindows : public platform::ModalRunner,
                        public platform::HelpViewer,
                        public platform::SoundPlayer,
                        public platform::UrlOpener {
public:
    // RUNUNTIL runs script commands until its argument holds.
    ScenarioWindows(QTextStream& out, std::function<void(const std::function<bool()>&)> runUntil,
                    std::function<QString()> addInFolder);

    int runModal(QObject& dialog) override;
    void showContext(const QString& helpFile, int context) override;
    void showTopic(const QString& helpFile) override;
    // Prints `sound "PATH"`, PATH relative to the program's folder when it lies there.
    void playWave(const QString& path) override;
    // Prints `open url "URL"`.
    void openUrl(const QString& url) override;

    // The innermost open modal dialog; null when none is open. While one is, a person
    // can reach no other window.
    QWidget* openModal() const;

    // The window that `ui` commands act on: the innermost open modal dialog, else the
    // add-in's visible window; null when there is none.
    QWidget* activeWindow() const;

private:
    QString shownPath(const QString& helpFile) const;

    QTextStream& out_;
    std::function<void(const std::function<bool()>&)> runUntil_;
    std::function<QString()> addInFolder_;
    std::vector<QPointer<QWidget>> modals_;
};

// Acts on the control named NAME of WINDOW as a person would: click, set TEXT (then
// the focus leaves the control), check, uncheck, select TEXT, key NAME, caret POS
// [LEN]. Throws std::invalid_argument for what a person could not do.
void actOnControl(QWidget& window, const QString& name, const QString& action,
                  const QStringList& values);

// Selects exactly the entries at POSITIONS (from 1) of the list view NAME of WINDOW, as
// a person's clicks would. Throws std::invalid_argument for a list or position that
// is not there.
void selectListEntries(QWidget& window, const QString& name, const QList<int>& positions);

}  // namespace vantorel::host
