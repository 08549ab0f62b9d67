#pragma once

// A notice that the user can silence for good: an information box with OK and the
// check box "Do not show me this dialog again" at its bottom left.

#include "platform/Prompts.h"
#include "tools/DontShowAgain.h"

#include <QCheckBox>
#include <QDialog>
#include <QString>

#include <memory>

namespace vantorel {

// The dialog for sMessage, not yet shown, owned by the caller; *chkDontShowAgain (when
// given) receives its check box. Built from the standard message dialog
// (forms/MessageDialog.h) with the information icon and OK:
//   - the client area 32 pixels wider, the dialog centred on the screen;
//   - "btnOK" 16 pixels from the right and the bottom edge;
//   - the check box "chkDontShowAgain" at left 16, 16 pixels from the bottom edge (level
//     with the button), 10 pixels higher than its font's line height, as wide as the
//     space up to 32 pixels before the button;
//   - the message 8 pixels further right; the caption "Vantorel". The height stays.
// Should the check box's caption not fit that width (a very short message), the client
// area grows wider until it fits.
std::unique_ptr<QDialog> CreateDontShowAgainDialog(const QString& sMessage,
                                                   QCheckBox** chkDontShowAgain = nullptr);

// The same layout for any icon, caption and check box caption and state: the desktop
// prompts layer builds its boxes with a check box this way.
std::unique_ptr<QDialog> CreateCheckBoxMessageDialog(const QString& sMessage,
                                                     platform::MessageIcon oIcon,
                                                     const QString& sCaption,
                                                     const QString& sCheckBoxText, bool bChecked,
                                                     QCheckBox** chkCheckBox);

}  // namespace vantorel
