#pragma once

// Modal dialogs and help requests in tests: a modal dialog is shown and handed to the
// test's action, which plays the person; help requests are recorded. Installed while
// the object lives.

#include "platform/Help.h"
#include "platform/Modal.h"
#include "tests/support/QuietServices.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vantorel::test {

class ScriptedWindows : public platform::ModalRunner, public platform::HelpViewer {
public:
    // What the person does in the next modal dialog. A dialog still open afterwards
    // is closed with its close box.
    std::function<void(QDialog&)> person;
    int shownCount = 0;
    std::vector<std::pair<QString, int>> helpShown;  // file, context (-1: topic)

    int runModal(QObject& object) override {
        auto* dialog = qobject_cast<QDialog*>(&object);
        if (dialog == nullptr) {
            throw std::logic_error("runModal needs a dialog");
        }
        ++shownCount;
        dialog->setResult(0);
        dialog->show();
        const QPointer<QDialog> guard(dialog);
        if (person) {
            person(*dialog);
        }
        if (!guard.isNull() && guard->isVisible()) {
            guard->close();
        }
        return guard.isNull() ? 0 : guard->result();
    }
    void showContext(const QString& helpFile, int context) override {
        helpShown.emplace_back(helpFile, context);
    }
    void showTopic(const QString& helpFile) override { helpShown.emplace_back(helpFile, -1); }
};

class WindowsScope {
public:
    WindowsScope() : windows(std::make_shared<ScriptedWindows>()) {
        platform::installModalRunner(windows);
        platform::installHelpViewer(windows);
    }
    ~WindowsScope() {
        platform::installModalRunner(nullptr);
        installQuietServices();
    }
    ScriptedWindows* operator->() { return windows.get(); }
    std::shared_ptr<ScriptedWindows> windows;
};

}  // namespace vantorel::test
