#pragma once

// The standard message dialog of the add-in's windows: an icon, the message and a
// single OK button (the default button) below them, centred on the screen. Laid out
// absolutely in pixels at 96 dots per inch:
//
//   - the icon, 32 x 32, at (12, 12);
//   - the message label "lblMessage" at (56, 12), as large as the text needs, lines
//     wrapped at half the screen's width;
//   - the button "btnOK" 16 pixels below the icon or the text, whichever ends lower,
//     centred, 12 pixels above the bottom edge;
//   - 12 pixels of client area right of the text.
//
// Object names: "imgIcon", "lblMessage", "btnOK".

#include "platform/Prompts.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace vantorel {

// Not shown; owned by the caller. The message may break its lines with CR, LF or CR LF.
std::unique_ptr<QDialog> CreateMessageDialog(const QString& sMessage, platform::MessageIcon oIcon,
                                             const QString& sCaption);

// Moves WINDOW, at its current size, to the centre of the primary screen.
void CentreOnScreen(QWidget& window);

}  // namespace vantorel
