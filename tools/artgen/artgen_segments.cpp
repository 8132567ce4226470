#include "artgen.h"

// The viewfinder's seven-segment digits, its exposure mode letters and the
// digits of the transfer counter.

namespace Art {

namespace {

constexpr qreal kDigitW = 11;
constexpr qreal kDigitH = 20;
constexpr qreal kDigitT = 2.1;

const QString kDigitDir = QStringLiteral("OLP_GUI/images/7Segment/");

Image digit(const QString& name, unsigned mask)
{
    Canvas canvas(kDigitW, kDigitH);
    drawSeg7(canvas.painter(), QRectF(0.5, 0.5, kDigitW - 1, kDigitH - 1), mask, Colour::lit, Colour::ghost, kDigitT);
    return {kDigitDir + QStringLiteral("Digit_%1.png").arg(name), QStringLiteral("7Segment"), canvas.finish()};
}

// The seconds mark: two short strokes high in the cell, leaning like the
// digits, with the unlit segments behind them.
Image inchDigit()
{
    Canvas canvas(kDigitW, kDigitH);
    QPainter& p = canvas.painter();
    const QRectF box(0.5, 0.5, kDigitW - 1, kDigitH - 1);
    drawSeg7(p, box, 0, Colour::lit, Colour::ghost, kDigitT);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::lit);
    const qreal w = 1.7;
    for (qreal x : {4.2, 7.4}) {
        p.drawPolygon(QPolygonF({{x + 1.2, 1.2}, {x + 1.2 + w, 1.2}, {x + w * 0.5, 7.0}, {x - 0.4, 7.0}}));
    }
    return {kDigitDir + QStringLiteral("Digit_inch.png"), QStringLiteral("7Segment"), canvas.finish()};
}

Image dot(bool on)
{
    Canvas canvas(4, kDigitH);
    QPainter& p = canvas.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Colour::lit : Colour::ghost);
    p.drawEllipse(QPointF(1.9, kDigitH - 2.1), 1.35, 1.35);
    return {kDigitDir + QStringLiteral("Digit_dot_%1.png").arg(on ? QStringLiteral("on") : QStringLiteral("off")),
            QStringLiteral("7Segment"), canvas.finish()};
}

Image modeLetter(const QString& name, QChar letter)
{
    Canvas canvas(kDigitW + 2, kDigitH);
    const QRectF box(0.5, 0.5, kDigitW + 1, kDigitH - 1);
    drawSeg14(canvas.painter(), box, seg14Mask(letter), Colour::lit, Colour::ghost, 1.8);
    return {kDigitDir + QStringLiteral("A-%1.png").arg(name), QStringLiteral("7SegmentMode"), canvas.finish()};
}

Image loadDigit(const QString& name, unsigned mask)
{
    Canvas canvas(9, 16);
    drawSeg7(canvas.painter(), QRectF(0.5, 0.5, 8, 15), mask, Colour::accent, QColor(0x58, 0x58, 0x58), 1.7);
    return {QStringLiteral("OLP_GUI/images/7SegmentLoad/%1.png").arg(name), QStringLiteral("7SegmentLoad"),
            canvas.finish()};
}

}  // namespace

void addSegmentImages(ImageList& out)
{
    for (char c = '0'; c <= '9'; ++c) {
        out.append(digit(QString(QChar(c)), seg7Mask(QChar(c))));
    }
    out.append(inchDigit());
    out.append(digit(QStringLiteral("b"), seg7Mask(QLatin1Char('b'))));
    out.append(digit(QStringLiteral("C"), seg7Mask(QLatin1Char('C'))));
    out.append(digit(QStringLiteral("H"), seg7Mask(QLatin1Char('H'))));
    out.append(digit(QStringLiteral("L_Capital"), seg7Mask(QLatin1Char('L'))));
    out.append(digit(QStringLiteral("l"), seg7Mask(QLatin1Char('l'))));
    out.append(digit(QStringLiteral("u"), seg7Mask(QLatin1Char('u'))));
    out.append(digit(QStringLiteral("null"), 0));
    out.append(dot(true));
    out.append(dot(false));

    out.append(modeLetter(QStringLiteral("m"), QLatin1Char('M')));
    out.append(modeLetter(QStringLiteral("T"), QLatin1Char('T')));
    out.append(modeLetter(QStringLiteral("A"), QLatin1Char('A')));
    out.append(modeLetter(QStringLiteral("P"), QLatin1Char('P')));
    out.append(modeLetter(QStringLiteral("null"), QChar()));

    for (char c = '0'; c <= '9'; ++c) {
        out.append(loadDigit(QString(QChar(c)), seg7Mask(QChar(c))));
    }
    // All segments unlit: the counter's blank digit.
    out.append(loadDigit(QStringLiteral("grey_eight"), 0));
}

}  // namespace Art
