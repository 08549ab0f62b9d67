#include "host/desktop/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

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

QPoint cascade(const QRect& fitted, const QList<QPoint>& taken, const QRect& available) {
    constexpr int kStep = 26;
    // Near is as good as on it: a window manager's frame moves a window by a few pixels.
    const auto covers = [&taken](const QPoint& at) {
        return std::any_of(taken.begin(), taken.end(), [&at](const QPoint& other) {
            return std::abs(other.x() - at.x()) < kStep / 2 &&
                   std::abs(other.y() - at.y()) < kStep / 2;
        });
    };
    QPoint at = fitted.topLeft();
    for (int tries = 0; covers(at) && tries < 100; ++tries) {
        at += QPoint(kStep, kStep);
        if (at.x() + fitted.width() > available.right() + 1 ||
            at.y() + fitted.height() > available.bottom() + 1) {
            at = available.topLeft();
        }
    }
    return at;
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
    QScreen* screen = widget->screen() ? widget->screen() : QApplication::primaryScreen();
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
    const bool placed = widget->testAttribute(Qt::WA_Moved);
    QRect fitted =
        fitIntoScreen(inner, frame, screen->availableGeometry(), placed, widget->minimumSize());
    if (!placed) {  // two new message windows side by side, not one hiding the other
        // Where this filter put the windows still open: where a window really is comes
        // from the window manager, later, and frame and all.
        QList<QPoint> taken;
        std::erase_if(given_, [](const auto& g) { return !g.first || !g.first->isVisible(); });
        for (const auto& [window, at] : given_) {
            if (window != widget) {
                taken << at;
            }
        }
        fitted.moveTopLeft(
            cascade(fitted, taken, screen->availableGeometry().marginsRemoved(frame)));
        given_.emplace_back(widget, fitted.topLeft());
    }
    if (fitted.size() != inner.size()) {
        widget->resize(fitted.size());
    }
    if (fitted.topLeft() != inner.topLeft()) {
        widget->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));  // moves the frame
    }
    return false;
}

}  // namespace vantorel::host
