#include <QLinearGradient>
#include <QtMath>

#include "artgen.h"

// The camera window's buttons: the shutter button with the power switch
// around it, the video button, the checkable tool buttons and the narrow
// switch for the minimal window, each in every state the style sheet names.

namespace Art {

namespace {

const QString kImages = QStringLiteral("OLP_GUI/images/");

constexpr qreal kToolW = 33;
constexpr qreal kToolH = 30;

// ---- tool button icons, drawn into a 20 x 18 box ----------------------

void padlock(QPainter& p, const QRectF& b, const Look& look)
{
    const qreal cx = b.center().x();
    p.setPen(QPen(look.icon, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(cx - 4.6, b.top() + 9);
    shackle.lineTo(cx - 4.6, b.top() + 5.6);
    shackle.arcTo(QRectF(cx - 4.6, b.top() + 1, 9.2, 9.2), 180, -180);
    shackle.lineTo(cx + 4.6, b.top() + 9);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    p.drawRoundedRect(QRectF(cx - 7, b.top() + 8.5, 14, 9.5), 1.6, 1.6);
    p.setBrush(look.face);
    p.drawEllipse(QPointF(cx, b.top() + 12.2), 1.6, 1.6);
    p.drawRect(QRectF(cx - 0.7, b.top() + 12.2, 1.4, 3.6));
}

void screen(QPainter& p, const QRectF& b, const Look& look)
{
    p.setPen(QPen(look.icon, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(b.left() + 0.75, b.top() + 0.75, b.width() - 1.5, b.height() - 4), 1.5, 1.5);
    p.drawLine(QPointF(b.center().x() - 4, b.bottom() - 0.6), QPointF(b.center().x() + 4, b.bottom() - 0.6));
}

void liveViewPhoto(QPainter& p, const QRectF& b, const Look& look)
{
    screen(p, b, look);
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    const qreal base = b.bottom() - 5.8;
    QPainterPath hills;
    hills.moveTo(b.left() + 3.5, base);
    hills.lineTo(b.left() + 8.5, b.top() + 5.5);
    hills.lineTo(b.left() + 11.5, b.top() + 9);
    hills.lineTo(b.left() + 13.5, b.top() + 7);
    hills.lineTo(b.right() - 3.5, base);
    hills.closeSubpath();
    p.drawPath(hills);
    p.drawEllipse(QPointF(b.right() - 5.2, b.top() + 4.6), 1.5, 1.5);
}

void liveViewVideo(QPainter& p, const QRectF& b, const Look& look)
{
    screen(p, b, look);
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    const qreal cy = b.top() + 7.2;
    p.drawRoundedRect(QRectF(b.left() + 4, cy - 3.2, 8, 6.4), 1, 1);
    p.drawPath(triangle({b.left() + 12.6, cy}, {b.right() - 4, cy - 3.4}, {b.right() - 4, cy + 3.4}));
}

void mirrorUp(QPainter& p, const QRectF& b, const Look& look)
{
    // The mirror swung up against the top, the path it takes, and an arrow.
    p.setPen(QPen(look.icon, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(b.left() + 2, b.top() + 2.5), QPointF(b.left() + 12, b.top() + 2.5));
    QPen dashed(look.icon, 1.2, Qt::DotLine, Qt::RoundCap);
    p.setPen(dashed);
    p.drawLine(QPointF(b.left() + 2, b.top() + 2.5), QPointF(b.left() + 11, b.bottom() - 1.5));
    p.setPen(QPen(look.icon, 1.8, Qt::SolidLine, Qt::RoundCap));
    const qreal ax = b.right() - 3.5;
    p.drawLine(QPointF(ax, b.bottom() - 1), QPointF(ax, b.top() + 3));
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    p.drawPath(triangle({ax, b.top() + 0.5}, {ax - 3.6, b.top() + 5.5}, {ax + 3.6, b.top() + 5.5}));
}

void eye(QPainter& p, const QRectF& b, const Look& look)
{
    const QPointF c = b.center();
    QPainterPath almond;
    almond.moveTo(b.left() + 1, c.y());
    almond.quadTo(c.x(), c.y() - 11.5, b.right() - 1, c.y());
    almond.quadTo(c.x(), c.y() + 11.5, b.left() + 1, c.y());
    p.setPen(QPen(look.icon, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(almond);
    p.setPen(Qt::NoPen);
    p.setBrush(look.icon);
    p.drawEllipse(c, 3.4, 3.4);
    p.setBrush(look.face);
    p.drawEllipse(c + QPointF(1.1, -1.1), 1.0, 1.0);
}

using IconFn = void (*)(QPainter&, const QRectF&, const Look&);

Image toolButton(const QString& name, const QString& state, const Look& look, IconFn icon)
{
    Canvas canvas(kToolW, kToolH);
    QPainter& p = canvas.painter();
    drawButtonFace(p, QRectF(0, 0, kToolW, kToolH), look.face, look.edge);
    icon(p, QRectF(6.5, 6, 20, 18), look);
    return {kImages + QStringLiteral("%1_%2.png").arg(name, state), name, canvas.finish()};
}

// ---- shutter button ----------------------------------------------------

enum class Switch
{
    Void,
    Off,
    Fps,
    Cs
};

qreal switchAngle(Switch s)
{
    switch (s) {
        case Switch::Off:
            return 135;
        case Switch::Fps:
            return 180;
        case Switch::Cs:
            return 225;
        case Switch::Void:
            break;
    }
    return 0;
}

QPointF polar(QPointF c, qreal r, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return c + QPointF(qCos(a), qSin(a)) * r;
}

Image releaseButton(Switch sw, const QString& swName, const QString& state)
{
    Canvas canvas(48, 48);
    QPainter& p = canvas.painter();
    const QPointF c(24, 24);
    if (sw == Switch::Void) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2c, 0x2c, 0x2c));
        p.drawEllipse(c, 17, 17);
    } else {
        // The switch collar with the three positions and its lever.
        p.setPen(QPen(Colour::border, 1.0));
        p.setBrush(QColor(0x4e, 0x4e, 0x4e));
        p.drawEllipse(c, 20.5, 20.5);
        p.setBrush(QColor(0x2c, 0x2c, 0x2c));
        p.drawEllipse(c, 15.5, 15.5);
        // The lever sits on the collar at the switch position; a mark on the
        // collar under each position, the chosen one lit.
        p.setPen(Qt::NoPen);
        for (Switch s : {Switch::Off, Switch::Fps, Switch::Cs}) {
            const bool active = s == sw;
            p.setBrush(active ? (s == Switch::Off ? Colour::icon : Colour::accent) : QColor(0x70, 0x70, 0x70));
            p.drawEllipse(polar(c, 18, switchAngle(s)), active ? 1.7 : 1.1, active ? 1.7 : 1.1);
        }
        const qreal a = switchAngle(sw);
        QPolygonF lever({polar(c, 20.2, a - 9), polar(c, 23.7, a - 5), polar(c, 23.7, a + 5), polar(c, 20.2, a + 9)});
        p.setPen(QPen(Colour::border, 0.8));
        p.setBrush(sw == Switch::Off ? QColor(0x8a, 0x8a, 0x8a) : QColor(0xd0, 0xd0, 0xd0));
        p.drawPolygon(lever);
    }

    const bool pressed = state == QLatin1String("pressed");
    const bool hover = state == QLatin1String("hover");
    const qreal r = pressed ? 12.2 : 13.2;
    QLinearGradient metal(c.x(), c.y() - r, c.x(), c.y() + r);
    if (pressed) {
        metal.setColorAt(0, QColor(0x8e, 0x8e, 0x8e));
        metal.setColorAt(1, QColor(0xc8, 0xc8, 0xc8));
    } else {
        metal.setColorAt(0, hover ? QColor(0xff, 0xff, 0xff) : QColor(0xea, 0xea, 0xea));
        metal.setColorAt(1, hover ? QColor(0xb4, 0xb4, 0xb4) : QColor(0x9c, 0x9c, 0x9c));
    }
    p.setPen(hover || pressed ? QPen(Colour::accent, 1.6) : QPen(Colour::border, 1.0));
    p.setBrush(metal);
    p.drawEllipse(c, r, r);
    // A shallow dish in the middle of the button.
    QLinearGradient dish(c.x(), c.y() - 6, c.x(), c.y() + 6);
    dish.setColorAt(0, QColor(0, 0, 0, pressed ? 40 : 28));
    dish.setColorAt(1, QColor(255, 255, 255, pressed ? 10 : 60));
    p.setPen(Qt::NoPen);
    p.setBrush(dish);
    p.drawEllipse(c, 6.5, 6.5);
    if (pressed) {
        p.setBrush(Colour::accent);
        p.drawEllipse(c, 2.2, 2.2);
    }
    return {kImages + QStringLiteral("ReleaseButton_%1_%2.png").arg(swName, state),
            QStringLiteral("ReleaseButton_%1").arg(swName), canvas.finish()};
}

Image videoButton(const QString& state)
{
    Canvas canvas(kToolW, kToolH);
    QPainter& p = canvas.painter();
    const bool hover = state == QLatin1String("hover");
    const bool pressed = state == QLatin1String("pressed");
    const Look& look = pressed ? Looks::pressed : hover ? Looks::hover : Looks::normal;
    drawButtonFace(p, QRectF(0, 0, kToolW, kToolH), look.face, look.edge);
    const QPointF c(kToolW / 2, kToolH / 2);
    if (hover) {
        p.setPen(QPen(Colour::iconHover, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 8.6, 8.6);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(pressed ? QColor(0xa8, 0x30, 0x2b) : hover ? QColor(0xff, 0x5a, 0x50) : Colour::red);
    p.drawEllipse(c, 6.6, 6.6);
    if (pressed) {
        p.setBrush(QColor(0xff, 0xff, 0xff, 200));
        p.drawRect(QRectF(c.x() - 2.2, c.y() - 2.2, 4.4, 4.4));
    }
    return {kImages + QStringLiteral("VideoButton_%1.png").arg(state), QStringLiteral("VideoButton"), canvas.finish()};
}

Image minGui(bool checked, bool hover)
{
    Canvas canvas(11, 30);
    QPainter& p = canvas.painter();
    const Look& look = hover ? Looks::hover : checked ? Looks::checked : Looks::normal;
    drawButtonFace(p, QRectF(0, 0, 11, 30), look.face, look.edge);
    const QColor icon = checked ? Colour::accent : look.icon;
    p.setPen(QPen(icon, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Expanded window: the chevron folds the settings away (up); minimal
    // window: it unfolds them (down).
    for (qreal y : {11.5, 17.5}) {
        const qreal d = checked ? 2.2 : -2.2;
        p.drawPolyline(QPolygonF({{2.5, y - d / 2 + 1}, {5.5, y + d / 2 + 1}, {8.5, y - d / 2 + 1}}));
    }
    const QString state = QStringLiteral("%1%2").arg(checked ? QStringLiteral("checked") : QStringLiteral("notChecked"),
                                                     hover ? QStringLiteral("_hover") : QString());
    return {kImages + QStringLiteral("MinGUI_%1.png").arg(state), QStringLiteral("MinGUI"), canvas.finish()};
}

}  // namespace

void addButtonImages(ImageList& out)
{
    const QVector<QPair<Switch, QString>> switches = {{Switch::Void, QStringLiteral("VOID")},
                                                      {Switch::Off, QStringLiteral("OFF")},
                                                      {Switch::Fps, QStringLiteral("FPS")},
                                                      {Switch::Cs, QStringLiteral("CS")}};
    for (const auto& sw : switches) {
        for (const QString& state :
             {QStringLiteral("notPressed"), QStringLiteral("hover"), QStringLiteral("pressed")}) {
            out.append(releaseButton(sw.first, sw.second, state));
        }
    }
    for (const QString& state : {QStringLiteral("notPressed"), QStringLiteral("hover"), QStringLiteral("pressed")}) {
        out.append(videoButton(state));
    }
    const QVector<QPair<QString, IconFn>> tools = {{QStringLiteral("KeyLockButton"), padlock},
                                                   {QStringLiteral("LiveViewPhotoButton"), liveViewPhoto},
                                                   {QStringLiteral("LiveViewVideoButton"), liveViewVideo},
                                                   {QStringLiteral("MirrorButton"), mirrorUp},
                                                   {QStringLiteral("QuickViewButton"), eye}};
    for (const auto& tool : tools) {
        out.append(toolButton(tool.first, QStringLiteral("notChecked"), Looks::normal, tool.second));
        out.append(toolButton(tool.first, QStringLiteral("hover"), Looks::hover, tool.second));
        out.append(toolButton(tool.first, QStringLiteral("checked"), Looks::checked, tool.second));
    }
    out.append(minGui(false, false));
    out.append(minGui(false, true));
    out.append(minGui(true, false));
    out.append(minGui(true, true));
}

}  // namespace Art
