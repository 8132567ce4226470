#include "OLP_GUI_LoadIndicatorWidget.h"

#include "OLP_GUI_LabelImage.h"

OLP_GUI_LoadIndicatorWidget::OLP_GUI_LoadIndicatorWidget(QWidget* parent) : QLabel(parent)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrLoadImage"));
    m_timer->setInterval(kFrameMs);
    connect(m_timer, &QTimer::timeout, this, &OLP_GUI_LoadIndicatorWidget::catchLoadImageTimer);
    showFrame(0);
}

bool OLP_GUI_LoadIndicatorWidget::isLoading() const
{
    return m_timer->isActive();
}

QString OLP_GUI_LoadIndicatorWidget::imageOf(int frame)
{
    if (frame < 1 || frame > kFrames) {
        return QStringLiteral("LoadEffect/LoadEffectDefault.png");
    }
    return QStringLiteral("LoadEffect/LoadEffect%1.png").arg(frame);
}

void OLP_GUI_LoadIndicatorWidget::setLoading(bool loading)
{
    if (!loading) {
        m_timer->stop();
        showFrame(0);
    } else if (!m_timer->isActive()) {
        // A repeated "loading" must not restart the timer, or a burst of
        // reports would hold the animation still.
        m_timer->start();
    }
}

void OLP_GUI_LoadIndicatorWidget::catchLoadImageTimer()
{
    showFrame(m_frame >= kFrames ? 1 : m_frame + 1);
}

void OLP_GUI_LoadIndicatorWidget::showFrame(int frame)
{
    m_frame = frame;
    OLP_GUI_LabelImage::show(this, imageOf(frame));
}
