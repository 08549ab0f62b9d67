#pragma once

// The desktop's event handlers run their work through guarded(): no exception leaves
// a handler into Qt's event loop; a failure goes to the mail client's error path.

#include "host/MailClient.h"

#include <exception>

namespace vantorel::host {

template <class Work>
void guarded(MailClient& client, Work&& work) noexcept {
    try {
        work();
    } catch (const std::exception& e) {
        client.ErrorSuppressed(QString::fromUtf8(e.what()));
    }
}

}  // namespace vantorel::host
