#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include "artgen.h"

// The brand mark, the camera pictures of the window's top area, the battery
// states, the transfer animation, the small marks of the input fields, the
// image database placeholder and the application icon.

namespace Art {

namespace {

const QString kImages = QStringLiteral("OLP_GUI/images/");

Image logo()
{
    Canvas canvas(64, 64);
    drawMark(canvas.painter(), QRectF(1, 1, 62, 62), Colour::accent, Colour::lit);
    return {kImages + QStringLiteral("OrvaneLogo.png"), QStringLiteral("Camera"), canvas.finish()};
}

// The top plate and the covering shared by body and grip.
constexpr qreal kPlateTop = 10;
constexpr qreal kPlateBottom = 19;
constexpr qreal kBodyBottom = 58;
const QColor kPlate(0x6c, 0x6c, 0x6c);
const QColor kPlateLight(0x8e, 0x8e, 0x8e);
const QColor kCovering(0x3c, 0x3c, 0x3c);

void bodyShell(QPainter& p, const QRectF& r, qreal radius)
{
    QPainterPath outline;
    outline.addRoundedRect(r, radius, radius);
    p.save();
    p.setClipPath(outline);
    p.fillRect(r, kCovering);
    QLinearGradient plate(0, kPlateTop, 0, kPlateBottom);
    plate.setColorAt(0, kPlateLight);
    plate.setColorAt(1, kPlate);
    p.fillRect(QRectF(r.left(), kPlateTop, r.width(), kPlateBottom - kPlateTop), plate);
    // The covering's fine grain.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x48, 0x48, 0x48));
    for (qreal y = kPlateBottom + 2.5; y < r.bottom(); y += 3) {
        for (qreal x = r.left() + 1.5 + (int(y) % 2) * 1.5; x < r.right(); x += 3) {
            p.drawEllipse(QPointF(x, y), 0.45, 0.45);
        }
    }
    p.restore();
    p.setPen(QPen(Colour::border, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, radius, radius);
}

Image cameraBody()
{
    Canvas canvas(96, 60);
    QPainter& p = canvas.painter();
    // Shutter button and dial on the top plate.
    p.setPen(QPen(Colour::border, 0.8));
    p.setBrush(kPlateLight);
    p.drawRoundedRect(QRectF(66, 6.5, 12, 4.5), 1.2, 1.2);
    p.drawRoundedRect(QRectF(50, 7.5, 10, 3.5), 1, 1);
    bodyShell(p, QRectF(1, kPlateTop, 94, kBodyBottom - kPlateTop), 5);
    // Viewfinder and rangefinder windows.
    p.setPen(QPen(Colour::border, 0.8));
    QLinearGradient glass(0, 12, 0, 17);
    glass.setColorAt(0, QColor(0x9a, 0xae, 0xba));
    glass.setColorAt(1, QColor(0x4a, 0x5a, 0x66));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(8, 12, 14, 5.5), 1, 1);
    p.drawRoundedRect(QRectF(76, 12, 10, 5.5), 1, 1);
    // Brand dot.
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::accent);
    p.drawEllipse(QPointF(30, 14.5), 1.8, 1.8);
    // The lens.
    const QPointF c(48, 38);
    p.setPen(QPen(Colour::border, 1.0));
    QLinearGradient barrel(0, c.y() - 18, 0, c.y() + 18);
    barrel.setColorAt(0, QColor(0x7a, 0x7a, 0x7a));
    barrel.setColorAt(1, QColor(0x3a, 0x3a, 0x3a));
    p.setBrush(barrel);
    p.drawEllipse(c, 18, 18);
    p.setBrush(QColor(0x26, 0x26, 0x26));
    p.drawEllipse(c, 14.5, 14.5);
    QRadialGradient lens(c + QPointF(-3, -4), 14);
    lens.setColorAt(0, QColor(0x4c, 0x5e, 0x70));
    lens.setColorAt(0.6, QColor(0x1c, 0x24, 0x2c));
    lens.setColorAt(1, QColor(0x0c, 0x10, 0x14));
    p.setPen(Qt::NoPen);
    p.setBrush(lens);
    p.drawEllipse(c, 11, 11);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(c + QPointF(-4, -4.5), 2.6, 1.8);
    return {kImages + QStringLiteral("CameraBody.png"), QStringLiteral("Camera"), canvas.finish()};
}

Image cameraHandle()
{
    Canvas canvas(28, 60);
    QPainter& p = canvas.painter();
    bodyShell(p, QRectF(1, kPlateTop, 26, kBodyBottom - kPlateTop), 5);
    // Grip ribs.
    p.setPen(QPen(QColor(0x2e, 0x2e, 0x2e), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (qreal x = 7; x <= 21; x += 3.5) {
        p.drawLine(QPointF(x, kPlateBottom + 6), QPointF(x, kBodyBottom - 6));
    }
    return {kImages + QStringLiteral("CameraHandle.png"), QStringLiteral("Camera"), canvas.finish()};
}

Image arrow(bool active)
{
    Canvas canvas(10, 6);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(active ? Colour::icon : Colour::inactive);
    p.drawPath(triangle({0.5, 0.8}, {9.5, 0.8}, {5, 5.6}));
    return {kImages + (active ? QStringLiteral("downarrow.png") : QStringLiteral("downarrow_inact.png")),
            QStringLiteral("Marks"), canvas.finish()};
}

Image infinity()
{
    Canvas canvas(16, 8);
    QPainter& p = canvas.painter();
    QPainterPath path;
    const QPointF c(8, 4);
    path.moveTo(c);
    path.cubicTo(c + QPointF(2.5, -4.2), c + QPointF(7.2, -3.4), c + QPointF(7.0, 0));
    path.cubicTo(c + QPointF(6.8, 3.4), c + QPointF(2.5, 4.2), c);
    path.cubicTo(c + QPointF(-2.5, -4.2), c + QPointF(-7.2, -3.4), c + QPointF(-7.0, 0));
    path.cubicTo(c + QPointF(-6.8, 3.4), c + QPointF(-2.5, 4.2), c);
    p.setPen(QPen(Colour::icon, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return {kImages + QStringLiteral("infinity.png"), QStringLiteral("Marks"), canvas.finish()};
}

// The transfer indicator: an arrow dropping into a tray; frame 0 rests
// grey, frames 1 to 5 move the arrow down.
Image loadEffect(int frame)
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    const bool idle = frame == 0;
    const QColor tray = idle ? Colour::inactive : Colour::icon;
    const QColor arrowColour = idle ? Colour::inactive : Colour::accent;
    p.setPen(QPen(tray, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{1.5, 10}, {1.5, 14.5}, {14.5, 14.5}, {14.5, 10}}));
    const qreal offset = idle ? 0 : -4.0 + (frame - 1) * 2.0;
    p.save();
    p.setClipRect(QRectF(0, 0, 16, 13.2));
    p.translate(0, offset);
    p.setPen(Qt::NoPen);
    p.setBrush(arrowColour);
    p.drawRect(QRectF(6.6, 0.5, 2.8, 6.5));
    p.drawPath(triangle({3.2, 6.5}, {12.8, 6.5}, {8, 12.2}));
    p.restore();
    const QString name = idle ? QStringLiteral("LoadEffectDefault") : QStringLiteral("LoadEffect%1").arg(frame);
    return {kImages + QStringLiteral("LoadEffect/%1.png").arg(name), QStringLiteral("LoadEffect"), canvas.finish()};
}

enum class Battery
{
    AC,
    P10,
    P25,
    P50,
    P75,
    P100,
    Empty
};

Image battery(Battery kind, const QString& name)
{
    Canvas canvas(24, 12);
    QPainter& p = canvas.painter();
    if (kind == Battery::AC) {
        // A mains plug with its cable.
        p.setPen(QPen(Colour::icon, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath cable;
        cable.moveTo(1, 9.5);
        cable.cubicTo(5, 9.5, 5, 6, 9, 6);
        p.drawPath(cable);
        p.setPen(Qt::NoPen);
        p.setBrush(Colour::icon);
        p.drawRoundedRect(QRectF(9, 2, 8, 8), 2, 2);
        p.drawRect(QRectF(17, 3.3, 5.5, 1.5));
        p.drawRect(QRectF(17, 7.2, 5.5, 1.5));
        p.setBrush(Colour::accent);
        p.drawEllipse(QPointF(12.5, 6), 1.2, 1.2);
        return {kImages + name, QStringLiteral("Battery"), canvas.finish()};
    }
    const QColor outline = kind == Battery::Empty ? Colour::red : Colour::icon;
    p.setPen(QPen(outline, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.9, 1.4, 20.2, 9.2), 1.6, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawRoundedRect(QRectF(21.4, 4, 2.2, 4), 0.6, 0.6);
    int cells = 0;
    switch (kind) {
        case Battery::P25:
            cells = 1;
            break;
        case Battery::P50:
            cells = 2;
            break;
        case Battery::P75:
            cells = 3;
            break;
        case Battery::P100:
            cells = 4;
            break;
        default:
            break;
    }
    const qreal cellW = (17.0 - 3 * 1.0) / 4;
    p.setBrush(Colour::icon);
    for (int i = 0; i < cells; ++i) {
        p.drawRect(QRectF(2.5 + i * (cellW + 1.0), 3.0, cellW, 6.0));
    }
    if (kind == Battery::P10) {
        p.setBrush(Colour::red);
        p.drawRect(QRectF(2.5, 3.0, 1.8, 6.0));
    }
    if (kind == Battery::Empty) {
        p.setPen(QPen(Colour::red, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.5, 3.6), QPointF(13.5, 8.4));
        p.drawLine(QPointF(13.5, 3.6), QPointF(8.5, 8.4));
    }
    return {kImages + name, QStringLiteral("Battery"), canvas.finish()};
}

}  // namespace

void addMiscImages(ImageList& out)
{
    out.append(logo());
    out.append(cameraBody());
    out.append(cameraHandle());
    out.append(arrow(true));
    out.append(arrow(false));
    out.append(infinity());
    for (int frame = 0; frame <= 5; ++frame) {
        out.append(loadEffect(frame));
    }
    out.append(battery(Battery::AC, QStringLiteral("BatteryAC.png")));
    out.append(battery(Battery::P10, QStringLiteral("Battery10perCent.png")));
    out.append(battery(Battery::P25, QStringLiteral("Battery25perCent.png")));
    out.append(battery(Battery::P50, QStringLiteral("Battery50perCent.png")));
    out.append(battery(Battery::P75, QStringLiteral("Battery75perCent.png")));
    out.append(battery(Battery::P100, QStringLiteral("Battery100perCent.png")));
    out.append(battery(Battery::Empty, QStringLiteral("BatteryEmpty.png")));
}

// The picture the image database shows until a thumbnail is read: a light
// arrow pointing down onto a tray on a dark tile, 96 pixels square.
Image downloadPlaceholder()
{
    Canvas canvas(96, 96, 1.0);
    QPainter& p = canvas.painter();
    p.fillRect(QRectF(0, 0, 96, 96), Colour::window);
    const QColor light(0xd8, 0xd8, 0xd8);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(QRectF(41, 18, 14, 32));
    p.drawPath(triangle({23, 46}, {73, 46}, {48, 71}));
    p.setPen(QPen(light, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{23, 63}, {23, 77}, {73, 77}, {73, 63}}));
    return {QStringLiteral("logic/images/download.png"), QStringLiteral("Placeholder"), canvas.finish()};
}

QVector<Image> applicationIcons()
{
    QVector<Image> icons;
    for (int size : {48, 64, 128, 256}) {
        Canvas canvas(size, size, 1.0);
        QPainter& p = canvas.painter();
        const qreal s = size;
        QLinearGradient tile(0, 0, 0, s);
        tile.setColorAt(0, QColor(0x44, 0x44, 0x44));
        tile.setColorAt(1, QColor(0x2a, 0x2a, 0x2a));
        p.setPen(QPen(QColor(0x1e, 0x1e, 0x1e), qMax(1.0, s / 64)));
        p.setBrush(tile);
        const qreal edge = s / 32;
        p.drawRoundedRect(QRectF(edge, edge, s - 2 * edge, s - 2 * edge), s * 0.18, s * 0.18);
        const qreal inset = s * 0.16;
        drawMark(p, QRectF(inset, inset, s - 2 * inset, s - 2 * inset), Colour::accent, Colour::lit);
        icons.append({QStringLiteral("icons/hicolor/%1x%1/apps/orvane-lumaport.png").arg(size), QStringLiteral("Icon"),
                      canvas.finish()});
    }
    return icons;
}

}  // namespace Art
