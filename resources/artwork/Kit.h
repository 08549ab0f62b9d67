#pragma once

// What every drawing shares: one palette and the basic shapes.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace vantorel::artwork {

// One palette for every picture.
inline const QColor kInk(0x2d, 0x37, 0x48);
inline const QColor kSlate(0x4a, 0x55, 0x68);
inline const QColor kGrey(0xa0, 0xae, 0xc0);
inline const QColor kPaper(0xff, 0xff, 0xff);
inline const QColor kPaperShade(0xe2, 0xe8, 0xf0);
inline const QColor kBlue(0x31, 0x82, 0xce);
inline const QColor kLightBlue(0xbe, 0xe3, 0xf8);
inline const QColor kOrange(0xdd, 0x6b, 0x20);
inline const QColor kGold(0xf6, 0xc3, 0x3b);
inline const QColor kYellow(0xfa, 0xf0, 0x89);
inline const QColor kGreen(0x38, 0xa1, 0x69);
inline const QColor kRed(0xe5, 0x3e, 0x3e);
inline const QColor kPink(0xf6, 0x87, 0xb3);

inline QPen outline(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

inline void fillAndStroke(QPainter& p, const QPainterPath& path, const QColor& fill,
                          const QColor& line, qreal width) {
    p.setPen(outline(line, width));
    p.setBrush(fill);
    p.drawPath(path);
}

inline QPainterPath circle(QPointF centre, qreal radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

inline QPainterPath roundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// A clock face with its hands at ten past ten.
inline void clockFace(QPainter& p, QPointF centre, qreal radius, const QColor& rim,
                      qreal rimWidth) {
    fillAndStroke(p, circle(centre, radius), kPaper, rim, rimWidth);
    p.setPen(outline(kInk, rimWidth * 0.8));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.62));
    p.drawLine(centre, centre + QPointF(radius * 0.48, radius * 0.12));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(centre, rimWidth * 0.6, rimWidth * 0.6);
}

}  // namespace vantorel::artwork
