#include "host/desktop/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vantorel::host {

namespace {
// The title bar and borders a window manager adds, while the window has none yet.
constexpr QMargins kUsualFrame(4, 30, 4, 4);
}  // namespace

QRect fitIntoScreen(const QRect& window, const QMargins& frame, const QRect& available, bool placed,
                    const QSize& minimum) {
    const QRect area = available.marginsRemoved(frame);
    const QSize size = window.size().boundedTo(area.size()).expandedTo(minimum);
    QPoint at = placed ? window.topLeft()
                       : area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                                 (area.height() - size.height()) / 2);
    // Inside the area; a window larger than it (a fixed size) keeps its top left in.
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    return {at, size};
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    if (!widget->isWindow() || (type != Qt::Window && type != Qt::Dialog)) {
        return false;
    }
    QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return false;
    }
    const QRect frameRect = widget->frameGeometry();
    const QRect inner = widget->geometry();
    QMargins frame(inner.left() - frameRect.left(), inner.top() - frameRect.top(),
                   frameRect.right() - inner.right(), frameRect.bottom() - inner.bottom());
    if (frame.isNull()) {
        frame = kUsualFrame;
    }
    const QRect fitted = fitIntoScreen(inner, frame, screen->availableGeometry(),
                                       widget->testAttribute(Qt::WA_Moved), widget->minimumSize());
    if (fitted.size() != inner.size()) {
        widget->resize(fitted.size());
    }
    if (fitted.topLeft() != inner.topLeft()) {
        widget->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));  // moves the frame
    }
    return false;
}

}  // namespace vantorel::host
