// The live view and quick view windows of the application object: creation,
// placement, titles, rotation of frames and positions, and the connections
// between the live view window's widgets and the controller.

#include <QFileInfo>
#include <QScreen>
#include <QVBoxLayout>
#include <QtMath>
#include <cmath>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Monitor.h"
#include "OLP_Color_ProfileIF.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_GUI_LiveViewInfoWidget.h"
#include "OLP_GUI_PictureWindow.h"
#include "OLP_Logic_Controller.h"

namespace {

constexpr int kLiveViewCloseDelayMs = 1000;
constexpr int kLiveViewExtraHeight = 40;
constexpr QSize kLiveViewSize(660, 446);
constexpr QSize kQuickViewSize(640, 426);
constexpr QSize kViewerMinimumSize(300, 200);
constexpr eDebugFlag kQuickViewDumpFlag = 0x10000000;

QPixmap rotated(const QPixmap& pixmap, int angle)
{
    if (angle == 0 || pixmap.isNull()) {
        return pixmap;
    }
    QTransform transform;
    transform.rotate(angle);
    return pixmap.transformed(transform, Qt::FastTransformation);
}

}  // namespace

// ---- pure functions ----------------------------------------------------------

int OLP_GUI_Application::liveViewRotation(bool hasOrientation, int orientation, double firstLevelAngle)
{
    double angle = hasOrientation ? double(orientation) : -firstLevelAngle;
    angle = std::fmod(angle, 360.0);
    if (angle < 0.0) {
        angle += 360.0;
    }
    if (angle >= 45.0 && angle < 135.0) {
        return 90;
    }
    if (angle >= 135.0 && angle < 225.0) {
        return 180;
    }
    if (angle >= 225.0 && angle < 315.0) {
        return 270;
    }
    return 0;
}

QTransform OLP_GUI_Application::positionTransform(int angle)
{
    QTransform t;
    t.translate(0.5, 0.5);
    t.rotate(angle);
    t.translate(-0.5, -0.5);
    return t;
}

int OLP_GUI_Application::quickViewRotation(int exifOrientation)
{
    switch (exifOrientation) {
        case 3:
            return 180;
        case 6:
            return 90;
        case 8:
            return 270;
        default:
            return 0;
    }
}

QDialog* OLP_GUI_Application::liveViewWindow() const
{
    return m_liveViewWindow;
}

QDialog* OLP_GUI_Application::quickViewWindow() const
{
    return m_quickViewWindow;
}

OLP_GUI_ImageViewer* OLP_GUI_Application::liveViewViewer() const
{
    return m_liveViewViewer;
}

OLP_GUI_LiveViewInfoWidget* OLP_GUI_Application::liveViewInfoWidget() const
{
    return m_liveViewInfo;
}

OLP_GUI_ImageViewer* OLP_GUI_Application::quickViewViewer() const
{
    return m_quickViewViewer;
}

// ---- connections ---------------------------------------------------------------

void OLP_GUI_Application::connectPictureWindows()
{
    using C = OLP_Logic_Controller;
    using A = OLP_GUI_Application;
    C* c = m_controller;
    const Qt::ConnectionType q = Qt::QueuedConnection;
    m_liveViewCloseTimer.setSingleShot(true);
    m_liveViewCloseTimer.setInterval(kLiveViewCloseDelayMs);
    connect(&m_liveViewCloseTimer, &QTimer::timeout, this, &A::catchLiveViewCloseTimedOut);
    connect(c, &C::signalHasOrientation, this, &A::catchHasOrientation, q);
    connect(c, &C::signalOrientation, this, &A::catchOrientation, q);
    connect(c, &C::signal3DAxisAngles, this, &A::catch3DAxisAngles, q);
    connect(c, &C::signalAudioLevelIsManual, this, &A::catchAudioVolIsManual, q);
    connect(c, qOverload<double>(&C::signalAudioVolMicrophone), this, &A::catchAudioVolMicrophone, q);
    connect(this, &A::signalAudioVolMicrophone, c, qOverload<double>(&C::setAudioVolMicrophone), q);
    connect(c, qOverload<int>(&C::signalExposMetering), this, &A::catchExposMetering, q);
    connect(c, &C::signalLiveView, this, &A::showLiveView, q);
    connect(c, &C::signalNoLiveView, this, &A::catchLiveViewCloseRequested, q);
    connect(c, &C::signalQuickView, this, &A::showQuickView, q);
    connect(c, &C::signalNoQuickView, this, &A::closeQuickView, q);
    connect(this, &A::signalLiveViewDisplaySize, c, &C::setLiveViewDisplaySize, q);
    // Positions between the controller and the live view window, rotated on
    // the way; nobody listens on this side while no window exists.
    connect(c, &C::signalLiveZoomInfo, this, &A::catchLiveZoomInfo, q);
    connect(c, &C::signalLiveZoomRect, this, &A::catchLiveZoomRect, q);
    connect(this, &A::signalCrossPosEdited, c, &C::setLiveViewCrossPos, q);
    connect(this, &A::signalGCPipPosEdited, c, &C::setLiveViewGCPipPos, q);
}

// ---- live view -------------------------------------------------------------------

void OLP_GUI_Application::placeCentred(QWidget* window, const QSize& size) const
{
    QScreen* screen = m_cameraWindow ? m_cameraWindow->screen() : nullptr;
    if (!screen) {
        screen = primaryScreen();
    }
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, size.width(), size.height());
    // The area's own top-left: a monitor right of or below the first one does
    // not start at 0,0.
    window->setGeometry(area.left() + (area.width() - size.width()) / 2,
                        area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void OLP_GUI_Application::createLiveViewWindow(int mode)
{
    using A = OLP_GUI_Application;
    using I = OLP_GUI_LiveViewInfoWidget;
    using V = OLP_GUI_ImageViewer;
    using C = OLP_Logic_Controller;
    C* c = m_controller;
    const Qt::ConnectionType q = Qt::QueuedConnection;

    m_gcPipActive = mode == 4;
    OLP_GUI_PictureWindow* window = new OLP_GUI_PictureWindow(m_cameraWindow, true);
    window->setExtraHeight(kLiveViewExtraHeight);
    Qt::WindowFlags flags =
        window->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint;
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setWindowFlags(flags);
    placeCentred(window, kLiveViewSize);
    window->setObjectName(QStringLiteral("LiveViewDialog"));
    OLP_GUI_WindowGeometry::restoreOnScreen(window);
    m_liveViewWindow = window;
    applyAlwaysOnTop();

    QVBoxLayout* layout = new QVBoxLayout(window);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(2);
    V* viewer = new V(window);
    viewer->setObjectName(QStringLiteral("LiveViewViewer"));
    viewer->setMinimumSize(kViewerMinimumSize);
    I* info = new I(window);
    layout->addWidget(viewer, 1);
    layout->addWidget(info);
    m_liveViewViewer = viewer;
    m_liveViewInfo = info;
    m_liveViewScreenCentre = QPoint(-1, -1);
    m_liveViewDisplaySize = QSize();

    viewer->setExpSpotIsActive(m_exposMetering == 0);
    viewer->setGCPipIsActive(m_gcPipActive);
    viewer->setWantColorMatch(true);
    viewer->setWantMoveInZoom(c && c->productId() == ProductIdKestaD);
    info->setAudioVolumeIsManual(m_audioVolIsManual);
    info->setAudioVolume(m_audioVolMicrophone);
    info->setGCPipIsActive(m_gcPipActive);

    connect(window, &QObject::destroyed, this, &A::catchLiveViewDestroyed);
    connect(this, &A::signalLiveViewPixmap, viewer, &V::setPixmap);
    connect(this, &A::signalLiveViewMode, viewer, &V::setLiveViewMode);
    connect(this, &A::signalLiveViewMode, info, &I::setLiveViewMode);
    connect(this, &A::signalLiveZoomInfo, viewer, &V::setZoomInfo);
    connect(this, &A::signalLiveZoomInfo, info, &I::setZoomInfo);
    connect(this, &A::signalLiveZoomRect, viewer, &V::setZoomRect);
    connect(viewer, &V::signalCrossPos, this, &A::catchCrossPosEdited);
    connect(viewer, &V::signalGCPipPos, info, &I::setGCPipNeedsSave);
    connect(viewer, &V::signalGCPipPos, this, &A::catchGCPipPosEdited);
    connect(info, &I::signalAudioVolume, this, &A::catchAudioVolume);
    connect(info, &I::signalGCPipIsActive, viewer, &V::setGCPipIsActive);
    connect(info, &I::signalGCPipIsActive, this, &A::catchGCPipIsActive);
    connect(info, &I::signalGCPipSave, this, &A::catchGCPipInactive);
    if (c) {
        // These die with the viewer or the info widget: a window that went
        // leaves no connection behind.
        connect(info, &I::signalAFPressed, c, &C::doLiveViewAFPressed, q);
        connect(info, &I::signalAFReleased, c, &C::doLiveViewAFReleased, q);
        connect(viewer, &V::signalPixmapConsumed, c, &C::catchLiveViewConsumed, q);
        connect(c, &C::signalExposureSimulationList, info, &I::setExposureSimulationList, q);
        connect(c, qOverload<int>(&C::signalExposureSimulation), info, &I::setExposureSimulation, q);
        connect(info, &I::signalExposureSimulation, c, qOverload<int>(&C::setExposureSimulation), q);
        connect(c, &C::signalLiveAudioLevel, info, &I::setAudioLevel, q);
        connect(c, &C::signalLiveTimeCode, info, &I::setTimeCode, q);
        connect(info, &I::signalZoomLevelClicked, c, &C::toggleLiveViewZoom, q);
        connect(info, &I::signalGCPipIsActive, c, &C::setLiveViewGCPipActive, q);
        connect(info, &I::signalGCPipSave, c, &C::doLiveViewGCPipSave, q);
    }
    emit signalLiveViewGUIOpened();
}

void OLP_GUI_Application::showLiveView(const QImage& frame)
{
    if (!m_cameraWindow || m_cameraWindow->isBeingDestroyed() || m_shuttingDown) {
        return;
    }
    m_liveViewCloseTimer.stop();
    const int mode = m_controller ? m_controller->liveViewMode() : 0;
    m_cameraWindow->setLiveViewPhoto(mode == 2);
    m_cameraWindow->setLiveViewVideo(mode == 3);
    if (!m_liveViewWindow) {
        createLiveViewWindow(mode);
    }
    // A receiver above may have closed the camera window, and the live view
    // window with it.
    if (!m_liveViewWindow || !m_liveViewViewer || !m_liveViewInfo) {
        return;
    }
    matchToScreen(m_liveViewWindow, m_liveViewViewer, &m_liveViewScreenCentre);
    emit signalLiveViewMode(mode);

    m_liveViewRotation = liveViewRotation(m_hasOrientation, m_orientation, m_levelAngleFirst);
    const QPixmap pixmap = rotated(QPixmap::fromImage(frame), m_liveViewRotation);
    emit signalLiveViewPixmap(pixmap);
    if (!m_liveViewWindow || !m_liveViewViewer || !m_liveViewInfo) {
        return;
    }
    m_liveViewViewer->setGCPipIsActive(m_gcPipActive);
    m_liveViewInfo->setGCPipIsActive(m_gcPipActive);

    if (mode == 4) {
        m_liveViewWindow->setWindowTitle(tr("Grey Card Live View", "Live View Window Title"));
    } else if (mode == 2) {
        m_liveViewWindow->setWindowTitle(tr("Live View Photo", "Live View Window Title"));
    } else {
        m_liveViewWindow->setWindowTitle(tr("Live View Video", "Live View Window Title"));
    }
    double ratio = 0.0;
    if (!frame.isNull()) {
        const bool turned = m_liveViewRotation == 90 || m_liveViewRotation == 270;
        ratio = turned ? double(frame.height()) / frame.width() : double(frame.width()) / frame.height();
    }
    m_liveViewWindow->setAspectRatio(ratio);
    // Shown without activating (the window's attribute); no activateWindow().
    if (!m_liveViewWindow->isVisible()) {
        m_liveViewWindow->show();
    }
    tellLiveViewDisplaySize(frame.size());
}

void OLP_GUI_Application::tellLiveViewDisplaySize(const QSize& frameSize)
{
    if (!m_liveViewViewer || frameSize.isEmpty()) {
        return;
    }
    // The frame as the viewer shows it: fitted into its contents, in device
    // pixels, then turned back into the frame's own orientation.
    const qreal dpr = m_liveViewViewer->devicePixelRatioF();
    QSize shown = m_liveViewViewer->contentsRect().size() * dpr;
    const bool turned = m_liveViewRotation == 90 || m_liveViewRotation == 270;
    if (turned) {
        shown.transpose();
    }
    const QSize fitted = frameSize.scaled(shown, Qt::KeepAspectRatio);
    if (fitted.isEmpty() || fitted == m_liveViewDisplaySize) {
        return;
    }
    m_liveViewDisplaySize = fitted;
    emit signalLiveViewDisplaySize(fitted);
}

void OLP_GUI_Application::matchToScreen(QWidget* window, OLP_GUI_ImageViewer* viewer, QPoint* screenCentre)
{
    QScreen* screen = window->screen();
    if (!screen || !viewer) {
        return;
    }
    const QPoint centre = screen->availableGeometry().center();
    if (centre == *screenCentre) {
        return;
    }
    *screenCentre = centre;
    std::unique_ptr<OLP_Color_ProfileIF> monitor = createMonitorProfile(centre);
    if (!monitor) {
        // Not the last screen's profile: a screen without one is taken as sRGB.
        monitor = createDefaultMonitorProfile();
    }
    if (!monitor) {
        return;
    }
    viewer->setInputProfile(defaultSourceProfilePath());
    viewer->setOutputProfile(*monitor);
    viewer->setRenderingIntent(OLP_Color_WorldIF::eIntentPerceptual);
}

void OLP_GUI_Application::catchLiveViewCloseRequested()
{
    m_liveViewCloseTimer.start(kLiveViewCloseDelayMs);
}

void OLP_GUI_Application::catchLiveViewCloseTimedOut()
{
    closeLiveView();
}

void OLP_GUI_Application::closeLiveView()
{
    m_liveViewCloseTimer.stop();
    if (m_liveViewWindow) {
        m_liveViewWindow->close();
    }
    if (m_cameraWindow && !m_cameraWindow->isBeingDestroyed()) {
        m_cameraWindow->setLiveViewPhoto(false);
        m_cameraWindow->setLiveViewVideo(false);
    }
}

void OLP_GUI_Application::catchLiveViewDestroyed()
{
    m_liveViewWindow = nullptr;
    m_liveViewViewer = nullptr;
    m_liveViewInfo = nullptr;
    m_liveViewDisplaySize = QSize();
    emit signalLiveViewGUIClosed();
}

// ---- values kept for the live view window -------------------------------------------

void OLP_GUI_Application::catchAudioVolIsManual(bool isManual)
{
    if (isManual != m_audioVolIsManual) {
        m_audioVolIsManual = isManual;
        if (m_liveViewInfo) {
            m_liveViewInfo->setAudioVolumeIsManual(isManual);
        }
    }
}

void OLP_GUI_Application::catchAudioVolMicrophone(double volume)
{
    if (volume != m_audioVolMicrophone) {
        m_audioVolMicrophone = volume;
        if (m_liveViewInfo) {
            m_liveViewInfo->setAudioVolume(volume);
        }
    }
}

void OLP_GUI_Application::catchAudioVolume(double volume)
{
    if (volume != m_audioVolMicrophone) {
        m_audioVolMicrophone = volume;
        emit signalAudioVolMicrophone(volume);
    }
}

void OLP_GUI_Application::catchExposMetering(int metering)
{
    if (metering != m_exposMetering) {
        m_exposMetering = metering;
        if (m_liveViewViewer) {
            m_liveViewViewer->setExpSpotIsActive(metering == 0);
        }
    }
}

void OLP_GUI_Application::catchGCPipIsActive(bool active)
{
    m_gcPipActive = active;
}

void OLP_GUI_Application::catchGCPipInactive()
{
    m_gcPipActive = false;
}

void OLP_GUI_Application::catchHasOrientation(bool has)
{
    m_hasOrientation = has;
}

void OLP_GUI_Application::catchOrientation(int orientation)
{
    m_orientation = orientation;
}

void OLP_GUI_Application::catch3DAxisAngles(double first, double second)
{
    m_levelAngleFirst = first;
    m_levelAngleSecond = second;
}

// ---- positions between the rotated picture and the camera -------------------------------

void OLP_GUI_Application::catchLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalLiveZoomInfo(selectedStripe, zoomLevel, x, y);
}

void OLP_GUI_Application::catchLiveZoomRect(double x, double y, double width, double height)
{
    if (m_liveViewRotation != 0) {
        const QRectF r = positionTransform(m_liveViewRotation).mapRect(QRectF(x, y, width, height));
        x = r.x();
        y = r.y();
        width = r.width();
        height = r.height();
    }
    emit signalLiveZoomRect(x, y, width, height);
}

void OLP_GUI_Application::catchCrossPosEdited(double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(-m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalCrossPosEdited(x, y);
}

void OLP_GUI_Application::catchGCPipPosEdited(double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(-m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalGCPipPosEdited(x, y);
}

// ---- quick view --------------------------------------------------------------------

void OLP_GUI_Application::createQuickViewWindow()
{
    OLP_GUI_PictureWindow* window = new OLP_GUI_PictureWindow(m_cameraWindow, false);
    placeCentred(window, kQuickViewSize);
    window->setObjectName(QStringLiteral("QuickViewDialog"));
    OLP_GUI_WindowGeometry::restoreOnScreen(window);
    m_quickViewWindow = window;
    applyAlwaysOnTop();
    QVBoxLayout* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    OLP_GUI_ImageViewer* viewer = new OLP_GUI_ImageViewer(window);
    viewer->setObjectName(QStringLiteral("QuickViewViewer"));
    viewer->setMinimumSize(kViewerMinimumSize);
    viewer->setWantColorMatch(true);
    layout->addWidget(viewer);
    m_quickViewViewer = viewer;
    m_quickViewScreenCentre = QPoint(-1, -1);
    connect(window, &QObject::destroyed, this, &OLP_GUI_Application::catchQuickViewDestroyed);
    connect(this, &OLP_GUI_Application::signalQuickViewPixmap, viewer, &OLP_GUI_ImageViewer::setPixmap);
}

void OLP_GUI_Application::showQuickView(const QByteArray& data, const QString& path, int orientation)
{
    const char* name = "OLP_GUI_Application::showQuickView";
    if (isDebugEnabled(kQuickViewDumpFlag)) {
        dumpBuffer(QStringLiteral("%1 with path \"%2\":").arg(QLatin1String(name), path),
                   QStringLiteral("quickViewBuffer"), reinterpret_cast<const quint8*>(data.constData()),
                   quint64(data.size()), 64, 16);
    }
    // Without a camera window (on the way out) a parentless window would keep
    // the application from quitting: the picture is dropped, as live view
    // frames are.
    if (!m_cameraWindow || m_cameraWindow->isBeingDestroyed() || m_shuttingDown) {
        debugPrintf(0, "%s - no camera window, quick view dropped", name);
        return;
    }
    if (!m_quickViewWindow) {
        createQuickViewWindow();
    }
    matchToScreen(m_quickViewWindow, m_quickViewViewer, &m_quickViewScreenCentre);
    QString title = tr("Quick View", "Quick View Window Title");
    if (!path.isEmpty()) {
        title.prepend(QFileInfo(path).baseName() + QLatin1Char(' '));
    }
    const QPixmap pixmap = rotated(QPixmap::fromImage(QImage::fromData(data)), quickViewRotation(orientation));
    emit signalQuickViewPixmap(pixmap);
    if (!m_quickViewWindow) {
        return;
    }
    m_quickViewWindow->setWindowTitle(title);
    m_quickViewWindow->setAspectRatio(pixmap.isNull() ? 0.0 : double(pixmap.width()) / pixmap.height());
    if (!m_quickViewWindow->isVisible()) {
        m_quickViewWindow->show();
    }
}

void OLP_GUI_Application::closeQuickView()
{
    if (m_quickViewWindow) {
        m_quickViewWindow->close();
    }
}

void OLP_GUI_Application::catchQuickViewDestroyed()
{
    m_quickViewWindow = nullptr;
    m_quickViewViewer = nullptr;
    if (m_controller) {
        m_controller->setWantQuickView(false);
    }
    if (m_cameraWindow && !m_cameraWindow->isBeingDestroyed()) {
        m_cameraWindow->setWantQuickView(false);
    }
}

void OLP_GUI_Application::deletePictureWindows()
{
    m_liveViewCloseTimer.stop();
    delete m_quickViewWindow;
    delete m_liveViewWindow;
}
