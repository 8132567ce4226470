#include <QtMath>
#include <algorithm>

#include "artgen.h"

// The status line of the viewfinder layout with text fields: mode letters,
// the automatic ISO mark, the unit marks beside aperture and shutter time
// (highlighted while the exposure is simulated), the flash mark, and the
// light balance and compensation scales in thirds or halves of a stop.

namespace Art {

namespace {

const QString kDir = QStringLiteral("OLP_GUI/images/ViewFinderPelvo/");
const QColor kDark(0x2b, 0x2b, 0x2b);

Image modeImage(const QString& name, QChar letter, bool star)
{
    Canvas canvas(20, 20);
    QPainter& p = canvas.painter();
    drawSeg14(p, QRectF(1.5, 1.5, 12.5, 17), seg14Mask(letter), Colour::lit, QColor(Qt::transparent), 2.0);
    if (star) {
        drawSeg14(p, QRectF(14.0, 1.0, 5.6, 7.6), seg14Mask(QLatin1Char('*')), Colour::lit, QColor(Qt::transparent),
                  1.0, 0.0);
    }
    return {kDir + QStringLiteral("expMode/VFPelvo_expMode_%1.png").arg(name), QStringLiteral("PelvoMode"),
            canvas.finish()};
}

Image isoAuto(bool on)
{
    Canvas canvas(28, 10);
    drawSeg14Text(canvas.painter(), QRectF(0.5, 0.5, 27, 9), QStringLiteral("AUTO"), on ? Colour::lit : Colour::ghost,
                  QColor(Qt::transparent), 1.1);
    return {
        kDir + QStringLiteral("isoAuto/VFPelvo_isoAuto_%1.png").arg(on ? QStringLiteral("on") : QStringLiteral("off")),
        QStringLiteral("PelvoMarks"), canvas.finish()};
}

// The unit letter; while the exposure is simulated it sits dark on an
// orange tab.
Image unitMark(const QString& unit, QChar letter, bool on)
{
    Canvas canvas(10, 12);
    QPainter& p = canvas.painter();
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(Colour::accent);
        p.drawRoundedRect(QRectF(0.3, 0.3, 9.4, 11.4), 2.0, 2.0);
    }
    drawSeg14(p, QRectF(2.0, 2.0, 6.4, 8.0), seg14Mask(letter), on ? kDark : Colour::lit, QColor(Qt::transparent), 1.2,
              0.0);
    return {kDir + QStringLiteral("expSim/VFPelvo_%1_expSim_%2.png")
                       .arg(unit, on ? QStringLiteral("on") : QStringLiteral("off")),
            QStringLiteral("PelvoMarks"), canvas.finish()};
}

Image flashOn()
{
    Canvas canvas(10, 14);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::lit);
    p.drawPath(boltPath(QRectF(1, 0.8, 8, 12.4)));
    return {kDir + QStringLiteral("flashStatus/VFPelvo_flashOn.png"), QStringLiteral("PelvoMarks"), canvas.finish()};
}

// ---- scales ------------------------------------------------------------

constexpr qreal kScaleW = 110;

qreal scaleX(qreal stops)
{
    return kScaleW / 2 + stops * 15.5;
}

// The step in stops for a step text: 333 thirds, anything else halves.
qreal stepStops(int step)
{
    return step == 333 ? 1.0 / 3.0 : 0.5;
}

enum class BalanceState
{
    Value,
    Inactive,
    Over,
    Under
};

Image balanceScale(const QString& text, int step, BalanceState state, qreal stops)
{
    Canvas canvas(kScaleW, 14);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    const QColor arrowUnder = state == BalanceState::Under ? Colour::lit : Colour::ghost;
    const QColor arrowOver = state == BalanceState::Over ? Colour::lit : Colour::ghost;
    p.setBrush(arrowUnder);
    p.drawPath(triangle({0.5, 4.5}, {5.5, 1.2}, {5.5, 7.8}));
    p.setBrush(arrowOver);
    p.drawPath(triangle({kScaleW - 0.5, 4.5}, {kScaleW - 5.5, 1.2}, {kScaleW - 5.5, 7.8}));

    const qreal s = stepStops(step);
    const int n = qRound(3.0 / s);
    const qreal blockW = 15.5 * s * 0.62;
    for (int k = -n; k <= n; ++k) {
        const qreal at = k * s;
        const qreal x = scaleX(at);
        bool lit = false;
        if (state == BalanceState::Value) {
            // The bar grows from the centre to the value.
            lit =
                (k == 0) || (stops > 0 && at > 0 && at <= stops + 0.05) || (stops < 0 && at < 0 && at >= stops - 0.05);
        }
        p.setBrush(lit ? Colour::lit : Colour::ghost);
        p.drawRect(QRectF(x - blockW / 2, 1.8, blockW, 5.4));
        // Ticks under the bar: whole stops longer, the centre longest.
        const bool whole = qAbs(at - qRound(at)) < 0.01;
        const qreal h = (k == 0) ? 5.2 : whole ? 3.8 : 2.2;
        p.setBrush(state == BalanceState::Inactive ? Colour::ghost : Colour::inactive);
        p.drawRect(QRectF(x - 0.5, 8.6, 1.0, h));
    }
    if (state == BalanceState::Value) {
        // The bar counts whole steps; the pointer under it shows the value
        // itself (a half-stop value on a scale in thirds, for instance).
        const qreal x = scaleX(stops);
        p.setBrush(Colour::lit);
        p.drawPath(triangle({x, 8.2}, {x - 2.4, 13.4}, {x + 2.4, 13.4}));
    }
    return {kDir + QStringLiteral("LightBal/VFPelvo_LightBal_%1_(%2).png").arg(text).arg(step),
            QStringLiteral("PelvoLightBal%1").arg(step), canvas.finish()};
}

Image compensationScale(const QString& text, int step, qreal stops)
{
    Canvas canvas(kScaleW, 10);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    const qreal s = stepStops(step);
    const int n = qRound(3.0 / s);
    for (int k = -n; k <= n; ++k) {
        const qreal at = k * s;
        const bool whole = qAbs(at - qRound(at)) < 0.01;
        p.setBrush(whole ? Colour::inactive : Colour::ghost);
        const qreal r = whole ? 1.1 : 0.8;
        p.drawEllipse(QPointF(scaleX(at), 8.2), r, r);
    }
    const qreal x = scaleX(stops);
    p.setBrush(Colour::lit);
    p.drawPath(triangle({x, 0.6}, {x - 3.6, 6.8}, {x + 3.6, 6.8}));
    return {kDir + QStringLiteral("ExpComp/VFPelvo_ExpComp_%1_(%2).png").arg(text).arg(step),
            QStringLiteral("PelvoExpComp%1").arg(step), canvas.finish()};
}

// The value texts the widgets build: "+" above zero, one decimal, for every
// third and every half stop from -3 to +3.
QVector<qreal> scaleValues()
{
    QVector<qreal> values;
    for (int k = -9; k <= 9; ++k) {
        values.append(k / 3.0);
    }
    for (int k = -5; k <= 5; k += 2) {
        values.append(k / 2.0);
    }
    std::sort(values.begin(), values.end());
    return values;
}

QString valueText(qreal stops)
{
    return (stops > 0 ? QStringLiteral("+") : QString()) + QString::number(stops, 'f', 1);
}

}  // namespace

void addPelvoImages(ImageList& out)
{
    out.append(modeImage(QStringLiteral("M"), QLatin1Char('M'), false));
    out.append(modeImage(QStringLiteral("S"), QLatin1Char('S'), false));
    out.append(modeImage(QStringLiteral("A"), QLatin1Char('A'), false));
    out.append(modeImage(QStringLiteral("P"), QLatin1Char('P'), false));
    out.append(modeImage(QStringLiteral("Pstar"), QLatin1Char('P'), true));
    out.append(isoAuto(true));
    out.append(isoAuto(false));
    out.append(flashOn());
    for (bool on : {true, false}) {
        out.append(unitMark(QStringLiteral("F"), QLatin1Char('F'), on));
        out.append(unitMark(QStringLiteral("S"), QLatin1Char('S'), on));
        out.append(unitMark(QStringLiteral("m"), QLatin1Char('m'), on));
    }
    for (int step : {333, 500}) {
        for (qreal v : scaleValues()) {
            out.append(compensationScale(valueText(v), step, v));
        }
        for (qreal v : scaleValues()) {
            out.append(balanceScale(valueText(v), step, BalanceState::Value, v));
        }
        out.append(balanceScale(QStringLiteral("inact"), step, BalanceState::Inactive, 0));
        out.append(balanceScale(QStringLiteral("over"), step, BalanceState::Over, 0));
        out.append(balanceScale(QStringLiteral("under"), step, BalanceState::Under, 0));
    }
}

}  // namespace Art
