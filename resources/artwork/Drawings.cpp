#include "resources/artwork/Drawings.h"
#include "resources/artwork/Kit.h"

#include <QPainterPath>
#include <QPolygonF>

namespace vantorel::artwork {

namespace {

// A gear with eight teeth and a hole.
QPainterPath gear(QPointF centre, qreal radius) {
    QPainterPath body = circle(centre, radius * 0.72);
    const qreal toothWidth = radius * 0.42;
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-toothWidth / 2, -radius, toothWidth, radius * 0.5),
                             toothWidth * 0.2, toothWidth * 0.2);
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(i * 45.0);
        body = body.united(turn.map(tooth));
    }
    return body.subtracted(circle(centre, radius * 0.3));
}

// A closed envelope.
void envelope(QPainter& p, const QRectF& r) {
    fillAndStroke(p, roundedRect(r, r.height() * 0.08), kPaper, kInk, 5);
    QPainterPath flap;
    flap.moveTo(r.left() + 3, r.top() + 3);
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.55);
    flap.lineTo(r.right() - 3, r.top() + 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kInk, 5));
    p.drawPath(flap);
}

// A sheet of paper with a folded corner.
void page(QPainter& p, const QRectF& r) {
    const qreal fold = r.width() * 0.28;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    fillAndStroke(p, sheet, kPaper, kInk, 5);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    fillAndStroke(p, corner, kPaperShade, kInk, 5);
}

void textLines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal step) {
    p.setPen(outline(kGrey, 6));
    for (int i = 0; i < count; ++i) {
        const qreal end = i == count - 1 ? left + (right - left) * 0.6 : right;
        p.drawLine(QPointF(left, top + i * step), QPointF(end, top + i * step));
    }
}

void checkMark(QPainter& p, QPointF origin, qreal size, const QColor& color, qreal width) {
    QPainterPath mark;
    mark.moveTo(origin + QPointF(0, size * 0.5));
    mark.lineTo(origin + QPointF(size * 0.35, size * 0.85));
    mark.lineTo(origin + QPointF(size, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(color, width));
    p.drawPath(mark);
}

// IMG_ALARM: an alarm clock with two bells and feet.
void drawAlarm(QPainter& p) {
    p.setPen(outline(kInk, 7));
    p.drawLine(QPointF(30, 82), QPointF(20, 94));
    p.drawLine(QPointF(70, 82), QPointF(80, 94));
    fillAndStroke(p, circle(QPointF(22, 22), 15), kOrange, kInk, 6);
    fillAndStroke(p, circle(QPointF(78, 22), 15), kOrange, kInk, 6);
    clockFace(p, QPointF(50, 56), 36, kRed, 9);
}

// IMG_DEFAULT: a panel of three sliders.
void drawDefault(QPainter& p) {
    fillAndStroke(p, roundedRect(QRectF(8, 12, 84, 76), 10), kLightBlue, kBlue, 6);
    const qreal rows[] = {31, 50, 69};
    const qreal knobs[] = {38, 66, 28};
    for (int i = 0; i < 3; ++i) {
        p.setPen(outline(kSlate, 5));
        p.drawLine(QPointF(20, rows[i]), QPointF(80, rows[i]));
        fillAndStroke(p, circle(QPointF(knobs[i], rows[i]), 7.5), kOrange, kInk, 4);
    }
}

// A pencil lying from the lower left to the upper right, its point at TIP.
void pencil(QPainter& p, QPointF tip, qreal length, qreal width) {
    p.save();
    p.translate(tip);
    p.rotate(-45);
    const qreal point = width * 1.3;
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(point, -width / 2);
    wood.lineTo(point, width / 2);
    wood.closeSubpath();
    QPainterPath body;
    body.addRect(QRectF(point, -width / 2, length - point - width, width));
    QPainterPath eraser;
    eraser.addRoundedRect(QRectF(length - width, -width / 2, width, width), 3, 3);
    fillAndStroke(p, body, kGold, kInk, 4);
    fillAndStroke(p, eraser, kPink, kInk, 4);
    fillAndStroke(p, wood, QColor(0xf5, 0xde, 0xb3), kInk, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(width * 0.25, 0), width * 0.18, width * 0.18);
    p.restore();
}

// IMG_TEMPEDIT: a pencil on a page.
void drawTemplateEdit(QPainter& p) {
    page(p, QRectF(12, 6, 60, 84));
    textLines(p, 22, 58, 36, 4, 12);
    pencil(p, QPointF(44, 88), 64, 15);
}

// IMG_SETTINGS: a gear.
void drawSettings(QPainter& p) {
    fillAndStroke(p, gear(QPointF(50, 50), 44), kSlate, kInk, 5);
}

// IMG_REMINDME: an envelope with a clock.
void drawRemindMe(QPainter& p) {
    envelope(p, QRectF(4, 16, 72, 50));
    clockFace(p, QPointF(70, 68), 26, kBlue, 7);
}

// IMG_CUSTOM: an envelope with a gear.
void drawCustom(QPainter& p) {
    envelope(p, QRectF(4, 16, 72, 50));
    fillAndStroke(p, gear(QPointF(70, 68), 27), kOrange, kInk, 4);
}

// IMG_REMINDER: a bell.
void drawReminder(QPainter& p) {
    fillAndStroke(p, circle(QPointF(50, 86), 8), kSlate, kInk, 4);
    fillAndStroke(p, circle(QPointF(50, 13), 6), kGold, kInk, 4);
    QPainterPath bell;
    bell.moveTo(16, 76);
    bell.cubicTo(26, 66, 26, 58, 26, 46);
    bell.cubicTo(26, 28, 38, 18, 50, 18);
    bell.cubicTo(62, 18, 74, 28, 74, 46);
    bell.cubicTo(74, 58, 74, 66, 84, 76);
    bell.closeSubpath();
    fillAndStroke(p, bell, kGold, kInk, 5);
    p.setPen(outline(kYellow, 5));
    p.drawArc(QRectF(33, 27, 20, 26), 100 * 16, 70 * 16);
}

// IMG_OPTIONS: a list of check boxes, two of them ticked.
void drawOptions(QPainter& p) {
    for (int i = 0; i < 3; ++i) {
        const qreal top = 10 + i * 30;
        fillAndStroke(p, roundedRect(QRectF(8, top, 22, 22), 4), kPaper, kInk, 5);
        if (i < 2) {
            checkMark(p, QPointF(12, top + 4), 14, kGreen, 6);
        }
        p.setPen(outline(kSlate, 6));
        p.drawLine(QPointF(42, top + 11), QPointF(i == 1 ? 76 : 90, top + 11));
    }
}

// IMG_SUBJECT: a page with a highlighted heading.
void drawSubject(QPainter& p) {
    fillAndStroke(p, roundedRect(QRectF(12, 8, 76, 84), 6), kPaper, kInk, 5);
    fillAndStroke(p, roundedRect(QRectF(20, 18, 60, 16), 3), kBlue, kBlue, 2);
    textLines(p, 22, 78, 48, 4, 11);
}

// A luggage tag with a hole, pointing left.
QPainterPath tag(const QRectF& r) {
    const qreal nose = r.height() * 0.5;
    QPainterPath shape;
    shape.moveTo(r.left(), r.center().y());
    shape.lineTo(r.left() + nose, r.top());
    shape.lineTo(r.right(), r.top());
    shape.lineTo(r.right(), r.bottom());
    shape.lineTo(r.left() + nose, r.bottom());
    shape.closeSubpath();
    return shape.subtracted(
        circle(QPointF(r.left() + nose * 0.75, r.center().y()), r.height() * 0.12));
}

// IMG_CATEGORIES: three coloured tags.
void drawCategories(QPainter& p) {
    fillAndStroke(p, tag(QRectF(6, 8, 70, 26)), kRed, kInk, 4);
    fillAndStroke(p, tag(QRectF(16, 37, 70, 26)), kGreen, kInk, 4);
    fillAndStroke(p, tag(QRectF(26, 66, 70, 26)), kBlue, kInk, 4);
}

// IMG_TIP: a lit bulb.
void drawTip(QPainter& p) {
    p.setPen(outline(kGold, 6));
    for (int i = 0; i < 5; ++i) {
        QTransform turn;
        turn.translate(50, 40);
        turn.rotate(-90 + (i - 2) * 45.0);
        p.drawLine(turn.map(QPointF(36, 0)), turn.map(QPointF(46, 0)));
    }
    QPainterPath glass;
    glass.moveTo(38, 68);
    glass.cubicTo(38, 58, 24, 52, 24, 38);
    glass.cubicTo(24, 22, 36, 13, 50, 13);
    glass.cubicTo(64, 13, 76, 22, 76, 38);
    glass.cubicTo(76, 52, 62, 58, 62, 68);
    glass.closeSubpath();
    fillAndStroke(p, glass, kYellow, kInk, 5);
    fillAndStroke(p, roundedRect(QRectF(37, 70, 26, 16), 3), kGrey, kInk, 5);
    fillAndStroke(p, roundedRect(QRectF(43, 86, 14, 7), 3), kSlate, kInk, 4);
    p.setPen(outline(kPaper, 5));
    p.drawArc(QRectF(32, 22, 22, 22), 100 * 16, 70 * 16);
}

// IMG_TASK: a clipboard with a tick.
void drawTask(QPainter& p) {
    fillAndStroke(p, roundedRect(QRectF(14, 10, 72, 86), 8), kBlue, kInk, 5);
    fillAndStroke(p, roundedRect(QRectF(22, 20, 56, 68), 3), kPaper, kInk, 4);
    fillAndStroke(p, roundedRect(QRectF(36, 4, 28, 14), 4), kGrey, kInk, 4);
    checkMark(p, QPointF(32, 36), 36, kGreen, 9);
}

// ICO_REMINDER: a round clock on a blue disc.
void drawReminderIcon(QPainter& p) {
    fillAndStroke(p, circle(QPointF(50, 50), 46), kBlue, kInk, 5);
    clockFace(p, QPointF(50, 50), 32, kLightBlue, 7);
}

}  // namespace

const std::map<QString, Drawing>& drawings() {
    static const std::map<QString, Drawing> all = {
        {QStringLiteral("IMG_ALARM"), drawAlarm},
        {QStringLiteral("IMG_DEFAULT"), drawDefault},
        {QStringLiteral("IMG_TEMPEDIT"), drawTemplateEdit},
        {QStringLiteral("IMG_SETTINGS"), drawSettings},
        {QStringLiteral("IMG_REMINDME"), drawRemindMe},
        {QStringLiteral("IMG_CUSTOM"), drawCustom},
        {QStringLiteral("IMG_REMINDER"), drawReminder},
        {QStringLiteral("IMG_OPTIONS"), drawOptions},
        {QStringLiteral("IMG_SUBJECT"), drawSubject},
        {QStringLiteral("IMG_CATEGORIES"), drawCategories},
        {QStringLiteral("IMG_TIP"), drawTip},
        {QStringLiteral("IMG_TASK"), drawTask},
        {QStringLiteral("ICO_REMINDER"), drawReminderIcon},
    };
    static const std::map<QString, Drawing> withWindows = [] {
        std::map<QString, Drawing> map = all;
        addTemplateEditDrawings(map);
        addWizardDrawings(map);
        addAboutDrawings(map);
        return map;
    }();
    return withWindows;
}

}  // namespace vantorel::artwork
