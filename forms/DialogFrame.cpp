#include "forms/DialogFrame.h"

#include <algorithm>

#include "forms/ReminderOptionsControls.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace vantorel {

void SetFixedDialogFrame(QDialog& dialog, const QString& sCaption, QSize clientSize) {
    dialog.setWindowTitle(sCaption);
    dialog.setFont(DesignFont());
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(clientSize);
}

void FitToCaption(QWidget& control) {
    const int width = std::max(control.width(), control.sizeHint().width());
    control.resize(width, control.height());
}

void PlaceRightOf(QWidget& control, const QWidget& left, int gap) {
    const int start = left.geometry().right() + 1 + gap;
    if (control.x() >= start) {
        return;
    }
    QRect r = control.geometry();
    r.setLeft(start);
    control.setGeometry(r);
}

QPushButton* CreateButton(QWidget& parent, const char* name, const QString& sCaption,
                          const QRect& geometry) {
    auto* button = MakeControl<QPushButton>(parent, name, geometry);
    button->setText(sCaption);
    return button;
}

bool HandleHelpAndCancelKeys(QKeyEvent& event, const std::function<void()>& help,
                             QAbstractButton* cancel) {
    if (event.key() == Qt::Key_F1) {
        help();
    } else if (event.key() == Qt::Key_Escape && cancel != nullptr) {
        cancel->click();
    } else {
        return false;
    }
    event.accept();
    return true;
}

}  // namespace vantorel
