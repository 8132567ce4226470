#include "OLP_GUI_FocusDistanceWidget.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kErrorText = QStringLiteral("Error");
const QString kInfinityText = QStringLiteral("Infinity");
const char* const kInfinityImage = ":/OLP_GUI/images/infinity.png";
constexpr int kSliderInterval = 100;
constexpr int kTextInterval = 1000;
constexpr double kSmallestExponent = 1e-9;

// A press on the groove beside the handle puts the handle right there instead
// of paging towards the press (and repeating while the button is held); the
// value change that follows starts the slider timer like a drag would.
class JumpSlider : public QSlider
{
public:
    explicit JumpSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) {
            QStyleOptionSlider option;
            initStyleOption(&option);
            const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
            if (!handle.contains(event->pos())) {
                const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
                const int span = groove.width() - handle.width();
                const int position = event->pos().x() - groove.x() - handle.width() / 2;
                setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), position, span, option.upsideDown));
                event->accept();
                return;
            }
        }
        QSlider::mousePressEvent(event);
    }
};

// A positive number, or 0 for anything else.
double positiveNumber(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value > 0.0 && std::isfinite(value) ? value : 0.0;
}

}  // namespace

OLP_GUI_FocusDistanceWidget::OLP_GUI_FocusDistanceWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("vlyFocusDistance"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* sliderRow = new QHBoxLayout();
    sliderRow->setObjectName(QStringLiteral("hlyCurrDistance"));
    m_tbnCurrDistDec = new QToolButton(this);
    m_tbnCurrDistDec->setObjectName(QStringLiteral("tbnCurrDistDec"));
    m_tbnCurrDistDec->setText(QStringLiteral("-"));
    m_tbnCurrDistDec->setFocusPolicy(Qt::NoFocus);
    m_hslCurrDistance = new JumpSlider(this);
    m_hslCurrDistance->setObjectName(QStringLiteral("hslCurrDistance"));
    m_hslCurrDistance->setRange(0, 1000);
    m_hslCurrDistance->setSingleStep(10);
    m_hslCurrDistance->setPageStep(100);
    m_tbnCurrDistInc = new QToolButton(this);
    m_tbnCurrDistInc->setObjectName(QStringLiteral("tbnCurrDistInc"));
    m_tbnCurrDistInc->setText(QStringLiteral("+"));
    m_tbnCurrDistInc->setFocusPolicy(Qt::NoFocus);
    sliderRow->addWidget(m_tbnCurrDistDec);
    sliderRow->addWidget(m_hslCurrDistance, 1);
    sliderRow->addWidget(m_tbnCurrDistInc);
    layout->addLayout(sliderRow);

    auto* textRow = new QHBoxLayout();
    textRow->setObjectName(QStringLiteral("hlyDistanceText"));
    m_stxMinDistance = new QLabel(tr("min"), this);
    m_stxMinDistance->setObjectName(QStringLiteral("stxMinDistance"));
    m_ledCurrDistance = new QLineEdit(this);
    m_ledCurrDistance->setObjectName(QStringLiteral("ledCurrDistance"));
    m_ledCurrDistance->setAlignment(Qt::AlignCenter);
    m_ledCurrDistance->setMaximumWidth(80);
    m_stxUnit = new QLabel(QStringLiteral("m"), this);
    m_stxUnit->setObjectName(QStringLiteral("stxUnit"));
    m_stxMaxDistance = new QLabel(tr("max"), this);
    m_stxMaxDistance->setObjectName(QStringLiteral("stxMaxDistance"));
    m_stxMaxDistance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    textRow->addWidget(m_stxMinDistance);
    textRow->addStretch(1);
    textRow->addWidget(m_ledCurrDistance);
    textRow->addWidget(m_stxUnit);
    textRow->addStretch(1);
    textRow->addWidget(m_stxMaxDistance);
    layout->addLayout(textRow);

    m_sliderTimer = new QTimer(this);
    m_sliderTimer->setObjectName(QStringLiteral("timSliderMoved"));
    m_sliderTimer->setSingleShot(true);
    m_textTimer = new QTimer(this);
    m_textTimer->setObjectName(QStringLiteral("timTextEdited"));
    m_textTimer->setSingleShot(true);

    connect(m_tbnCurrDistDec, &QToolButton::clicked, this, &OLP_GUI_FocusDistanceWidget::signalDecrease);
    connect(m_tbnCurrDistInc, &QToolButton::clicked, this, &OLP_GUI_FocusDistanceWidget::signalIncrease);
    connect(m_hslCurrDistance, &QSlider::sliderPressed, this,
            &OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderPressed);
    connect(m_hslCurrDistance, &QSlider::sliderMoved, this, &OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderMoved);
    connect(m_hslCurrDistance, &QSlider::sliderReleased, this,
            &OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderReleased);
    connect(m_hslCurrDistance, &QSlider::valueChanged, this,
            &OLP_GUI_FocusDistanceWidget::catchCurrDistanceValueChanged);
    connect(m_ledCurrDistance, &QLineEdit::textEdited, this, &OLP_GUI_FocusDistanceWidget::catchCurrDistanceTextEdited);
    connect(m_sliderTimer, &QTimer::timeout, this, &OLP_GUI_FocusDistanceWidget::catchTimerSliderMovedTimeout);
    connect(m_textTimer, &QTimer::timeout, this, &OLP_GUI_FocusDistanceWidget::catchTimerTextEditedTimeout);
}

void OLP_GUI_FocusDistanceWidget::setCurrDistance(const QString& text)
{
    if (text != m_currDistance) {
        m_currDistance = text;
    }
    // A focus report during a drag must not pull the handle away from the hand.
    if (!m_sliderPressed) {
        moveSliderToCurrent();
    }
    refreshText();
}

void OLP_GUI_FocusDistanceWidget::setMaxDistance(const QString& text)
{
    const double value = positiveNumber(text);
    if (value <= 0.0 || value == m_maxDistance) {
        return;
    }
    m_maxDistance = value;
    const QIcon icon(QString::fromLatin1(kInfinityImage));
    const QList<QSize> sizes = icon.availableSizes();
    m_stxMaxDistance->setPixmap(icon.pixmap(sizes.isEmpty() ? QSize(16, 16) : sizes.first()));
    updateExponent();
    moveSliderToCurrent();
    refreshText();
}

void OLP_GUI_FocusDistanceWidget::setMinDistance(const QString& text)
{
    const double value = positiveNumber(text);
    if (value <= 0.0 || value == m_minDistance) {
        return;
    }
    m_minDistance = value;
    m_stxMinDistance->setText(text);
    updateExponent();
    moveSliderToCurrent();
    refreshText();
}

void OLP_GUI_FocusDistanceWidget::setIsUnitFeet(bool isUnitFeet)
{
    if (isUnitFeet == m_isUnitFeet) {
        return;
    }
    m_isUnitFeet = isUnitFeet;
    m_stxUnit->setText(isUnitFeet ? QStringLiteral("ft") : QStringLiteral("m"));
}

// The curve gives the near range most of the travel only while max is well
// above min: at max ≤ 1.6 × min the formula yields k ≤ 0, which would put every
// position at max (k = 0, and a division by zero on the way back) or run the
// slider backwards (k < 0). Such short ranges get the straight line. Decimal
// texts make an exact 1.6 × min come out a rounding error above 0, hence the
// small bound.
void OLP_GUI_FocusDistanceWidget::updateExponent()
{
    double k = 1.0;
    if (m_minDistance > 0.0 && m_maxDistance > m_minDistance) {
        k = std::log2((m_maxDistance / m_minDistance - 1.0) / 0.6);
    }
    m_exponent = std::isfinite(k) && k > kSmallestExponent ? k : 1.0;
}

void OLP_GUI_FocusDistanceWidget::moveSliderToCurrent()
{
    if (!hasRange()) {
        return;
    }
    int value = 0;
    const double distance = positiveNumber(m_currDistance);
    if (m_currDistance == kInfinityText || distance >= m_maxDistance) {
        value = m_hslCurrDistance->maximum();
    } else if (distance <= 0.0) {
        return;
    } else if (distance <= m_minDistance) {
        value = m_hslCurrDistance->minimum();
    } else {
        const double fraction = (distance - m_minDistance) / (m_maxDistance - m_minDistance);
        const int span = m_hslCurrDistance->maximum() - m_hslCurrDistance->minimum();
        value = m_hslCurrDistance->minimum() + qRound(std::pow(fraction, 1.0 / m_exponent) * span);
    }
    const QSignalBlocker blocker(m_hslCurrDistance);
    m_hslCurrDistance->setValue(value);
}

void OLP_GUI_FocusDistanceWidget::refreshText()
{
    if (m_textEditing) {
        return;
    }
    QString shown = m_currDistance;
    if (m_currDistance == kErrorText) {
        shown.clear();
    } else if (m_currDistance != kInfinityText) {
        bool ok = false;
        const double distance = m_currDistance.toDouble(&ok);
        if (ok && m_maxDistance > 0.0 && distance >= m_maxDistance) {
            shown = kInfinityText;
        }
    }
    m_ledCurrDistance->setText(shown);
}

// Without a known longest distance (no lens data yet) a typed number goes out
// as it is; treating every number as beyond the end would send "Infinity".
void OLP_GUI_FocusDistanceWidget::emitChosen(double distance)
{
    if (m_maxDistance <= 0.0 || distance < m_maxDistance) {
        emit signalChosen(QString::number(distance, 'f', 6));
    } else {
        emit signalChosen(kInfinityText);
    }
}

void OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderPressed()
{
    m_sliderPressed = true;
    m_sliderTimer->start(kSliderInterval);
}

void OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderMoved(int /*value*/)
{
    m_sliderTimer->start(kSliderInterval);
}

void OLP_GUI_FocusDistanceWidget::catchCurrDistanceSliderReleased()
{
    m_sliderPressed = false;
    m_sliderTimer->start(0);
}

// Only the user moves the slider with its signals on (programmatic moves are
// blocked): a press on the groove or a key. A drag reports through moved.
void OLP_GUI_FocusDistanceWidget::catchCurrDistanceValueChanged(int /*value*/)
{
    if (!m_hslCurrDistance->isSliderDown()) {
        m_sliderTimer->start(kSliderInterval);
    }
}

void OLP_GUI_FocusDistanceWidget::catchCurrDistanceTextEdited(const QString& /*text*/)
{
    m_textEditing = true;
    m_textTimer->start(kTextInterval);
}

void OLP_GUI_FocusDistanceWidget::catchTimerSliderMovedTimeout()
{
    // Without the lens's range the position means no distance.
    if (!hasRange()) {
        return;
    }
    const int span = m_hslCurrDistance->maximum() - m_hslCurrDistance->minimum();
    const double t = double(m_hslCurrDistance->value() - m_hslCurrDistance->minimum()) / span;
    emitChosen(std::pow(t, m_exponent) * (m_maxDistance - m_minDistance) + m_minDistance);
}

void OLP_GUI_FocusDistanceWidget::catchTimerTextEditedTimeout()
{
    m_textEditing = false;
    const double typed = positiveNumber(m_ledCurrDistance->text());
    if (typed > 0.0) {
        emitChosen(typed);
        return;
    }
    moveSliderToCurrent();
    refreshText();
}
