#pragma once

// Modal windows go through this layer: the desktop runs the dialog's own modal loop;
// the scenario runner shows the dialog and goes on reading the script inside it
// until the dialog closes. Either way the caller gets the dialog's result.

#include <QObject>

#include <memory>

namespace vantorel::platform {

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows DIALOG (a QDialog) modally; returns its result when it has closed.
    virtual int runModal(QObject& dialog) = 0;
};

// Through the installed runner; until one is installed, the dialog's exec().
int runModal(QObject& dialog);
void installModalRunner(std::shared_ptr<ModalRunner> runner);

}  // namespace vantorel::platform
