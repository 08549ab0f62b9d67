#pragma once

// The add-in's dialogs inside the mail client: while one is open it belongs to the
// client's window (platform::clientWindow()), stays in front of it and keeps it from
// taking input, as the client's own dialogs do. Without a client window a dialog is a
// window of its own, as before.

#include "platform/ClientWindow.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace vantorel {

class ClientOwned : public QObject {
public:
    explicit ClientOwned(QWidget& dialog);
    ~ClientOwned() override;

protected:
    // Qt leaves a window it does not know (the client's) out of a dialog's owners: the
    // owner is set again each time the dialog has shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void own();

    QPointer<QWidget> dialog_;
    platform::NativeWindow client_ = 0;
    std::unique_ptr<platform::WindowBlock> block_;
};

// Runs DIALOG modally (platform::runModal) as a dialog of the client's window.
int RunOwnedModal(QWidget& dialog);

}  // namespace vantorel
