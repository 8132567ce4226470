#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QVector>

// The artwork generator: every image of the application is drawn here with
// QPainter from polygons and paths (no font), in logical units at twice the
// pixel density, and written as PNG into the build tree.

namespace Art {

// The palette of the dark user interface.
namespace Colour {
const QColor window(0x33, 0x33, 0x33);
const QColor face(0x55, 0x55, 0x55);
const QColor faceHover(0x44, 0x44, 0x44);
const QColor facePressed(0x3a, 0x3a, 0x3a);
const QColor faceChecked(0x33, 0x33, 0x33);
const QColor border(0x2a, 0x2a, 0x2a);
const QColor icon(0xee, 0xee, 0xee);
const QColor iconHover(0xff, 0xff, 0xff);
const QColor accent(0xfa, 0x84, 0x33);
const QColor inactive(0x87, 0x87, 0x87);
const QColor input(0x79, 0x79, 0x79);
// Viewfinder display: lit segments and the faint unlit ones behind them.
const QColor lit(0xf4, 0xf4, 0xf0);
const QColor ghost(0x47, 0x47, 0x47);
const QColor red(0xe0, 0x45, 0x3e);
const QColor green(0x6c, 0xcf, 0x6c);
}  // namespace Colour

// How a button face looks in one state.
struct Look
{
    QColor face;
    QColor edge;
    QColor icon;
};

namespace Looks {
inline const Look normal{Colour::face, Colour::border, Colour::icon};
inline const Look hover{Colour::faceHover, QColor(0x80, 0x80, 0x80), Colour::iconHover};
inline const Look checked{Colour::faceChecked, QColor(0x22, 0x22, 0x22), Colour::accent};
inline const Look checkedHover{Colour::faceHover, QColor(0x80, 0x80, 0x80), Colour::accent};
inline const Look pressed{Colour::facePressed, Colour::accent, Colour::accent};
}  // namespace Looks

// One finished image and where it goes, relative to the output folder.
struct Image
{
    QString path;    // e.g. "OLP_GUI/images/7Segment/Digit_0.png"
    QString family;  // contact sheet row
    QImage image;
};

using ImageList = QVector<Image>;

// A transparent image of logical size w x h drawn at `scale` pixels per unit.
class Canvas
{
public:
    Canvas(qreal w, qreal h, qreal scale = 2.0);
    QPainter& painter() { return m_painter; }
    QImage finish();

private:
    QImage m_image;
    QPainter m_painter;
};

// Seven-segment digits. Segment bits: a=1 (top), b=2 (upper right),
// c=4 (lower right), d=8 (bottom), e=16 (lower left), f=32 (upper left),
// g=64 (middle).
enum Seg7 : unsigned
{
    A = 1,
    B = 2,
    C = 4,
    D = 8,
    E = 16,
    F = 32,
    G = 64
};
unsigned seg7Mask(QChar c);
// Draws a digit in the box: lit segments in `on`, the others in `off`
// (transparent `off` leaves them out).
void drawSeg7(QPainter& p, const QRectF& box, unsigned mask, const QColor& on, const QColor& off, qreal thickness,
              qreal slant = 0.12);

// Fourteen-segment letters for the symbols that need a letter.
unsigned seg14Mask(QChar c);
void drawSeg14(QPainter& p, const QRectF& box, unsigned mask, const QColor& on, const QColor& off, qreal thickness,
               qreal slant = 0.12);
// Draws a word letter by letter into the box (equal cells, small gaps).
void drawSeg14Text(QPainter& p, const QRectF& box, const QString& text, const QColor& on, const QColor& off,
                   qreal thickness, qreal slant = 0.12);

// Small shared shapes.
QPainterPath boltPath(const QRectF& box);
QPainterPath triangle(QPointF a, QPointF b, QPointF c);
void drawButtonFace(QPainter& p, const QRectF& box, const QColor& face, const QColor& edge);
// A lens iris: a disc with a hexagonal opening and six blades, as a path.
QPainterPath irisPath(QPointF centre, qreal radius, qreal gap);
// The brand mark: a ring around an iris.
void drawMark(QPainter& p, const QRectF& box, const QColor& ring, const QColor& blades);

// The image families.
void addSegmentImages(ImageList& out);
void addViewfinderImages(ImageList& out);
void addPelvoImages(ImageList& out);
void addButtonImages(ImageList& out);
void addLiveViewImages(ImageList& out);
void addMiscImages(ImageList& out);
// Not in the GUI resources: the image database placeholder and the
// application icon at the sizes of the icon theme.
Image downloadPlaceholder();
QVector<Image> applicationIcons();

}  // namespace Art
