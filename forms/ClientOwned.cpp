#include "forms/ClientOwned.h"

#include "platform/Modal.h"

#include <QEvent>

namespace vantorel {

ClientOwned::ClientOwned(QWidget& dialog) : dialog_(&dialog), client_(platform::clientWindow()) {
    if (client_ == 0) {
        return;
    }
    own();
    dialog.installEventFilter(this);
    block_ = std::make_unique<platform::WindowBlock>(client_);
}

ClientOwned::~ClientOwned() {
    // The client's window takes input again before the dialog goes.
    block_.reset();
    if (dialog_ != nullptr && client_ != 0) {
        dialog_->removeEventFilter(this);
        if (dialog_->testAttribute(Qt::WA_WState_Created)) {
            platform::setWindowOwner(static_cast<platform::NativeWindow>(dialog_->winId()), 0);
        }
    }
}

void ClientOwned::own() {
    // The dialog's native window, made now if need be.
    platform::setWindowOwner(static_cast<platform::NativeWindow>(dialog_->winId()), client_);
}

bool ClientOwned::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Show) {
        // Qt settles the owner of a window it shows after the show event: once it has,
        // the client's window becomes the owner.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (dialog_ != nullptr && dialog_->isVisible()) {
                    own();
                }
            },
            Qt::QueuedConnection);
    }
    return false;
}

int RunOwnedModal(QWidget& dialog) {
    const ClientOwned owned(dialog);
    return platform::runModal(dialog);
}

}  // namespace vantorel
