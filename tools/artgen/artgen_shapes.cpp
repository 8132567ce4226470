#include <QLineF>
#include <QPainterPathStroker>
#include <QTransform>
#include <QtMath>

#include "artgen.h"

namespace Art {

Canvas::Canvas(qreal w, qreal h, qreal scale)
    : m_image(qCeil(w * scale), qCeil(h * scale), QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.scale(scale, scale);
}

QImage Canvas::finish()
{
    m_painter.end();
    return m_image.convertToFormat(QImage::Format_ARGB32);
}

namespace {

// Segments end in points; on short segments the points are kept short so
// that the segment still shows as a bar.
QPolygonF horizontalSegment(qreal x1, qreal x2, qreal y, qreal t)
{
    const qreal tip = qMin(t / 2, (x2 - x1) / 4);
    return QPolygonF(
        {{x1, y}, {x1 + tip, y - t / 2}, {x2 - tip, y - t / 2}, {x2, y}, {x2 - tip, y + t / 2}, {x1 + tip, y + t / 2}});
}

QPolygonF verticalSegment(qreal x, qreal y1, qreal y2, qreal t)
{
    const qreal tip = qMin(t / 2, (y2 - y1) / 4);
    return QPolygonF(
        {{x, y1}, {x + t / 2, y1 + tip}, {x + t / 2, y2 - tip}, {x, y2}, {x - t / 2, y2 - tip}, {x - t / 2, y1 + tip}});
}

// A straight bar of width w from a to b with pointed-off ends cut square.
QPolygonF bar(QPointF a, QPointF b, qreal w)
{
    QLineF line(a, b);
    QLineF normal = line.normalVector();
    normal.setLength(w / 2);
    const QPointF n = normal.p2() - normal.p1();
    return QPolygonF({a + n, b + n, b - n, a - n});
}

// Leaves room for the slant and leans the glyph to the right at the top.
QTransform slantTransform(const QRectF& box, qreal slant)
{
    QTransform t;
    const QPointF c = box.center();
    t.translate(c.x(), c.y());
    t.shear(-slant, 0);
    t.translate(-c.x(), -c.y());
    return t;
}

QRectF uprightBox(const QRectF& box, qreal slant)
{
    const qreal lean = slant * box.height();
    return QRectF(box.left() + lean / 2, box.top(), box.width() - lean, box.height());
}

void fillSegments(QPainter& p, const QVector<QPolygonF>& segs, unsigned mask, const QColor& on, const QColor& off,
                  const QTransform& t)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < segs.size(); ++i) {
        const bool lit = mask & (1u << i);
        const QColor& colour = lit ? on : off;
        if (colour.alpha() == 0) {
            continue;
        }
        p.setBrush(colour);
        p.drawPolygon(t.map(segs.at(i)));
    }
    p.restore();
}

}  // namespace

unsigned seg7Mask(QChar c)
{
    switch (c.unicode()) {
        case '0':
            return A | B | C | D | E | F;
        case '1':
            return B | C;
        case '2':
            return A | B | D | E | G;
        case '3':
            return A | B | C | D | G;
        case '4':
            return B | C | F | G;
        case '5':
        case 'S':
            return A | C | D | F | G;
        case '6':
            return A | C | D | E | F | G;
        case '7':
            return A | B | C;
        case '8':
            return A | B | C | D | E | F | G;
        case '9':
            return A | B | C | D | F | G;
        case 'b':
            return C | D | E | F | G;
        case 'C':
            return A | D | E | F;
        case 'H':
            return B | C | E | F | G;
        case 'L':
            return D | E | F;
        case 'l':
            return E | F;
        case 'u':
            return C | D | E;
        case '-':
            return G;
        default:
            return 0;
    }
}

void drawSeg7(QPainter& p, const QRectF& box, unsigned mask, const QColor& on, const QColor& off, qreal t, qreal slant)
{
    const QRectF r = uprightBox(box, slant);
    const qreal left = r.left() + t / 2;
    const qreal right = r.right() - t / 2;
    const qreal top = r.top() + t / 2;
    const qreal bottom = r.bottom() - t / 2;
    const qreal mid = (top + bottom) / 2;
    const qreal g = t * 0.18;
    const QVector<QPolygonF> segs = {
        horizontalSegment(left + g, right - g, top, t), verticalSegment(right, top + g, mid - g, t),
        verticalSegment(right, mid + g, bottom - g, t), horizontalSegment(left + g, right - g, bottom, t),
        verticalSegment(left, mid + g, bottom - g, t),  verticalSegment(left, top + g, mid - g, t),
        horizontalSegment(left + g, right - g, mid, t),
    };
    fillSegments(p, segs, mask, on, off, slantTransform(box, slant));
}

namespace {
enum Seg14 : unsigned
{
    S_A = 1,
    S_B = 2,
    S_C = 4,
    S_D = 8,
    S_E = 16,
    S_F = 32,
    S_G1 = 64,
    S_G2 = 128,
    S_H = 256,   // upper left diagonal
    S_I = 512,   // upper centre
    S_J = 1024,  // upper right diagonal
    S_K = 2048,  // lower left diagonal
    S_L = 4096,  // lower centre
    S_M = 8192,  // lower right diagonal
};
}  // namespace

unsigned seg14Mask(QChar c)
{
    switch (c.unicode()) {
        case 'A':
            return S_A | S_B | S_C | S_E | S_F | S_G1 | S_G2;
        case 'C':
            return S_A | S_D | S_E | S_F;
        case 'E':
            return S_A | S_D | S_E | S_F | S_G1 | S_G2;
        case 'F':
            return S_A | S_E | S_F | S_G1 | S_G2;
        case 'I':
            return S_A | S_D | S_I | S_L;
        case 'M':
            return S_B | S_C | S_E | S_F | S_H | S_J;
        case 'N':
            return S_B | S_C | S_E | S_F | S_H | S_M;
        case 'O':
            return S_A | S_B | S_C | S_D | S_E | S_F;
        case 'P':
            return S_A | S_B | S_E | S_F | S_G1 | S_G2;
        case 'R':
            return S_A | S_B | S_E | S_F | S_G1 | S_G2 | S_M;
        case 'S':
            return S_A | S_C | S_D | S_F | S_G1 | S_G2;
        case 'T':
            return S_A | S_I | S_L;
        case 'U':
            return S_B | S_C | S_D | S_E | S_F;
        case 'V':
            return S_E | S_F | S_K | S_J;
        case 'X':
            return S_H | S_J | S_K | S_M;
        case 'm':
            return S_C | S_E | S_G1 | S_G2 | S_L;
        case '*':
            return S_G1 | S_G2 | S_H | S_I | S_J | S_K | S_L | S_M;
        case '8':
            return S_A | S_B | S_C | S_D | S_E | S_F | S_G1 | S_G2;
        default:
            return 0;
    }
}

void drawSeg14(QPainter& p, const QRectF& box, unsigned mask, const QColor& on, const QColor& off, qreal t, qreal slant)
{
    const QRectF r = uprightBox(box, slant);
    const qreal left = r.left() + t / 2;
    const qreal right = r.right() - t / 2;
    const qreal top = r.top() + t / 2;
    const qreal bottom = r.bottom() - t / 2;
    const qreal mid = (top + bottom) / 2;
    const qreal cx = (left + right) / 2;
    const qreal g = t * 0.18;
    const qreal in = t * 0.75;  // diagonal ends stay clear of the frame
    const qreal dw = t * 0.8;
    const QVector<QPolygonF> segs = {
        horizontalSegment(left + g, right - g, top, t),
        verticalSegment(right, top + g, mid - g, t),
        verticalSegment(right, mid + g, bottom - g, t),
        horizontalSegment(left + g, right - g, bottom, t),
        verticalSegment(left, mid + g, bottom - g, t),
        verticalSegment(left, top + g, mid - g, t),
        horizontalSegment(left + g, cx - g, mid, t),
        horizontalSegment(cx + g, right - g, mid, t),
        bar({left + in, top + in}, {cx - t * 0.45, mid - t * 0.6}, dw),
        verticalSegment(cx, top + g, mid - g, t),
        bar({right - in, top + in}, {cx + t * 0.45, mid - t * 0.6}, dw),
        bar({left + in, bottom - in}, {cx - t * 0.45, mid + t * 0.6}, dw),
        verticalSegment(cx, mid + g, bottom - g, t),
        bar({right - in, bottom - in}, {cx + t * 0.45, mid + t * 0.6}, dw),
    };
    fillSegments(p, segs, mask, on, off, slantTransform(box, slant));
}

void drawSeg14Text(QPainter& p, const QRectF& box, const QString& text, const QColor& on, const QColor& off, qreal t,
                   qreal slant)
{
    const int n = text.size();
    if (n == 0) {
        return;
    }
    const qreal gap = t * 0.9;
    const qreal cell = (box.width() - gap * (n - 1)) / n;
    for (int i = 0; i < n; ++i) {
        const QRectF r(box.left() + i * (cell + gap), box.top(), cell, box.height());
        drawSeg14(p, r, seg14Mask(text.at(i)), on, off, t, slant);
    }
}

QPainterPath boltPath(const QRectF& b)
{
    auto at = [&b](qreal fx, qreal fy) { return QPointF(b.left() + fx * b.width(), b.top() + fy * b.height()); };
    QPainterPath path;
    path.moveTo(at(0.62, 0.0));
    path.lineTo(at(0.08, 0.56));
    path.lineTo(at(0.46, 0.56));
    path.lineTo(at(0.30, 1.0));
    path.lineTo(at(0.92, 0.40));
    path.lineTo(at(0.54, 0.40));
    path.closeSubpath();
    return path;
}

QPainterPath triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

void drawButtonFace(QPainter& p, const QRectF& box, const QColor& face, const QColor& edge)
{
    p.save();
    p.setPen(QPen(edge, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.restore();
}

QPainterPath irisPath(QPointF c, qreal r, qreal gap)
{
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    QPolygonF hole;
    for (int i = 0; i < 6; ++i) {
        const qreal a = qDegreesToRadians(60.0 * i + 15.0);
        hole << c + QPointF(qCos(a), qSin(a)) * r * 0.42;
    }
    hole << hole.first();
    QPainterPath cut;
    cut.addPolygon(hole);
    // Each blade edge runs on from a corner of the opening to the rim.
    QPainterPathStroker stroker;
    stroker.setWidth(gap);
    stroker.setCapStyle(Qt::FlatCap);
    for (int i = 0; i < 6; ++i) {
        QLineF edge(hole.at(i), hole.at(i + 1));
        edge.setLength(r * 1.3);
        QPainterPath line;
        line.moveTo(edge.p1());
        line.lineTo(edge.p2());
        cut = cut.united(stroker.createStroke(line));
    }
    return disc.subtracted(cut);
}

void drawMark(QPainter& p, const QRectF& box, const QColor& ring, const QColor& blades)
{
    p.save();
    const QPointF c = box.center();
    const qreal r = qMin(box.width(), box.height()) / 2;
    const qreal ringWidth = r * 0.14;
    p.setPen(QPen(ring, ringWidth));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - ringWidth / 2, r - ringWidth / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(blades);
    p.drawPath(irisPath(c, r - ringWidth * 1.9, r * 0.07));
    p.restore();
}

}  // namespace Art
