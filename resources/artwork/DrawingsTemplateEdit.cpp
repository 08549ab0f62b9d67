// The pictures of the template editor: the images of its five insert buttons, each
// enabled and disabled (TemplateEditImageList).

#include "resources/artwork/Drawings.h"
#include "resources/artwork/Kit.h"

#include <QImage>
#include <QPaintDevice>

namespace vantorel::artwork {

namespace {

// IMG_INSERTNAME: a person, head and shoulders.
void drawInsertName(QPainter& p) {
    QPainterPath shoulders;
    shoulders.moveTo(12, 94);
    shoulders.cubicTo(12, 64, 30, 56, 50, 56);
    shoulders.cubicTo(70, 56, 88, 64, 88, 94);
    shoulders.closeSubpath();
    fillAndStroke(p, shoulders, kBlue, kInk, 6);
    fillAndStroke(p, circle(QPointF(50, 30), 21), kGold, kInk, 6);
}

// IMG_INSERTEMAIL: an envelope.
void drawInsertEmail(QPainter& p) {
    const QRectF r(6, 20, 88, 62);
    fillAndStroke(p, roundedRect(r, 8), kPaper, kInk, 7);
    QPainterPath flap;
    flap.moveTo(r.left() + 4, r.top() + 4);
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.58);
    flap.lineTo(r.right() - 4, r.top() + 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kBlue, 7));
    p.drawPath(flap);
}

// IMG_INSERTTIME: a clock.
void drawInsertTime(QPainter& p) {
    clockFace(p, QPointF(50, 50), 42, kBlue, 9);
}

// IMG_INSERTDATE: a calendar sheet with its red top band and day marks.
void drawInsertDate(QPainter& p) {
    const QRectF sheet(8, 14, 84, 80);
    fillAndStroke(p, roundedRect(sheet, 8), kPaper, kInk, 6);
    QPainterPath band;
    band.addRoundedRect(QRectF(8, 14, 84, 26), 8, 8);
    band.addRect(QRectF(8, 28, 84, 12));
    fillAndStroke(p, band.simplified(), kRed, kInk, 6);
    p.setPen(outline(kInk, 7));
    p.drawLine(QPointF(30, 6), QPointF(30, 22));
    p.drawLine(QPointF(70, 6), QPointF(70, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(kSlate);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRect(QRectF(22 + col * 22, 50 + row * 20, 12, 11));
        }
    }
}

// IMG_INSERTSIGNATURE: a hand-written stroke on its line, with a nib.
void drawInsertSignature(QPainter& p) {
    p.setPen(outline(kGrey, 6));
    p.drawLine(QPointF(8, 84), QPointF(92, 84));
    QPainterPath stroke;
    stroke.moveTo(10, 66);
    stroke.cubicTo(18, 30, 30, 24, 30, 44);
    stroke.cubicTo(30, 62, 22, 78, 38, 64);
    stroke.cubicTo(48, 54, 50, 40, 58, 52);
    stroke.cubicTo(64, 62, 70, 64, 80, 50);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kBlue, 8));
    p.drawPath(stroke);
    QPainterPath nib;
    nib.moveTo(80, 50);
    nib.lineTo(96, 22);
    nib.lineTo(100 - 4, 40);
    nib.closeSubpath();
    fillAndStroke(p, nib, kGold, kInk, 5);
}

// The same picture as a disabled button shows it: grey and faded.
Drawing greyed(const Drawing& draw) {
    return [draw](QPainter& p) {
        const QPaintDevice* device = p.device();
        if (device == nullptr) {
            return;
        }
        QImage layer(device->width(), device->height(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter layerPainter(&layer);
            layerPainter.setRenderHints(p.renderHints());
            layerPainter.setTransform(p.transform());
            draw(layerPainter);
        }
        layer = layer.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < layer.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
            for (int x = 0; x < layer.width(); ++x) {
                const QRgb c = line[x];
                // Lighter grey of the same lightness, a little transparent.
                const int grey = 96 + qGray(c) * 5 / 8;
                line[x] = qRgba(grey, grey, grey, qAlpha(c) * 3 / 4);
            }
        }
        p.save();
        p.resetTransform();
        p.drawImage(0, 0, layer);
        p.restore();
    };
}

}  // namespace

void addTemplateEditDrawings(std::map<QString, Drawing>& into) {
    const std::pair<const char*, Drawing> pictures[] = {
        {"IMG_INSERTNAME", drawInsertName},           {"IMG_INSERTEMAIL", drawInsertEmail},
        {"IMG_INSERTTIME", drawInsertTime},           {"IMG_INSERTDATE", drawInsertDate},
        {"IMG_INSERTSIGNATURE", drawInsertSignature},
    };
    for (const auto& [name, draw] : pictures) {
        into[QLatin1String(name)] = draw;
        into[QLatin1String(name) + QStringLiteral("_DISABLED")] = greyed(draw);
    }
}

}  // namespace vantorel::artwork
