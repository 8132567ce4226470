#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <cstdio>

#include "artgen.h"

// artgen <output folder>
//
// Draws every image and writes, below the output folder:
//   OLP_GUI/images/...            the GUI images, laid out as their resource paths
//   olp_artwork.qrc               the resource file for them (prefix "/")
//   logic/images/download.png     the image database placeholder
//   logic/olp_logic_images.qrc    its resource file (resource ":/images/download.png")
//   icons/hicolor/NxN/apps/orvane-lumaport.png   the application icon
//   contact_sheet.png, contact_sheet.txt          every image on one sheet, with an index

namespace {

void fail(const QString& message)
{
    std::fprintf(stderr, "artgen: %s\n", qPrintable(message));
}

// An image of one colour throughout shows nothing; never ship one.
bool isUniform(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != first) {
                return false;
            }
        }
    }
    return true;
}

bool writeImage(const QDir& out, const Art::Image& art)
{
    const QString path = out.filePath(art.path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        fail(QStringLiteral("cannot create the folder of %1").arg(path));
        return false;
    }
    if (!art.image.save(path, "PNG")) {
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    file.write(text.toUtf8());
    return file.commit();
}

// A resource file listing `files` (relative to the folder of the .qrc).
QString qrcText(const QStringList& files)
{
    QString text = QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n");
    for (const QString& file : files) {
        text += QStringLiteral("    <file>%1</file>\n").arg(file.toHtmlEscaped());
    }
    text += QStringLiteral("</qresource>\n</RCC>\n");
    return text;
}

// Lays the images out in rows, one family after another, on the window
// colour so that they look as they will in the application.
bool writeContactSheet(const QDir& out, const QVector<Art::Image>& images)
{
    const int gap = 8;
    const int maxWidth = 1600;
    struct Placed
    {
        QPoint at;
        const Art::Image* art;
    };
    QVector<Placed> placed;
    int x = gap;
    int y = gap;
    int rowHeight = 0;
    int width = 0;
    QString family;
    for (const Art::Image& art : images) {
        const QSize size = art.image.size();
        const bool newFamily = !family.isNull() && art.family != family;
        if ((newFamily || x + size.width() + gap > maxWidth) && x > gap) {
            x = gap;
            y += rowHeight + gap + (newFamily ? gap : 0);
            rowHeight = 0;
        }
        family = art.family;
        placed.append({QPoint(x, y), &art});
        x += size.width() + gap;
        rowHeight = qMax(rowHeight, size.height());
        width = qMax(width, x);
    }
    const int height = y + rowHeight + gap;
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(Art::Colour::window);
    QPainter p(&sheet);
    QString index;
    for (const Placed& item : placed) {
        const QRect r(item.at, item.art->image.size());
        p.setPen(QColor(0x4a, 0x4a, 0x4a));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.drawImage(item.at, item.art->image);
        index +=
            QStringLiteral("%1 %2 %3 %4 %5\n").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(item.art->path);
    }
    p.end();
    if (!sheet.save(out.filePath(QStringLiteral("contact_sheet.png")), "PNG")) {
        fail(QStringLiteral("cannot write the contact sheet"));
        return false;
    }
    return writeText(out.filePath(QStringLiteral("contact_sheet.txt")), index);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fail(QStringLiteral("usage: artgen <output folder>"));
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.absolutePath())) {
        fail(QStringLiteral("cannot create %1").arg(out.absolutePath()));
        return 1;
    }

    Art::ImageList gui;
    Art::addSegmentImages(gui);
    Art::addViewfinderImages(gui);
    Art::addPelvoImages(gui);
    Art::addButtonImages(gui);
    Art::addLiveViewImages(gui);
    Art::addMiscImages(gui);
    const Art::Image placeholder = Art::downloadPlaceholder();
    const QVector<Art::Image> icons = Art::applicationIcons();

    QVector<Art::Image> all = gui;
    all.append(placeholder);
    all += icons;
    QSet<QString> seen;
    for (const Art::Image& art : qAsConst(all)) {
        if (seen.contains(art.path)) {
            fail(QStringLiteral("%1 is drawn twice").arg(art.path));
            return 1;
        }
        seen.insert(art.path);
        if (art.image.isNull() || isUniform(art.image)) {
            fail(QStringLiteral("%1 shows nothing").arg(art.path));
            return 1;
        }
        if (!writeImage(out, art)) {
            return 1;
        }
    }

    QStringList guiFiles;
    for (const Art::Image& art : qAsConst(gui)) {
        guiFiles.append(art.path);
    }
    const QString logicQrc = QStringLiteral("logic/olp_logic_images.qrc");
    const QString logicFile =
        QDir(out.filePath(QStringLiteral("logic"))).relativeFilePath(out.filePath(placeholder.path));
    if (!writeContactSheet(out, all) || !writeText(out.filePath(logicQrc), qrcText({logicFile})) ||
        // Written last: the resource compiler's rule waits for it.
        !writeText(out.filePath(QStringLiteral("olp_artwork.qrc")), qrcText(guiFiles))) {
        return 1;
    }
    return 0;
}
