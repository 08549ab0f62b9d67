#pragma once

// A notice that the user can silence for good: an information box with OK and the
// check box "Do not show me this dialog again", through the prompts layer (the
// desktop builds it with forms/DontShowAgain.h).

#include "platform/Prompts.h"

#include <QString>

namespace vantorel {

inline const QString DontShowAgainText = QStringLiteral("Do not &show me this dialog again");

// Shows sMessage with the check box (captioned "Vantorel", information icon, OK) and
// waits until it has been closed, however that happened. *bChecked (when given) :=
// the check box's state then. Returns the answer (OK).
platform::MessageAnswer ShowMessageWithDontShowAgain(const QString& sMessage,
                                                     bool* bChecked = nullptr);

}  // namespace vantorel
