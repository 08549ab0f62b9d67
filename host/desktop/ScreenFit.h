#pragma once

// Every window the desktop opens fits into the available area of its screen (at
// 150 % a window laid out for 96 dpi may be larger than the screen), and one that
// nobody placed opens in the middle of that area instead of partly off it.

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <utility>
#include <vector>

namespace vantorel::host {

// Where a window with the client area WINDOW and the window manager's FRAME around
// it goes in AVAILABLE: no larger than the area (but not below MINIMUM), inside it,
// centred when PLACED is false.
QRect fitIntoScreen(const QRect& window, const QMargins& frame, const QRect& available, bool placed,
                    const QSize& minimum = {});

// Where a window nobody placed goes when the window at FITTED would cover one of
// the windows at TAKEN (or nearly so): down and to the right by a title bar's height per
// window in its way, back to the top left of AVAILABLE when that runs out of it.
QPoint cascade(const QRect& fitted, const QList<QPoint>& taken, const QRect& available);

// Fits each window of the application into its screen as it is shown.
class ScreenFitter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The windows nobody placed that this filter has placed, and where.
    std::vector<std::pair<QPointer<QWidget>, QPoint>> given_;
};

}  // namespace vantorel::host
