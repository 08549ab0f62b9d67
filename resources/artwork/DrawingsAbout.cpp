// The pictures of the About box and the preferences dialog.

#include "resources/artwork/Drawings.h"
#include "resources/artwork/Kit.h"

namespace vantorel::artwork {

namespace {

// IMG_LOGO: a sealed letter on a blue tile, a clock at its corner that waits for the
// answer.
void drawLogo(QPainter& p) {
    fillAndStroke(p, roundedRect(QRectF(4, 4, 92, 92), 18), kBlue, kInk, 4);

    const QRectF letter(14, 24, 60, 42);
    fillAndStroke(p, roundedRect(letter, 5), kPaper, kInk, 4);
    QPainterPath flap;
    flap.moveTo(letter.left() + 3, letter.top() + 3);
    flap.lineTo(letter.center().x(), letter.top() + 25);
    flap.lineTo(letter.right() - 3, letter.top() + 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(kSlate, 4));
    p.drawPath(flap);

    // A return arrow over the letter: the reply the add-in watches for.
    p.setPen(outline(kYellow, 6));
    p.drawArc(QRectF(30, 10, 40, 26), 20 * 16, 140 * 16);
    QPainterPath head;
    head.moveTo(26, 22);
    head.lineTo(37, 14);
    head.lineTo(38, 27);
    head.closeSubpath();
    fillAndStroke(p, head, kYellow, kYellow, 2);

    fillAndStroke(p, circle(QPointF(70, 70), 22), kOrange, kInk, 4);
    clockFace(p, QPointF(70, 70), 15, kInk, 4);
}

}  // namespace

void addAboutDrawings(std::map<QString, Drawing>& into) {
    into.emplace(QStringLiteral("IMG_LOGO"), drawLogo);
}

}  // namespace vantorel::artwork
