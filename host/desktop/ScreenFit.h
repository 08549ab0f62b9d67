#pragma once

// Every window the desktop opens fits into the available area of its screen (at
// 150 % a window laid out for 96 dpi may be larger than the screen), and one that
// nobody placed opens in the middle of that area instead of partly off it.

#include <QMargins>
#include <QObject>
#include <QRect>

namespace vantorel::host {

// Where a window with the client area WINDOW and the window manager's FRAME around
// it goes in AVAILABLE: no larger than the area (but not below MINIMUM), inside it,
// centred when PLACED is false.
QRect fitIntoScreen(const QRect& window, const QMargins& frame, const QRect& available, bool placed,
                    const QSize& minimum = {});

// Fits each window of the application into its screen as it is shown.
class ScreenFitter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vantorel::host
