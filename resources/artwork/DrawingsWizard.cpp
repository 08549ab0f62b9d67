// The pictures of the quick start wizard.
//
// Each picture fills a box that is wider than high, while every image resource is
// square: a picture is drawn in the band of the square that has its box's shape,
// centred from top to bottom, and the wizard shows that band. Inside the band the
// drawing works in the box's design pixels (for instance 280 x 129).

#include "resources/artwork/Drawings.h"
#include "resources/artwork/Kit.h"

#include <QPainterPath>

namespace vantorel::artwork {

namespace {

// Sets P to draw in a box of W x H design pixels in the middle band of the square.
void enterBand(QPainter& p, qreal w, qreal h) {
    const qreal unit = 100.0 / w;
    p.translate(0, (100.0 - h * unit) / 2);
    p.scale(unit, unit);
}

// A line of text, as a rounded grey bar.
void textBar(QPainter& p, qreal x, qreal y, qreal w, const QColor& color = kGrey,
             qreal thickness = 3) {
    p.setPen(outline(color, thickness));
    p.drawLine(QPointF(x, y), QPointF(x + w, y));
}

// A window with a title bar; returns the client area.
QRectF windowFrame(QPainter& p, const QRectF& r, const QColor& titleColor) {
    fillAndStroke(p, roundedRect(r, 4), kPaper, kSlate, 1.5);
    QPainterPath title;
    title.addRoundedRect(QRectF(r.left(), r.top(), r.width(), 14), 4, 4);
    title.addRect(QRectF(r.left(), r.top() + 8, r.width(), 6));
    p.setPen(Qt::NoPen);
    p.setBrush(titleColor);
    p.drawPath(title.simplified());
    p.setPen(outline(kSlate, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedRect(r, 4));
    // The three window buttons.
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(r.right() - 9 - i * 9, r.top() + 7), 2.5, 2.5);
    }
    return QRectF(r.left(), r.top() + 14, r.width(), r.height() - 14);
}

// A closed envelope.
void envelope(QPainter& p, const QRectF& r, qreal width) {
    fillAndStroke(p, roundedRect(r, r.height() * 0.1), kPaper, kInk, width);
    QPainterPath flap;
    flap.moveTo(r.left() + width, r.top() + width);
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.58);
    flap.lineTo(r.right() - width, r.top() + width);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kInk, width));
    p.drawPath(flap);
}

// A small alarm clock.
void alarmClock(QPainter& p, QPointF centre, qreal radius) {
    const qreal width = radius * 0.22;
    fillAndStroke(p, circle(centre + QPointF(-radius * 0.7, -radius * 0.75), radius * 0.38),
                  kOrange, kInk, width);
    fillAndStroke(p, circle(centre + QPointF(radius * 0.7, -radius * 0.75), radius * 0.38), kOrange,
                  kInk, width);
    clockFace(p, centre, radius, kInk, width);
}

// A gear with eight teeth.
void gear(QPainter& p, QPointF centre, qreal radius, const QColor& fill, qreal width) {
    QPainterPath body = circle(centre, radius * 0.72);
    const qreal tooth = radius * 0.42;
    for (int i = 0; i < 8; ++i) {
        QPainterPath t;
        t.addRect(QRectF(-tooth / 2, -radius, tooth, radius * 0.5));
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(i * 45.0);
        body = body.united(turn.map(t));
    }
    fillAndStroke(p, body.subtracted(circle(centre, radius * 0.3)), fill, kInk, width);
}

// A clipboard with a tick: a task.
void taskIcon(QPainter& p, const QRectF& r, qreal width) {
    fillAndStroke(p, roundedRect(r, r.width() * 0.12), kPaper, kInk, width);
    fillAndStroke(p,
                  roundedRect(QRectF(r.center().x() - r.width() * 0.22, r.top() - width,
                                     r.width() * 0.44, r.height() * 0.16),
                              width),
                  kGrey, kInk, width);
    QPainterPath tick;
    tick.moveTo(r.left() + r.width() * 0.25, r.top() + r.height() * 0.55);
    tick.lineTo(r.left() + r.width() * 0.43, r.top() + r.height() * 0.72);
    tick.lineTo(r.left() + r.width() * 0.77, r.top() + r.height() * 0.36);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kGreen, width * 1.3));
    p.drawPath(tick);
}

// A mouse pointer whose tip is at TIP.
void pointer(QPainter& p, QPointF tip, qreal size) {
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(0, size));
    arrow.lineTo(tip + QPointF(size * 0.28, size * 0.75));
    arrow.lineTo(tip + QPointF(size * 0.48, size * 1.12));
    arrow.lineTo(tip + QPointF(size * 0.62, size * 1.04));
    arrow.lineTo(tip + QPointF(size * 0.43, size * 0.68));
    arrow.lineTo(tip + QPointF(size * 0.76, size * 0.68));
    arrow.closeSubpath();
    fillAndStroke(p, arrow, kPaper, kInk, size * 0.08);
}

// A large ribbon button: an icon area over its caption, optionally highlighted.
QRectF ribbonButton(QPainter& p, const QRectF& r, bool bHighlighted) {
    if (bHighlighted) {
        fillAndStroke(p, roundedRect(r, 3), kLightBlue, kBlue, 1.2);
    }
    textBar(p, r.left() + r.width() * 0.2, r.bottom() - 7, r.width() * 0.6, kSlate, 2.5);
    return QRectF(r.left() + r.width() * 0.2, r.top() + 5, r.width() * 0.6, r.width() * 0.6);
}

// A ribbon group: its buttons above, its name centred below, a separator at its right.
void ribbonGroup(QPainter& p, const QRectF& r, bool bOurs) {
    if (bOurs) {
        fillAndStroke(p, roundedRect(r, 3), QColor(0xeb, 0xf8, 0xff), kBlue, 1.5);
    }
    textBar(p, r.center().x() - r.width() * 0.2, r.bottom() - 5, r.width() * 0.4,
            bOurs ? kBlue : kGrey, 2.5);
    if (!bOurs) {
        p.setPen(outline(kPaperShade, 1.2));
        p.drawLine(QPointF(r.right(), r.top() + 3), QPointF(r.right(), r.bottom() - 3));
    }
}

// IMG_WIZARD1: the message window's ribbon with the add-in's group, "Remind me" and
// "Custom", and the pointer on "Remind me".
void drawRibbonGroup(QPainter& p) {
    enterBand(p, 280, 129);
    const QRectF client = windowFrame(p, QRectF(2, 2, 276, 125), kBlue);
    // The tabs, the first one current.
    fillAndStroke(p, roundedRect(QRectF(client.left() + 8, client.top() + 3, 34, 11), 2), kPaper,
                  kPaperShade, 1);
    for (int i = 0; i < 4; ++i) {
        textBar(p, client.left() + 14 + i * 40, client.top() + 8.5, i == 0 ? 22 : 20,
                i == 0 ? kBlue : kGrey, 2.2);
    }
    // The ribbon.
    const QRectF ribbon(client.left() + 4, client.top() + 15, client.width() - 8, 58);
    fillAndStroke(p, roundedRect(ribbon, 3), QColor(0xf7, 0xfa, 0xfc), kPaperShade, 1);
    // The mail client's own groups, in grey.
    const QRectF sendGroup(ribbon.left() + 2, ribbon.top() + 2, 44, ribbon.height() - 4);
    ribbonGroup(p, sendGroup, false);
    envelope(p, ribbonButton(p, sendGroup.adjusted(4, 0, -4, -8), false).adjusted(0, 4, 0, -2),
             1.3);
    const QRectF textGroup(sendGroup.right() + 2, sendGroup.top(), 70, sendGroup.height());
    ribbonGroup(p, textGroup, false);
    for (int i = 0; i < 3; ++i) {
        textBar(p, textGroup.left() + 8, textGroup.top() + 10 + i * 10, 54 - i * 10, kGrey, 2.5);
    }
    // The add-in's group.
    const QRectF ours(textGroup.right() + 6, sendGroup.top(), 96, sendGroup.height());
    ribbonGroup(p, ours, true);
    const QRectF remind =
        ribbonButton(p, QRectF(ours.left() + 3, ours.top() + 3, 44, ours.height() - 14), true);
    alarmClock(p, remind.center() + QPointF(0, 2), remind.width() * 0.36);
    const QRectF custom =
        ribbonButton(p, QRectF(ours.left() + 49, ours.top() + 3, 44, ours.height() - 14), false);
    envelope(
        p,
        QRectF(custom.left() - 2, custom.top() + 3, custom.width() * 0.9, custom.height() * 0.62),
        1.3);
    gear(p, QPointF(custom.right() - 2, custom.bottom() - 5), custom.width() * 0.3, kGold, 1.1);
    // The message below the ribbon: To, Subject and its text.
    const qreal top = ribbon.bottom() + 8;
    for (int i = 0; i < 2; ++i) {
        textBar(p, client.left() + 10, top + i * 9, 18, kSlate, 2.2);
        p.setPen(outline(kPaperShade, 1));
        p.drawLine(QPointF(client.left() + 34, top + 3 + i * 9),
                   QPointF(client.right() - 10, top + 3 + i * 9));
    }
    pointer(p, remind.center() + QPointF(6, 8), 16);
}

// IMG_WIZARD2: a sent message and the tracking task created for it, with its start,
// its reminder and its priority.
void drawTrackingTask(QPainter& p) {
    enterBand(p, 446, 86);
    // The sent message.
    envelope(p, QRectF(14, 22, 58, 40), 2);
    // The arrow to the task.
    p.setPen(outline(kBlue, 3));
    p.drawLine(QPointF(86, 43), QPointF(128, 43));
    QPainterPath head;
    head.moveTo(126, 35);
    head.lineTo(138, 43);
    head.lineTo(126, 51);
    head.closeSubpath();
    fillAndStroke(p, head, kBlue, kBlue, 2);
    // The task as a row of the task list.
    const QRectF card(150, 8, 286, 70);
    fillAndStroke(p, roundedRect(card, 6), kPaper, kSlate, 2);
    taskIcon(p, QRectF(card.left() + 14, card.top() + 16, 32, 40), 2);
    // Subject and recipients.
    textBar(p, card.left() + 60, card.top() + 20, 120, kInk, 4);
    textBar(p, card.left() + 60, card.top() + 36, 90, kGrey, 3);
    textBar(p, card.left() + 60, card.top() + 50, 70, kGrey, 3);
    // Start and due dates.
    fillAndStroke(p, roundedRect(QRectF(card.left() + 190, card.top() + 14, 40, 40), 4), kPaper,
                  kSlate, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(QRectF(card.left() + 191, card.top() + 15, 38, 9));
    textBar(p, card.left() + 200, card.top() + 36, 20, kInk, 4);
    textBar(p, card.left() + 203, card.top() + 46, 14, kGrey, 2.5);
    // The reminder and the priority.
    alarmClock(p, QPointF(card.left() + 256, card.top() + 38), 13);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(card.right() - 10, card.top() + 12, 4, 30), 2, 2);
    p.drawEllipse(QPointF(card.right() - 8, card.top() + 50), 2.6, 2.6);
}

// IMG_WIZARD3: the reminders window with three unanswered messages, one selected, and
// its buttons.
void drawRemindersWindow(QPainter& p) {
    enterBand(p, 248, 142);
    const QRectF client = windowFrame(p, QRectF(2, 2, 244, 138), kOrange);
    // The alarm and the selected reminder's subject.
    alarmClock(p, QPointF(client.left() + 20, client.top() + 18), 9);
    textBar(p, client.left() + 38, client.top() + 14, 110, kInk, 3.5);
    textBar(p, client.left() + 38, client.top() + 24, 70, kGrey, 2.5);
    // The list.
    const QRectF list(client.left() + 8, client.top() + 36, client.width() - 16, 50);
    fillAndStroke(p, roundedRect(list, 2), kPaper, kGrey, 1);
    for (int i = 0; i < 3; ++i) {
        const QRectF row(list.left() + 1, list.top() + 2 + i * 16, list.width() - 2, 15);
        if (i == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(kLightBlue);
            p.drawRect(row);
        }
        taskIcon(p, QRectF(row.left() + 5, row.top() + 3, 8, 10), 1);
        textBar(p, row.left() + 20, row.center().y(), 96 - i * 14, i == 0 ? kInk : kSlate, 2.5);
        textBar(p, row.right() - 58, row.center().y(), 48, kGrey, 2.5);
    }
    // Dismiss and Re-send on the left; the snooze period and Snooze on the right.
    const qreal y = list.bottom() + 10;
    for (int i = 0; i < 2; ++i) {
        const QRectF button(client.left() + 8 + i * 50, y, 44, 14);
        fillAndStroke(p, roundedRect(button, 3), i == 1 ? kLightBlue : kPaperShade,
                      i == 1 ? kBlue : kSlate, 1.2);
        textBar(p, button.left() + 10, button.center().y(), 24, kSlate, 2.2);
    }
    const QRectF combo(client.right() - 110, y, 54, 14);
    fillAndStroke(p, roundedRect(combo, 2), kPaper, kSlate, 1.2);
    textBar(p, combo.left() + 6, combo.center().y(), 28, kGrey, 2.2);
    QPainterPath drop;
    drop.moveTo(combo.right() - 10, combo.center().y() - 2);
    drop.lineTo(combo.right() - 4, combo.center().y() - 2);
    drop.lineTo(combo.right() - 7, combo.center().y() + 2);
    drop.closeSubpath();
    fillAndStroke(p, drop, kSlate, kSlate, 0.8);
    const QRectF snooze(client.right() - 52, y, 44, 14);
    fillAndStroke(p, roundedRect(snooze, 3), kPaperShade, kSlate, 1.2);
    textBar(p, snooze.left() + 10, snooze.center().y(), 24, kSlate, 2.2);
}

// IMG_WIZARD4: the main window's Home ribbon with the add-in's group: "Default
// settings", "Edit template" and "Preferences...".
void drawSettingsButtons(QPainter& p) {
    enterBand(p, 300, 99);
    const QRectF client = windowFrame(p, QRectF(2, 2, 296, 95), kBlue);
    fillAndStroke(p, roundedRect(QRectF(client.left() + 8, client.top() + 3, 34, 11), 2), kPaper,
                  kPaperShade, 1);
    for (int i = 0; i < 4; ++i) {
        textBar(p, client.left() + 14 + i * 40, client.top() + 8.5, i == 0 ? 22 : 20,
                i == 0 ? kBlue : kGrey, 2.2);
    }
    const QRectF ribbon(client.left() + 4, client.top() + 15, client.width() - 8, 60);
    fillAndStroke(p, roundedRect(ribbon, 3), QColor(0xf7, 0xfa, 0xfc), kPaperShade, 1);
    // The mail client's own groups.
    const QRectF newGroup(ribbon.left() + 2, ribbon.top() + 2, 44, ribbon.height() - 4);
    ribbonGroup(p, newGroup, false);
    envelope(p, ribbonButton(p, newGroup.adjusted(4, 0, -4, -8), false).adjusted(0, 4, 0, -2), 1.3);
    const QRectF moreGroup(newGroup.right() + 2, newGroup.top(), 64, newGroup.height());
    ribbonGroup(p, moreGroup, false);
    for (int i = 0; i < 3; ++i) {
        textBar(p, moreGroup.left() + 8, moreGroup.top() + 10 + i * 10, 48 - i * 8, kGrey, 2.5);
    }
    // The add-in's group.
    const QRectF ours(moreGroup.right() + 6, newGroup.top(), 150, newGroup.height());
    ribbonGroup(p, ours, true);
    // Default settings: a form with a ticked box and a clock.
    const QRectF defaults =
        ribbonButton(p, QRectF(ours.left() + 3, ours.top() + 3, 46, ours.height() - 14), true);
    fillAndStroke(p, roundedRect(defaults.adjusted(0, 2, -4, 0), 2), kPaper, kInk, 1.3);
    for (int i = 0; i < 3; ++i) {
        fillAndStroke(
            p, roundedRect(QRectF(defaults.left() + 4, defaults.top() + 6 + i * 8, 4, 4), 0.8),
            i == 0 ? kGreen : kPaper, kSlate, 0.9);
        textBar(p, defaults.left() + 11, defaults.top() + 8 + i * 8, 12, kGrey, 1.8);
    }
    alarmClock(p, defaults.bottomRight() + QPointF(-4, -5), 6);
    // Edit template: a page with a pencil.
    const QRectF edit =
        ribbonButton(p, QRectF(ours.left() + 51, ours.top() + 3, 46, ours.height() - 14), false);
    fillAndStroke(p, roundedRect(edit.adjusted(2, 1, -6, 0), 1.5), kPaper, kInk, 1.3);
    for (int i = 0; i < 3; ++i) {
        textBar(p, edit.left() + 6, edit.top() + 7 + i * 6, 12 - i * 3, kGrey, 1.8);
    }
    QPainterPath pencil;
    pencil.moveTo(edit.right() - 2, edit.top() + 10);
    pencil.lineTo(edit.right() + 2, edit.top() + 14);
    pencil.lineTo(edit.left() + 14, edit.bottom() + 2);
    pencil.lineTo(edit.left() + 9, edit.bottom() + 3);
    pencil.lineTo(edit.left() + 10, edit.bottom() - 2);
    pencil.closeSubpath();
    fillAndStroke(p, pencil, kGold, kInk, 1.1);
    // Preferences...: a small button with a gear.
    const QRectF prefs(ours.left() + 100, ours.top() + 8, 46, 14);
    gear(p, QPointF(prefs.left() + 7, prefs.center().y()), 5.5, kGrey, 1);
    textBar(p, prefs.left() + 16, prefs.center().y(), 26, kSlate, 2.2);
    pointer(p, defaults.center() + QPointF(4, 6), 14);
}

}  // namespace

void addWizardDrawings(std::map<QString, Drawing>& into) {
    into[QStringLiteral("IMG_WIZARD1")] = drawRibbonGroup;
    into[QStringLiteral("IMG_WIZARD2")] = drawTrackingTask;
    into[QStringLiteral("IMG_WIZARD3")] = drawRemindersWindow;
    into[QStringLiteral("IMG_WIZARD4")] = drawSettingsButtons;
}

}  // namespace vantorel::artwork
