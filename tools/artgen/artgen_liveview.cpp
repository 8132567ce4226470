#include <QtMath>

#include "artgen.h"

// The live view window: the info bar's buttons in their states, the move
// arrows and the recording mark of the viewer, and the marks drawn onto
// the live picture (focus cross, grey-card pipette, exposure spot).

namespace Art {

namespace {

const QString kDir = QStringLiteral("OLP_GUI/images/LiveView/");

constexpr qreal kButtonW = 33;
constexpr qreal kButtonH = 30;

using IconFn = void (*)(QPainter&, const QRectF&, const Look&);

Image button(const QString& file, const QString& family, const Look& look, IconFn icon)
{
    Canvas canvas(kButtonW, kButtonH);
    QPainter& p = canvas.painter();
    drawButtonFace(p, QRectF(0, 0, kButtonW, kButtonH), look.face, look.edge);
    icon(p, QRectF(6.5, 6, 20, 18), look);
    return {kDir + file, family, canvas.finish()};
}

void magnifier(QPainter& p, const QRectF& b, const Look& look)
{
    const QPointF c(b.left() + 8, b.top() + 7.5);
    p.setPen(QPen(look.icon, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6, 6);
    p.setPen(QPen(look.icon, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(4.6, 4.6), QPointF(b.right() - 2, b.bottom() - 0.5));
    p.setPen(QPen(look.icon, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c + QPointF(-3.2, 0), c + QPointF(3.2, 0));
    p.drawLine(c + QPointF(0, -3.2), c + QPointF(0, 3.2));
}

// A pipette lying from its tip at `tip` towards the lower right.
void drawPipette(QPainter& p, QPointF tip, qreal length, const QColor& fill, const QColor& outline, qreal outlineWidth)
{
    p.save();
    p.translate(tip);
    p.rotate(45);
    // Thin glass tube, a collar and the rubber bulb.
    const qreal l = length;
    QPainterPath shape;
    shape.moveTo(0, 0);
    shape.lineTo(l * 0.07, -l * 0.042);
    shape.lineTo(l * 0.56, -l * 0.042);
    shape.lineTo(l * 0.56, l * 0.042);
    shape.lineTo(l * 0.07, l * 0.042);
    shape.closeSubpath();
    shape.addRoundedRect(QRectF(l * 0.53, -l * 0.12, l * 0.09, l * 0.24), l * 0.02, l * 0.02);
    shape.addEllipse(QRectF(l * 0.6, -l * 0.13, l * 0.4, l * 0.26));
    shape.setFillRule(Qt::WindingFill);
    shape = shape.simplified();
    p.setPen(outlineWidth > 0 ? QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                              : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(shape);
    p.restore();
}

void pipetteIcon(QPainter& p, const QRectF& b, const Look& look)
{
    drawPipette(p, QPointF(b.left() + 3.5, b.top() + 1.5), 22, look.icon, look.icon, 0);
}

void afLetters(QPainter& p, const QRectF& b, const Look& look)
{
    // Seven segments are enough for these two letters and keep the middle
    // bars wide at this size.
    const QColor none(Qt::transparent);
    drawSeg7(p, QRectF(b.left() + 1.5, b.top() + 1.5, 8, 15), A | B | C | E | F | G, look.icon, none, 1.7, 0.08);
    drawSeg7(p, QRectF(b.left() + 10.5, b.top() + 1.5, 8, 15), A | E | F | G, look.icon, none, 1.7, 0.08);
}

void floppy(QPainter& p, const QRectF& b, const Look& look)
{
    const QRectF d(b.center().x() - 8, b.top() + 1, 16, 16);
    QPainterPath body;
    body.moveTo(d.topLeft());
    body.lineTo(d.right() - 3.5, d.top());
    body.lineTo(d.right(), d.top() + 3.5);
    body.lineTo(d.bottomRight());
    body.lineTo(d.bottomLeft());
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    p.drawPath(body);
    p.setBrush(look.face);
    p.drawRect(QRectF(d.left() + 3.5, d.top(), 7.5, 5));
    p.drawRoundedRect(QRectF(d.left() + 2.5, d.top() + 8.5, 11, 6), 1, 1);
    p.setBrush(look.icon);
    p.drawRect(QRectF(d.left() + 8, d.top() + 0.8, 2, 3.4));
}

void iris(QPainter& p, QPointF c, qreal r, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(irisPath(c, r, 0.9));
}

void apertureIcon(QPainter& p, const QRectF& b, const Look& look)
{
    iris(p, b.center(), 8.2, look.icon);
}

void apertureShutterIcon(QPainter& p, const QRectF& b, const Look& look)
{
    iris(p, QPointF(b.left() + 8.5, b.center().y()), 8.0, look.icon);
    // A small clock for the shutter time.
    const QPointF c(b.right() - 4.2, b.bottom() - 4.2);
    p.setPen(QPen(look.face, 1.2));
    p.setBrush(look.icon);
    p.drawEllipse(c, 4.6, 4.6);
    p.setPen(QPen(look.face, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -3));
    p.drawLine(c, c + QPointF(2.2, 0));
}

void apertureOffIcon(QPainter& p, const QRectF& b, const Look& look)
{
    iris(p, b.center(), 8.2, look.icon);
    p.setPen(QPen(look.face, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(b.left() + 2, b.bottom() - 1), QPointF(b.right() - 2, b.top() + 1));
    p.setPen(QPen(look.icon, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(b.left() + 2, b.bottom() - 1), QPointF(b.right() - 2, b.top() + 1));
}

Image moveArrow(const QString& direction, qreal rotation)
{
    Canvas canvas(20, 20);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(QPointF(10, 10), 9.5, 9.5);
    p.translate(10, 10);
    p.rotate(rotation);
    p.setPen(QPen(Colour::lit, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Pointing right before the turn.
    p.drawPolyline(QPolygonF({{-2, -5}, {3, 0}, {-2, 5}}));
    return {kDir + QStringLiteral("move_%1.png").arg(direction), QStringLiteral("LiveViewMarks"), canvas.finish()};
}

Image recVideo()
{
    Canvas canvas(40, 16);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(QRectF(0, 0, 40, 16), 3, 3);
    p.setBrush(Colour::red);
    p.drawEllipse(QPointF(8, 8), 4.4, 4.4);
    drawSeg14Text(p, QRectF(15.5, 3.5, 21.5, 9), QStringLiteral("REC"), Colour::lit, QColor(Qt::transparent), 1.3);
    return {kDir + QStringLiteral("RecVideo.png"), QStringLiteral("LiveViewMarks"), canvas.finish()};
}

// Drawn at half its size on the picture: the four corners of a focus field
// and short arms out to the sides, white with a dark edge for any picture.
Image focusCross()
{
    Canvas canvas(40, 40);
    QPainter& p = canvas.painter();
    const QPointF c(20, 20);
    const qreal h = 10;
    const qreal l = 4.5;
    QPainterPath path;
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            const QPointF corner = c + QPointF(sx * h, sy * h);
            path.moveTo(corner - QPointF(sx * l, 0));
            path.lineTo(corner);
            path.lineTo(corner - QPointF(0, sy * l));
        }
    }
    path.moveTo(c.x() - h - 2, c.y());
    path.lineTo(c.x() - h - 8, c.y());
    path.moveTo(c.x() + h + 2, c.y());
    path.lineTo(c.x() + h + 8, c.y());
    path.moveTo(c.x(), c.y() - h - 2);
    path.lineTo(c.x(), c.y() - h - 8);
    path.moveTo(c.x(), c.y() + h + 2);
    path.lineTo(c.x(), c.y() + h + 8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(Colour::lit, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    return {kDir + QStringLiteral("FocusCross.png"), QStringLiteral("LiveViewMarks"), canvas.finish()};
}

Image expSpot()
{
    Canvas canvas(12, 12);
    QPainter& p = canvas.painter();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 2.4));
    p.drawEllipse(QPointF(6, 6), 4.4, 4.4);
    p.setPen(QPen(Colour::accent, 1.2));
    p.drawEllipse(QPointF(6, 6), 4.4, 4.4);
    return {kDir + QStringLiteral("ExpSpot.png"), QStringLiteral("LiveViewMarks"), canvas.finish()};
}

// The grey-card field mark: its tip is the image's top left corner, where
// the viewer places it.
Image pipetteMark()
{
    Canvas canvas(16, 16);
    drawPipette(canvas.painter(), QPointF(0.9, 0.9), 20.5, Colour::lit, QColor(0, 0, 0, 170), 1.2);
    return {kDir + QStringLiteral("GCPipette.png"), QStringLiteral("LiveViewMarks"), canvas.finish()};
}

}  // namespace

void addLiveViewImages(ImageList& out)
{
    const QString zoom = QStringLiteral("Zoom");
    out.append(button(QStringLiteral("Zoom_notChecked.png"), zoom, Looks::normal, magnifier));
    out.append(button(QStringLiteral("Zoom_hover.png"), zoom, Looks::hover, magnifier));
    out.append(button(QStringLiteral("Zoom_checked.png"), zoom, Looks::checked, magnifier));
    const QString pip = QStringLiteral("GCPipette");
    out.append(button(QStringLiteral("GCPipette_notChecked.png"), pip, Looks::normal, pipetteIcon));
    out.append(button(QStringLiteral("GCPipette_hover.png"), pip, Looks::hover, pipetteIcon));
    out.append(button(QStringLiteral("GCPipette_checked.png"), pip, Looks::checked, pipetteIcon));
    const QString af = QStringLiteral("AFon");
    out.append(button(QStringLiteral("AFon_normal.png"), af, Looks::normal, afLetters));
    out.append(button(QStringLiteral("AFon_hover.png"), af, Looks::hover, afLetters));
    out.append(button(QStringLiteral("AFon_pressed.png"), af, Looks::pressed, afLetters));
    const QString save = QStringLiteral("GCSave");
    out.append(button(QStringLiteral("GCSave_normal.png"), save, Looks::normal, floppy));
    out.append(button(QStringLiteral("GCSave_hover.png"), save, Looks::hover, floppy));
    // "checked" is the resting state of each exposure simulation value; the
    // button is unchecked only while simulation is off.
    const QString sim = QStringLiteral("ExpSimulation");
    out.append(button(QStringLiteral("ExpSimulation_off_checked.png"), sim, Looks::normal, apertureOffIcon));
    out.append(button(QStringLiteral("ExpSimulation_off_hover.png"), sim, Looks::hover, apertureOffIcon));
    out.append(
        button(QStringLiteral("ExpSimulation_apertureShutter_checked.png"), sim, Looks::checked, apertureShutterIcon));
    out.append(button(QStringLiteral("ExpSimulation_apertureShutter_hover.png"), sim, Looks::checkedHover,
                      apertureShutterIcon));
    out.append(button(QStringLiteral("ExpSimulation_aperture_checked.png"), sim, Looks::checked, apertureIcon));
    out.append(button(QStringLiteral("ExpSimulation_aperture_hover.png"), sim, Looks::checkedHover, apertureIcon));

    out.append(moveArrow(QStringLiteral("left"), 180));
    out.append(moveArrow(QStringLiteral("right"), 0));
    out.append(moveArrow(QStringLiteral("up"), -90));
    out.append(moveArrow(QStringLiteral("down"), 90));
    out.append(recVideo());
    out.append(focusCross());
    out.append(expSpot());
    out.append(pipetteMark());
}

}  // namespace Art
