#include "OLP_GUI_ImageViewer.h"

#include <QGridLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QtMath>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Match.h"
#include "OLP_GUI_LiveViewNavigatorWidget.h"

namespace {

QString liveViewImage(const QString& name)
{
    return QStringLiteral(":/OLP_GUI/images/LiveView/") + name;
}

// Marks closer than this count as the same position.
constexpr double PositionEpsilon = 1e-12;

}  // namespace

OLP_GUI_ImageViewer::OLP_GUI_ImageViewer(QWidget* parent)
    : QLabel(parent),
      m_focusCross(liveViewImage(QStringLiteral("FocusCross.png"))),
      m_gcPipette(liveViewImage(QStringLiteral("GCPipette.png"))),
      m_expSpot(liveViewImage(QStringLiteral("ExpSpot.png"))),
      m_colorMatch(std::make_unique<OLP_Color_Match>())
{
    // Clicks are measured from the top-left corner of the picture, so the
    // picture must sit exactly there: no centring, frame or margin.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    // The scaled picture follows the viewer's size, never the other way round.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setMinimumSize(1, 1);

    m_layout = new QGridLayout(this);
    m_layout->setObjectName(QStringLiteral("glyImageViewer"));
    m_navigator = new OLP_GUI_LiveViewNavigatorWidget(this);
    m_navigator->setObjectName(QStringLiteral("wgtNavigator"));
    m_moveUp = makeOverlayLabel(QStringLiteral("lblMoveUp"), QStringLiteral("move_up.png"));
    m_moveLeft = makeOverlayLabel(QStringLiteral("lblMoveLeft"), QStringLiteral("move_left.png"));
    m_moveRight = makeOverlayLabel(QStringLiteral("lblMoveRight"), QStringLiteral("move_right.png"));
    m_moveDown = makeOverlayLabel(QStringLiteral("lblMoveDown"), QStringLiteral("move_down.png"));
    m_recVideo = makeOverlayLabel(QStringLiteral("lblRecVideo"), QStringLiteral("RecVideo.png"));
    m_layout->addWidget(m_recVideo, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    m_layout->addWidget(m_moveUp, 0, 1, Qt::AlignHCenter | Qt::AlignTop);
    m_layout->addWidget(m_navigator, 0, 2, Qt::AlignRight | Qt::AlignTop);
    m_layout->addWidget(m_moveLeft, 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_layout->addWidget(m_moveRight, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    m_layout->addWidget(m_moveDown, 2, 1, Qt::AlignHCenter | Qt::AlignBottom);
    m_layout->setRowStretch(1, 1);
    m_layout->setColumnStretch(1, 1);

    m_colorMatch->setSourceProfile(defaultSourceProfilePath());
    if (const auto srgb = createDefaultMonitorProfile()) {
        m_colorMatch->setDestinationProfile(*srgb);
    }
    m_colorMatch->setIntent(OLP_Color_WorldIF::eIntentPerceptual);

    updateVisibility();
}

OLP_GUI_ImageViewer::~OLP_GUI_ImageViewer() = default;

QLabel* OLP_GUI_ImageViewer::makeOverlayLabel(const QString& objectName, const QString& imageName)
{
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    label->setPixmap(QPixmap(liveViewImage(imageName)));
    // Clicks on an overlay still place the cross on the picture beneath.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void OLP_GUI_ImageViewer::setWantColorMatch(bool want)
{
    m_wantColorMatch = want;
    rescale();
}

void OLP_GUI_ImageViewer::setInputProfile(const QString& path)
{
    m_colorMatch->setSourceProfile(path);
    rescale();
}

void OLP_GUI_ImageViewer::setInputProfile(const OLP_Color_ProfileIF& profile)
{
    m_colorMatch->setSourceProfile(profile);
    rescale();
}

void OLP_GUI_ImageViewer::setOutputProfile(const QString& path)
{
    m_colorMatch->setDestinationProfile(path);
    rescale();
}

void OLP_GUI_ImageViewer::setOutputProfile(const OLP_Color_ProfileIF& profile)
{
    m_colorMatch->setDestinationProfile(profile);
    rescale();
}

void OLP_GUI_ImageViewer::setRenderingIntent(OLP_Color_WorldIF::eRenderingIntent intent)
{
    m_colorMatch->setIntent(intent);
    rescale();
}

void OLP_GUI_ImageViewer::setPixmap(const QPixmap& pixmap)
{
    m_received = pixmap;
    rescale();
    emit signalPixmapConsumed();
}

void OLP_GUI_ImageViewer::setExpSpotIsActive(bool active)
{
    if (active == m_expSpotActive) {
        return;
    }
    m_expSpotActive = active;
    drawMarks();
}

void OLP_GUI_ImageViewer::setGCPipIsActive(bool active)
{
    if (active == m_gcPipActive) {
        return;
    }
    m_gcPipActive = active;
    setCursor(active ? Qt::PointingHandCursor : Qt::ArrowCursor);
    drawMarks();
}

void OLP_GUI_ImageViewer::setLiveViewMode(int mode)
{
    if (mode == m_liveViewMode) {
        return;
    }
    m_liveViewMode = mode;
    updateVisibility();
}

void OLP_GUI_ImageViewer::setWantMoveInZoom(bool want)
{
    if (want == m_wantMoveInZoom) {
        return;
    }
    m_wantMoveInZoom = want;
    updateVisibility();
}

void OLP_GUI_ImageViewer::setZoomInfo(int, int level, double x, double y)
{
    if (level != m_zoomLevel) {
        m_zoomLevel = level;
        updateVisibility();
    }
    if (qAbs(x - m_markPosition.x()) > PositionEpsilon || qAbs(y - m_markPosition.y()) > PositionEpsilon) {
        m_markPosition = QPointF(x, y);
        drawMarks();
    }
}

void OLP_GUI_ImageViewer::setZoomRect(double x, double y, double width, double height)
{
    m_navigator->setZoomRect(x, y, width, height);
}

void OLP_GUI_ImageViewer::updateVisibility()
{
    const bool zoomed = (m_liveViewMode == 2 || m_liveViewMode == 3) && m_zoomLevel >= 1;
    const bool arrows = zoomed && m_wantMoveInZoom;
    m_moveUp->setVisible(arrows);
    m_moveLeft->setVisible(arrows);
    m_moveRight->setVisible(arrows);
    m_moveDown->setVisible(arrows);
    m_recVideo->setVisible(m_liveViewMode == 1);
    m_navigator->setVisible(zoomed);
}

void OLP_GUI_ImageViewer::rescale()
{
    if (m_received.isNull()) {
        m_scaled = QPixmap();
    } else {
        const qreal ratio = devicePixelRatioF();
        m_scaled = m_received.scaled(contentsRect().size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
        applyColorMatch();
    }
    drawMarks();
}

void OLP_GUI_ImageViewer::applyColorMatch()
{
    if (!m_wantColorMatch || !m_colorMatch || m_scaled.isNull()) {
        return;
    }
    QImage image = m_scaled.toImage();
    if (!OLP_Color_Match::isMatchableFormat(image.format())) {
        image =
            image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
    if (m_colorMatch->matchImage(image)) {
        const qreal ratio = m_scaled.devicePixelRatioF();
        m_scaled = QPixmap::fromImage(image);
        m_scaled.setDevicePixelRatio(ratio);
    }
}

void OLP_GUI_ImageViewer::drawMarks()
{
    if (m_scaled.isNull()) {
        QLabel::setPixmap(QPixmap());
        return;
    }
    if (m_markPosition.x() < 0.0 || m_markPosition.y() < 0.0) {
        QLabel::setPixmap(m_scaled);
        return;
    }
    QPixmap shown = m_scaled;
    const QSizeF size = QSizeF(shown.size()) / shown.devicePixelRatioF();
    const QPointF point(m_markPosition.x() * size.width(), m_markPosition.y() * size.height());
    {
        QPainter painter(&shown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const auto centred = [&painter, &point](const QPixmap& mark) {
            const QSizeF markSize = QSizeF(mark.size()) / mark.devicePixelRatioF();
            painter.drawPixmap(point - QPointF(markSize.width() / 2.0, markSize.height() / 2.0), mark);
        };
        if (m_gcPipActive) {
            painter.drawPixmap(point, m_gcPipette);
        } else {
            centred(m_focusCross);
            if (m_expSpotActive) {
                centred(m_expSpot);
            }
        }
    }
    QLabel::setPixmap(shown);
}

void OLP_GUI_ImageViewer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_scaled.isNull()) {
        QLabel::mousePressEvent(event);
        return;
    }
    const QSizeF size = QSizeF(m_scaled.size()) / m_scaled.devicePixelRatioF();
    const QPointF position = event->localPos();
    if (size.width() < 1.0 || size.height() < 1.0 || position.x() < 0.0 || position.y() < 0.0 ||
        position.x() >= size.width() || position.y() >= size.height()) {
        return;
    }
    const double x = position.x() / size.width();
    const double y = position.y() / size.height();
    if (m_gcPipActive) {
        emit signalGCPipPos(x, y);
    } else if (m_markPosition.x() >= 0.0 && m_markPosition.y() >= 0.0) {
        emit signalCrossPos(x, y);
    }
}

void OLP_GUI_ImageViewer::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (event->size() != event->oldSize()) {
        rescale();
    }
}
