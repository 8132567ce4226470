#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "OLP_Artwork.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_GUI_LiveViewNavigatorWidget.h"
#include "OLP_Test_Support.h"

namespace {

QPixmap uniform(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return QPixmap::fromImage(image);
}

// The bounding box of the pixels of image that differ from colour.
QRect changedPixels(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The bounding box of the pixels of image that are colour.
QRect pixelsOf(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The bounding box of a mark's visible pixels.
QRect opaquePixels(const QString& path)
{
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

const QString MarkFolder = QStringLiteral(":/OLP_GUI/images/LiveView/");

}  // namespace

class tst_ImageViewer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clicks_data();
    void clicks();
    void oneConsumedPerPicture();
    void marks_data();
    void marks();
    void visibility_data();
    void visibility();
    void navigatorRectangle();
    void colorMatch();

private:
    void showViewer(QSize size);
    std::unique_ptr<OLP_GUI_ImageViewer> m_viewer;
};

void tst_ImageViewer::initTestCase()
{
    olpTestInit();
    olpInitArtwork();
}

void tst_ImageViewer::init()
{
    m_viewer = std::make_unique<OLP_GUI_ImageViewer>();
}

void tst_ImageViewer::cleanup()
{
    m_viewer.reset();
}

void tst_ImageViewer::showViewer(QSize size)
{
    m_viewer->resize(size);
    m_viewer->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_viewer.get()));
    QCOMPARE(m_viewer->contentsRect().size(), size);
}

// Clicks on the picture give relative positions measured from its top-left
// corner, whatever the viewer's height and the screen's pixel ratio.
void tst_ImageViewer::clicks_data()
{
    QTest::addColumn<QSize>("viewer");
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<bool>("greyCard");
    QTest::addColumn<QPointF>("mark");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<double>("scale");
    const QPointF cross(0.3, 0.7);
    const QPointF none(-1, -1);
    QTest::newRow("centre") << QSize(600, 400) << QPoint(300, 200) << false << cross << int(Qt::LeftButton)
                            << "cross 0.5 0.5" << 1.0;
    QTest::newRow("centre in a taller viewer")
        << QSize(600, 500) << QPoint(300, 200) << false << cross << int(Qt::LeftButton) << "cross 0.5 0.5" << 1.0;
    QTest::newRow("near the top-left corner")
        << QSize(600, 500) << QPoint(3, 4) << false << cross << int(Qt::LeftButton) << "cross 0.005 0.01" << 1.0;
    QTest::newRow("below the picture") << QSize(600, 500) << QPoint(300, 450) << false << cross << int(Qt::LeftButton)
                                       << "" << 1.0;
    QTest::newRow("right of the picture")
        << QSize(700, 400) << QPoint(650, 200) << false << cross << int(Qt::LeftButton) << "" << 1.0;
    QTest::newRow("right button") << QSize(600, 400) << QPoint(300, 200) << false << cross << int(Qt::RightButton) << ""
                                  << 1.0;
    QTest::newRow("grey card without a cross")
        << QSize(600, 400) << QPoint(150, 300) << true << none << int(Qt::LeftButton) << "grey 0.25 0.75" << 1.0;
    QTest::newRow("no cross reported") << QSize(600, 400) << QPoint(300, 200) << false << none << int(Qt::LeftButton)
                                       << "" << 1.0;
    QTest::newRow("pixel ratio 2") << QSize(600, 500) << QPoint(300, 200) << false << cross << int(Qt::LeftButton)
                                   << "cross 0.5 0.5" << 2.0;
}

void tst_ImageViewer::clicks()
{
    QFETCH(QSize, viewer);
    QFETCH(QPoint, click);
    QFETCH(bool, greyCard);
    QFETCH(QPointF, mark);
    QFETCH(int, button);
    QFETCH(QString, expected);
    QFETCH(double, scale);
    if (!qFuzzyCompare(m_viewer->devicePixelRatioF(), scale)) {
        // The screen's pixel ratio is fixed when the process starts: this row
        // runs in a child process with that ratio.
        QVERIFY2(!qEnvironmentVariableIsSet("OLP_TEST_SCALED_CHILD"), "the child did not get the pixel ratio");
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
        environment.insert(QStringLiteral("OLP_TEST_SCALED_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("clicks:%1").arg(QString::fromLatin1(QTest::currentDataTag()))});
        QVERIFY(child.waitForFinished(olpTimeout(30000)));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        return;
    }
    showViewer(viewer);
    m_viewer->setGCPipIsActive(greyCard);
    m_viewer->setZoomInfo(0, 0, mark.x(), mark.y());
    m_viewer->setPixmap(uniform(QSize(1200, 800), qRgb(90, 90, 90)));
    QCOMPARE(m_viewer->scaledPixmap().size(), QSize(600, 400) * scale);
    // The picture sits in the top-left corner, where clicks are measured from.
    QCOMPARE(pixelsOf(m_viewer->grab().toImage(), qRgb(90, 90, 90)), QRect(QPoint(0, 0), QSize(600, 400) * scale));
    QCOMPARE(m_viewer->cursor().shape(), greyCard ? Qt::PointingHandCursor : Qt::ArrowCursor);

    QStringList emitted;
    connect(m_viewer.get(), &OLP_GUI_ImageViewer::signalCrossPos, this,
            [&emitted](double x, double y) { emitted << QStringLiteral("cross %1 %2").arg(x).arg(y); });
    connect(m_viewer.get(), &OLP_GUI_ImageViewer::signalGCPipPos, this,
            [&emitted](double x, double y) { emitted << QStringLiteral("grey %1 %2").arg(x).arg(y); });
    QTest::mouseClick(m_viewer.get(), Qt::MouseButton(button), Qt::NoModifier, click);
    QCOMPARE(emitted, expected.isEmpty() ? QStringList() : QStringList{expected});
    // The viewer does not move the mark itself: the camera reports it.
    QCOMPARE(m_viewer->markPosition(), mark);
}

// Every picture is answered, a null one too, so the stream never stalls;
// a resize rescales without answering.
void tst_ImageViewer::oneConsumedPerPicture()
{
    showViewer(QSize(300, 200));
    QSignalSpy consumed(m_viewer.get(), &OLP_GUI_ImageViewer::signalPixmapConsumed);
    m_viewer->setPixmap(uniform(QSize(600, 400), qRgb(10, 20, 30)));
    QCOMPARE(consumed.count(), 1);
    QCOMPARE(m_viewer->pixmap(Qt::ReturnByValue).size(), QSize(300, 200));
    m_viewer->resize(450, 300);
    QTRY_COMPARE_WITH_TIMEOUT(m_viewer->pixmap(Qt::ReturnByValue).size(), QSize(450, 300), olpTimeout(5000));
    QCOMPARE(consumed.count(), 1);
    m_viewer->setPixmap(QPixmap());
    QCOMPARE(consumed.count(), 2);
    QVERIFY(m_viewer->pixmap(Qt::ReturnByValue).isNull());
}

// Each mark lands where the camera put it: the cross and the exposure spot
// centred on the point, the pipette with its corner there.
void tst_ImageViewer::marks_data()
{
    QTest::addColumn<bool>("greyCard");
    QTest::addColumn<bool>("expSpot");
    QTest::addColumn<QPointF>("mark");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<bool>("centred");
    QTest::newRow("cross") << false << false << QPointF(0.25, 0.5) << QStringList{"FocusCross.png"} << true;
    QTest::newRow("cross and spot") << false << true << QPointF(0.5, 0.25)
                                    << QStringList{"FocusCross.png", "ExpSpot.png"} << true;
    QTest::newRow("pipette") << true << false << QPointF(0.5, 0.5) << QStringList{"GCPipette.png"} << false;
    QTest::newRow("pipette, no spot") << true << true << QPointF(0.5, 0.5) << QStringList{"GCPipette.png"} << false;
    QTest::newRow("no position") << false << true << QPointF(-1, -1) << QStringList() << true;
}

void tst_ImageViewer::marks()
{
    QFETCH(bool, greyCard);
    QFETCH(bool, expSpot);
    QFETCH(QPointF, mark);
    QFETCH(QStringList, images);
    QFETCH(bool, centred);
    const QRgb background = qRgb(40, 40, 40);
    showViewer(QSize(600, 400));
    m_viewer->setPixmap(uniform(QSize(600, 400), background));
    m_viewer->setGCPipIsActive(greyCard);
    m_viewer->setExpSpotIsActive(expSpot);
    m_viewer->setZoomInfo(0, 0, mark.x(), mark.y());

    const QPoint point(qRound(mark.x() * 600), qRound(mark.y() * 400));
    QRect expected;
    for (const QString& name : images) {
        const QSize size = QPixmap(MarkFolder + name).size();
        QVERIFY2(!size.isEmpty(), qPrintable(name));
        const QPoint origin = centred ? point - QPoint(size.width() / 2, size.height() / 2) : point;
        expected |= opaquePixels(MarkFolder + name).translated(origin);
    }
    const QRect changed = changedPixels(m_viewer->grab().toImage(), background);
    QCOMPARE(changed, expected);
}

// Arrows while zoomed in photo or video live view (when wanted), the
// navigator while zoomed, the recording mark while recording.
void tst_ImageViewer::visibility_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("wantMove");
    QTest::addColumn<bool>("arrows");
    QTest::addColumn<bool>("navigator");
    QTest::addColumn<bool>("recording");
    QTest::newRow("photo zoomed") << 2 << 1 << true << true << true << false;
    QTest::newRow("video zoomed, no moving") << 3 << 2 << false << false << true << false;
    QTest::newRow("photo not zoomed") << 2 << 0 << true << false << false << false;
    QTest::newRow("grey card zoomed") << 4 << 1 << true << false << false << false;
    QTest::newRow("recording") << 1 << 1 << true << false << false << true;
    QTest::newRow("no live view") << 0 << 1 << true << false << false << false;
}

void tst_ImageViewer::visibility()
{
    QFETCH(int, mode);
    QFETCH(int, zoom);
    QFETCH(bool, wantMove);
    QFETCH(bool, arrows);
    QFETCH(bool, navigator);
    QFETCH(bool, recording);
    showViewer(QSize(600, 400));
    m_viewer->setWantMoveInZoom(wantMove);
    m_viewer->setLiveViewMode(mode);
    m_viewer->setZoomInfo(0, zoom, 0.5, 0.5);
    for (const char* name : {"lblMoveUp", "lblMoveLeft", "lblMoveRight", "lblMoveDown"}) {
        auto* label = m_viewer->findChild<QLabel*>(QLatin1String(name));
        QVERIFY2(label && !label->pixmap(Qt::ReturnByValue).isNull(), name);
        QCOMPARE(label->isVisible(), arrows);
    }
    auto* rec = m_viewer->findChild<QLabel*>(QStringLiteral("lblRecVideo"));
    QVERIFY(rec && !rec->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(rec->isVisible(), recording);
    auto* nav = m_viewer->findChild<OLP_GUI_LiveViewNavigatorWidget*>(QStringLiteral("wgtNavigator"));
    QVERIFY(nav);
    QCOMPARE(nav->isVisible(), navigator);
}

// The zoomed part is a light rectangle inside the frame's outline.
void tst_ImageViewer::navigatorRectangle()
{
    showViewer(QSize(600, 400));
    m_viewer->setPixmap(uniform(QSize(600, 400), qRgb(0, 0, 0)));
    m_viewer->setLiveViewMode(2);
    m_viewer->setZoomInfo(0, 1, 0.5, 0.5);
    m_viewer->setZoomRect(0.5, 0.25, 0.25, 0.5);
    auto* nav = m_viewer->findChild<OLP_GUI_LiveViewNavigatorWidget*>(QStringLiteral("wgtNavigator"));
    QVERIFY(nav && nav->isVisible());
    const QImage shot = m_viewer->grab().toImage();
    const QRect frame = nav->geometry();
    const auto at = [&](double x, double y) {
        return qRed(shot.pixel(frame.left() + qRound(x * frame.width()), frame.top() + qRound(y * frame.height())));
    };
    QCOMPARE(at(0.0, 0.5), 255);  // outline
    QCOMPARE(at(0.25, 0.5), 0);   // frame outside the zoomed part
    QVERIFY(qAbs(at(0.6, 0.5) - 50) <= 1);
    QCOMPARE(at(0.9, 0.5), 0);
    QCOMPARE(at(0.6, 0.1), 0);
}

// Off by default; on, the working space's brown shows as sRGB brown.
void tst_ImageViewer::colorMatch()
{
    QVERIFY(!m_viewer->wantColorMatch());
    showViewer(QSize(200, 100));
    m_viewer->setPixmap(uniform(QSize(200, 100), qRgb(128, 64, 32)));
    QCOMPARE(m_viewer->grab().toImage().pixel(100, 50), qRgb(128, 64, 32));
    m_viewer->setWantColorMatch(true);
    const QRgb matched = m_viewer->grab().toImage().pixel(100, 50);
    QVERIFY2(qAbs(qRed(matched) - 146) <= 2 && qAbs(qGreen(matched) - 62) <= 2 && qAbs(qBlue(matched) - 23) <= 2,
             qPrintable(QStringLiteral("%1 %2 %3").arg(qRed(matched)).arg(qGreen(matched)).arg(qBlue(matched))));
    m_viewer->setWantColorMatch(false);
    QCOMPARE(m_viewer->grab().toImage().pixel(100, 50), qRgb(128, 64, 32));
}

QTEST_MAIN(tst_ImageViewer)
#include "tst_ImageViewer.moc"
