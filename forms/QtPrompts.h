#pragma once

// The desktop's prompts layer: every message box of the add-in as a real, modal Qt
// dialog. The desktop host installs it (platform::installPrompts).
//
// - A box with a check box and OK: the dialog of forms/DontShowAgain.h; its check
//   box is read once the dialog has closed, however it was closed.
// - Any other box: a QMessageBox with the request's icon (Confirmation shows the
//   question icon) and buttons. OK is the default; for Yes/No, Yes is the default
//   and Esc or the close box answer No.
// The caption is the request's, or "Vantorel" when it has none.

#include "platform/Prompts.h"

namespace vantorel {

class QtPrompts : public platform::Prompts {
public:
    platform::MessageReply show(const platform::MessageRequest& request) override;
};

}  // namespace vantorel
