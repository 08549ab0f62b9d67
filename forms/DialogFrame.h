#pragma once

// What the add-in's dialogs share: the fixed frame they are designed in, named push
// buttons at design positions, and the keys every dialog answers alike (F1 for its
// help, Esc for its cancel button).

#include <QDialog>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QAbstractButton;
class QKeyEvent;

namespace vantorel {

// The design font, a dialog frame with the system menu and close box only, and the
// fixed client size.
void SetFixedDialogFrame(QDialog& dialog, const QString& sCaption, QSize clientSize);

// A control of kind T named NAME on PARENT at its design position.
template <typename T>
T* MakeControl(QWidget& parent, const char* name, const QRect& geometry) {
    auto* control = new T(&parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// Widens CONTROL (a check box, a radio button, a label) to the width its caption
// takes in its font at the scale it is shown in, never below its design width: a
// caption is never cut by a box designed for another font.
void FitToCaption(QWidget& control);

// Moves CONTROL right so that it starts GAP pixels after LEFT ends, when LEFT reaches
// closer than that; its right edge stays where it was designed.
void PlaceRightOf(QWidget& control, const QWidget& left, int gap);

// A push button named NAME on PARENT at its design position.
QPushButton* CreateButton(QWidget& parent, const char* name, const QString& sCaption,
                          const QRect& geometry);

// F1 runs HELP; Esc clicks CANCEL (when given). True when the key was one of these and
// has been handled.
bool HandleHelpAndCancelKeys(QKeyEvent& event, const std::function<void()>& help,
                             QAbstractButton* cancel);

}  // namespace vantorel
