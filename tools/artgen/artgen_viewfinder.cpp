#include <QtMath>

#include "artgen.h"

// The symbols of the viewfinder status line: metering, compensation sign,
// light balance scale with the flash marks, focus confirmation and the two
// bars of the level gauge.

namespace Art {

namespace {

const QString kImages = QStringLiteral("OLP_GUI/images/");

QColor litIf(bool on)
{
    return on ? Colour::lit : Colour::ghost;
}

// ---- metering ----------------------------------------------------------

enum class Metering
{
    Spot,
    CenterWeighted,
    MultiField,
    None
};

Image metering(const QString& name, Metering kind)
{
    Canvas canvas(22, 20);
    QPainter& p = canvas.painter();
    const bool on = kind != Metering::None;
    const QColor colour = litIf(on);
    const QRectF frame(1.5, 3.5, 19, 13);
    const QPointF c = frame.center();
    p.setPen(QPen(colour, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 1.5, 1.5);
    switch (kind) {
        case Metering::Spot:
            break;
        case Metering::CenterWeighted:
            p.setPen(QPen(colour, 1.2));
            p.drawEllipse(c, 6.0, 4.0);
            break;
        case Metering::MultiField: {
            p.setPen(QPen(colour, 1.2));
            p.drawEllipse(c, 3.4, 3.4);
            // Zone marks in the four corners.
            const qreal l = 3.2;
            const QRectF in = frame.adjusted(2.6, 2.6, -2.6, -2.6);
            p.drawPolyline(QPolygonF({{in.left(), in.top() + l}, in.topLeft(), {in.left() + l, in.top()}}));
            p.drawPolyline(QPolygonF({{in.right() - l, in.top()}, in.topRight(), {in.right(), in.top() + l}}));
            p.drawPolyline(QPolygonF({{in.left(), in.bottom() - l}, in.bottomLeft(), {in.left() + l, in.bottom()}}));
            p.drawPolyline(QPolygonF({{in.right() - l, in.bottom()}, in.bottomRight(), {in.right(), in.bottom() - l}}));
            break;
        }
        case Metering::None:
            break;
    }
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(c, 1.5, 1.5);
    }
    return {kImages + QStringLiteral("ExposMetering/ExposMetering_%1.png").arg(name), QStringLiteral("Metering"),
            canvas.finish()};
}

// ---- exposure compensation sign ---------------------------------------

Image compensationSign(bool on)
{
    Canvas canvas(12, 20);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(litIf(on));
    const qreal t = 1.8;
    p.drawRect(QRectF(1.5, 6.5 - t / 2, 9, t));   // plus, across
    p.drawRect(QRectF(6 - t / 2, 2.0, t, 9));     // plus, down
    p.drawRect(QRectF(1.5, 15.5 - t / 2, 9, t));  // minus
    return {kImages + QStringLiteral("ExposCompensation/ExposCompensation_%1.png")
                          .arg(on ? QStringLiteral("on") : QStringLiteral("off")),
            QStringLiteral("ExposCompensation"), canvas.finish()};
}

// ---- light balance -----------------------------------------------------

// What a light balance image shows: the marker at half-stop index
// -6..+6, or one of the arrows, or nothing lit.
struct Balance
{
    int halfStops = 0;
    bool marker = false;
    bool leftArrow = false;
    bool rightArrow = false;
};

constexpr qreal kBalW = 84;
constexpr qreal kBalH = 20;

qreal balanceX(int halfStops)
{
    return 42 + halfStops * (62.0 / 12.0);
}

Image lightBalance(const QString& name, const Balance& b)
{
    Canvas canvas(kBalW, kBalH);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(litIf(b.leftArrow));
    p.drawPath(triangle({0.8, 10}, {6.8, 5.5}, {6.8, 14.5}));
    p.setBrush(litIf(b.rightArrow));
    p.drawPath(triangle({kBalW - 0.8, 10}, {kBalW - 6.8, 5.5}, {kBalW - 6.8, 14.5}));
    for (int i = -6; i <= 6; ++i) {
        const qreal x = balanceX(i);
        const bool lit = b.marker && b.halfStops == i;
        p.setBrush(litIf(lit));
        if (i == 0) {
            if (lit) {
                p.drawEllipse(QPointF(x, 10), 3.0, 3.0);
            } else {
                p.setPen(QPen(Colour::ghost, 1.2));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QPointF(x, 10), 2.6, 2.6);
                p.setPen(Qt::NoPen);
            }
            continue;
        }
        qreal h = (i % 2 == 0) ? 8.0 : 5.0;
        qreal w = 1.8;
        if (lit) {
            h = 14.0;
            w = 2.6;
        }
        p.drawRect(QRectF(x - w / 2, 10 - h / 2, w, h));
    }
    return {kImages + QStringLiteral("LightBal/%1.png").arg(name), QStringLiteral("LightBal"), canvas.finish()};
}

Image flash(bool withX, bool on)
{
    const qreal w = withX ? 13 : 10;
    Canvas canvas(w, 20);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(litIf(on));
    p.drawPath(boltPath(withX ? QRectF(0.5, 2.5, 7.5, 13) : QRectF(1, 3, 8, 14)));
    if (withX) {
        p.setPen(QPen(litIf(on), 1.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(7.6, 12.4), QPointF(12.0, 17.6));
        p.drawLine(QPointF(12.0, 12.4), QPointF(7.6, 17.6));
    }
    const QString name = QStringLiteral("LightBal/%1_%2.png")
                             .arg(withX ? QStringLiteral("FlashXSymbol") : QStringLiteral("FlashSymbol"),
                                  on ? QStringLiteral("on") : QStringLiteral("off"));
    return {kImages + name, QStringLiteral("LightBal"), canvas.finish()};
}

// ---- focus confirmation -----------------------------------------------

Image focusConfirmation(const QString& name, bool left, bool centre, bool right)
{
    Canvas canvas(32, 20);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(litIf(left));
    p.drawPath(triangle({2, 4.5}, {2, 15.5}, {10.5, 10}));
    p.setBrush(litIf(right));
    p.drawPath(triangle({30, 4.5}, {30, 15.5}, {21.5, 10}));
    p.setBrush(litIf(centre));
    p.drawEllipse(QPointF(16, 10), 3.6, 3.6);
    return {kImages + QStringLiteral("FocusConfirmation/FocusConfirmation_%1.png").arg(name),
            QStringLiteral("FocusConfirmation"), canvas.finish()};
}

// ---- level gauge -------------------------------------------------------

// A spirit-level tube with the bubble at position 1..7 (0: no bubble);
// position 4 is level and shown green. `tubeLit` draws the tube lit too.
Image level(const QString& name, bool horizontal, int position, bool tubeLit)
{
    const qreal longSide = 30;
    const qreal shortSide = 8;
    Canvas canvas(horizontal ? longSide : shortSide, horizontal ? shortSide : longSide);
    QPainter& p = canvas.painter();
    if (!horizontal) {
        // Draw as horizontal, turned a quarter.
        p.translate(shortSide, 0);
        p.rotate(90);
    }
    const QRectF tube(0.7, 0.7, longSide - 1.4, shortSide - 1.4);
    p.setPen(QPen(tubeLit ? Colour::lit : Colour::ghost, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tube, 3.2, 3.2);
    p.setPen(QPen(Colour::ghost, 0.9));
    p.drawLine(QPointF(longSide / 2 - 3.6, 2.0), QPointF(longSide / 2 - 3.6, shortSide - 2.0));
    p.drawLine(QPointF(longSide / 2 + 3.6, 2.0), QPointF(longSide / 2 + 3.6, shortSide - 2.0));
    if (position > 0) {
        // Position 1 at the far end (top when vertical), 7 at the near end.
        const qreal x = 4.4 + (position - 1) * (21.2 / 6.0);
        p.setPen(Qt::NoPen);
        p.setBrush(position == 4 ? Colour::green : Colour::lit);
        p.drawRoundedRect(QRectF(x - 2.6, shortSide / 2 - 1.9, 5.2, 3.8), 1.9, 1.9);
    }
    return {kImages + QStringLiteral("3DAxis/3DAxis_%1_%2.png")
                          .arg(horizontal ? QStringLiteral("Horizontal") : QStringLiteral("Vertikal"), name),
            horizontal ? QStringLiteral("3DAxisH") : QStringLiteral("3DAxisV"), canvas.finish()};
}

QString halfStopText(int halfStops)
{
    const QString number = QString::number(qAbs(halfStops) / 2.0, 'f', 1);
    return (halfStops < 0 ? QStringLiteral("-") : QStringLiteral("+")) + number;
}

}  // namespace

void addViewfinderImages(ImageList& out)
{
    out.append(metering(QStringLiteral("spot"), Metering::Spot));
    out.append(metering(QStringLiteral("centerWeighted"), Metering::CenterWeighted));
    out.append(metering(QStringLiteral("multiField"), Metering::MultiField));
    out.append(metering(QStringLiteral("none"), Metering::None));
    out.append(compensationSign(true));
    out.append(compensationSign(false));

    Balance centre;
    centre.marker = true;
    out.append(lightBalance(QStringLiteral("LightBal"), centre));
    out.append(lightBalance(QStringLiteral("LightBal-inactive"), Balance()));
    Balance left;
    left.leftArrow = true;
    out.append(lightBalance(QStringLiteral("LightBal-(0.0-Left)"), left));
    Balance right;
    right.rightArrow = true;
    out.append(lightBalance(QStringLiteral("LightBal-(0.0-Right)"), right));
    for (int h = -6; h <= 6; ++h) {
        if (h == 0) {
            continue;
        }
        Balance b;
        b.marker = true;
        b.halfStops = h;
        out.append(lightBalance(QStringLiteral("LightBal-(%1)").arg(halfStopText(h)), b));
    }
    out.append(flash(false, true));
    out.append(flash(false, false));
    out.append(flash(true, true));
    out.append(flash(true, false));

    out.append(focusConfirmation(QStringLiteral("none"), false, false, false));
    out.append(focusConfirmation(QStringLiteral("center"), false, true, false));
    out.append(focusConfirmation(QStringLiteral("left"), true, false, false));
    out.append(focusConfirmation(QStringLiteral("leftCenter"), true, true, false));
    out.append(focusConfirmation(QStringLiteral("right"), false, false, true));
    out.append(focusConfirmation(QStringLiteral("rightCenter"), false, true, true));

    for (int i = 1; i <= 7; ++i) {
        out.append(level(QString::number(i), true, i, false));
    }
    out.append(level(QStringLiteral("10"), true, 0, false));
    for (int i = 1; i <= 7; ++i) {
        out.append(level(QString::number(i), false, i, false));
    }
    // Far off while the roll is near level: the end positions with the tube lit.
    out.append(level(QStringLiteral("8"), false, 1, true));
    out.append(level(QStringLiteral("9"), false, 7, true));
    out.append(level(QStringLiteral("11"), false, 0, false));
}

}  // namespace Art
