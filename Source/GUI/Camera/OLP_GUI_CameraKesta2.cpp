#include "OLP_GUI_CameraKesta2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_7SegmentLoadCounterWidget.h"
#include "OLP_GUI_Capture.h"
#include "OLP_GUI_File.h"
#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_LoadIndicatorWidget.h"
#include "OLP_GUI_PushButton.h"
#include "OLP_GUI_Settings.h"
#include "OLP_GUI_ViewFinderKesta.h"
#include "OLP_GUI_ViewFinderPelvo.h"
#include "OLP_Logic_Controller.h"

namespace {
constexpr int kViewFinderHeight = 32;
constexpr int kToolButtonWidth = 33;
constexpr int kToolButtonHeight = 30;
constexpr int kMinGUIWidth = 11;
constexpr int kCaptureSize = 48;
constexpr int kVideoWidth = 33;
constexpr int kVideoHeight = 30;
// The body and handle pictures at a third of their drawn size.
constexpr int kBodyWidth = 64;
constexpr int kHandleWidth = 19;
constexpr int kPictureHeight = 40;
constexpr int kToolsHeight = 72;
constexpr int kLoadIndicatorSize = 16;
constexpr int kBatterySymbolWidth = 24;
constexpr int kBatterySymbolHeight = 12;

QToolButton* makeToolButton(QWidget* parent, const char* name, int width)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(true);
    button->setFixedSize(width, kToolButtonHeight);
    button->setIconSize(QSize(width, kToolButtonHeight));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
}  // namespace

OLP_GUI_CameraKesta2::OLP_GUI_CameraKesta2(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                                           QWidget* parent)
    : OLP_GUI_CameraBase(application, controller, parent)
{
    m_focusTimer = new QTimer(this);
    m_focusTimer->setObjectName(QStringLiteral("tmrFocus"));
    buildForm();

    setWindowTitle(controller ? controller->productName() : QString());

    const quint32 productId = controller ? controller->productId() : 0;
    if (productId == ProductIdPelvo) {
        m_viewFinder = new OLP_GUI_ViewFinderPelvo(m_viewFinderContainer);
    } else {
        m_viewFinder = new OLP_GUI_ViewFinderKesta(m_viewFinderContainer);
    }
    m_viewFinderContainer->layout()->addWidget(m_viewFinder);
    m_viewFinder->set3DAxisVisible(controller && controller->has3DAxisData());

    OLP_GUI_LabelImage::show(m_cameraBody, QStringLiteral("CameraBody.png"));
    OLP_GUI_LabelImage::show(m_cameraHandle, QStringLiteral("CameraHandle.png"));

    connect(m_keyLock, &QToolButton::clicked, this, &OLP_GUI_CameraBase::signalKeyLock);
    connect(m_lvPhoto, &QToolButton::clicked, this, &OLP_GUI_CameraBase::signalLiveViewPhoto);
    connect(m_lvVideo, &QToolButton::clicked, this, &OLP_GUI_CameraBase::signalLiveViewVideo);
    connect(m_quickView, &QToolButton::clicked, this, &OLP_GUI_CameraBase::signalWantQuickView);
    connect(m_mirrorUp, &QToolButton::clicked, this, &OLP_GUI_CameraBase::signalMirrorUpMode);
    connect(m_capture, &QPushButton::pressed, this, &OLP_GUI_CameraBase::signalCaptureBtnPressed);
    connect(m_capture, &QPushButton::released, this, &OLP_GUI_CameraBase::signalCaptureBtnReleased);
    connect(m_videoCapture, &QPushButton::pressed, this, &OLP_GUI_CameraBase::signalVidCaptBtnPressed);
    connect(m_videoCapture, &QPushButton::released, this, &OLP_GUI_CameraBase::signalVidCaptBtnReleased);
    // The File tab's choices leave as the window's signals of the same names.
    connect(m_tabFile, &OLP_GUI_File::signalFileFormat, this, &OLP_GUI_CameraBase::signalFileFormat);
    connect(m_tabFile, &OLP_GUI_File::signalDngCompression, this, &OLP_GUI_CameraBase::signalDngCompression);
    connect(m_tabFile, &OLP_GUI_File::signalDngPath, this, &OLP_GUI_CameraBase::signalDngPath);
    connect(m_tabFile, &OLP_GUI_File::signalJpgPath, this, &OLP_GUI_CameraBase::signalJpgPath);
    connect(m_tabFile, &OLP_GUI_File::signalJpgColorSpace, this, &OLP_GUI_CameraBase::signalJpgColorSpace);
    connect(m_tabFile, &OLP_GUI_File::signalJpgResolution, this, &OLP_GUI_CameraBase::signalJpgResolution);
    connect(m_tabFile, &OLP_GUI_File::signalSensorFormat, this, &OLP_GUI_CameraBase::signalSensorFormat);
    connect(m_tabFile, &OLP_GUI_File::signalPhotoAspectRatio, this, &OLP_GUI_CameraBase::signalPhotoAspectRatio);
    connect(m_tabFile, &OLP_GUI_File::signalVideoFileFormat, this, &OLP_GUI_CameraBase::signalVideoFileFormat);
    connect(m_tabFile, &OLP_GUI_File::signalVideoResAndFrRate, this, &OLP_GUI_CameraBase::signalVideoResAndFrRate);
    connect(m_tabFile, &OLP_GUI_File::signalVideoFormatResol, this, &OLP_GUI_CameraBase::signalVideoFormatResol);
    connect(m_tabFile, &OLP_GUI_File::signalPictureName, this, &OLP_GUI_CameraBase::signalPictureName);
    connect(m_tabFile, &OLP_GUI_File::signalPictureIndex, this, &OLP_GUI_CameraBase::signalPictureIndex);
    connectCaptureTab();
    connect(m_minGUI, &QToolButton::clicked, this, &OLP_GUI_CameraKesta2::catchMinGUIClicked);

    const bool minimal = OLP_GUI_Settings::instance()->isMinimalControlGUI();
    m_minGUI->setChecked(minimal);
    applyMinimalMode(minimal);

    m_capture->setFocus();
    m_focusTimer->setSingleShot(true);
    m_focusTimer->setInterval(kFocusReturnMs);
    connect(m_focusTimer, &QTimer::timeout, m_capture, qOverload<>(&QWidget::setFocus));

    qApp->installEventFilter(this);

    updateLiveViewButtons();
    setFixedWidth(kWidth);
}

OLP_GUI_CameraKesta2::~OLP_GUI_CameraKesta2()
{
    qApp->removeEventFilter(this);
    // A window deleted without a close (the application shutting down) must
    // not leave the camera's shutter held either.
    if (m_spacePressed) {
        releaseSpace();
    }
}

void OLP_GUI_CameraKesta2::buildForm()
{
    setObjectName(QStringLiteral("OLP_GUI_CameraKesta2"));
    resize(480, 609);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* vlyMain = new QVBoxLayout(central);
    vlyMain->setObjectName(QStringLiteral("vlyMain"));
    vlyMain->setContentsMargins(0, 0, 0, 0);
    vlyMain->setSpacing(0);

    auto* vlyIconAreas = new QVBoxLayout;
    vlyIconAreas->setObjectName(QStringLiteral("vlyIconAreas"));
    vlyIconAreas->setContentsMargins(0, 0, 0, 0);
    vlyIconAreas->setSpacing(0);

    m_viewFinderContainer = new QWidget(central);
    m_viewFinderContainer->setObjectName(QStringLiteral("wgtViewFinderContainer"));
    m_viewFinderContainer->setFixedHeight(kViewFinderHeight);
    // The status line is a viewfinder display: light marks on black.
    m_viewFinderContainer->setAttribute(Qt::WA_StyledBackground, true);
    m_viewFinderContainer->setStyleSheet(QStringLiteral("#wgtViewFinderContainer { background-color: #000000; }"));
    auto* hlyViewFinderContainer = new QHBoxLayout(m_viewFinderContainer);
    hlyViewFinderContainer->setObjectName(QStringLiteral("hlyViewFinderContainer"));
    hlyViewFinderContainer->setContentsMargins(0, 0, 0, 0);
    hlyViewFinderContainer->setSpacing(0);
    vlyIconAreas->addWidget(m_viewFinderContainer);

    auto* toolsArea = new QWidget(central);
    toolsArea->setObjectName(QStringLiteral("wgtToolsArea"));
    toolsArea->setFixedHeight(kToolsHeight);
    auto* hlyTools = new QHBoxLayout(toolsArea);
    hlyTools->setObjectName(QStringLiteral("hlyTools"));
    hlyTools->setContentsMargins(0, 0, 0, 0);
    hlyTools->setSpacing(0);

    m_cameraBody = new QLabel(toolsArea);
    m_cameraBody->setObjectName(QStringLiteral("lblCameraBody"));
    m_cameraBody->setFixedSize(kBodyWidth, kPictureHeight);
    hlyTools->addWidget(m_cameraBody, 0, Qt::AlignBottom);

    auto* vlyTools = new QVBoxLayout;
    vlyTools->setObjectName(QStringLiteral("vlyTools"));
    vlyTools->setContentsMargins(2, 4, 2, 4);
    vlyTools->setSpacing(2);

    auto* hlyToolsLoad = new QHBoxLayout;
    hlyToolsLoad->setObjectName(QStringLiteral("hlyToolsLoad"));
    hlyToolsLoad->setSpacing(4);
    m_loadIndicator = new OLP_GUI_LoadIndicatorWidget(toolsArea);
    m_loadIndicator->setObjectName(QStringLiteral("wgtLoadIndicator"));
    m_loadIndicator->setFixedSize(kLoadIndicatorSize, kLoadIndicatorSize);
    m_loadCounter = new OLP_GUI_7SegmentLoadCounterWidget(toolsArea);
    m_loadCounter->setObjectName(QStringLiteral("wgtLoadCounter"));
    // The indicator draws its frame at its size: give it the size before the first frame.
    OLP_GUI_LabelImage::show(m_loadIndicator, OLP_GUI_LoadIndicatorWidget::imageOf(0));
    hlyToolsLoad->addWidget(m_loadIndicator);
    hlyToolsLoad->addWidget(m_loadCounter);

    auto* hlyToolsBatt = new QHBoxLayout;
    hlyToolsBatt->setObjectName(QStringLiteral("hlyToolsBatt"));
    hlyToolsBatt->setSpacing(3);
    m_battIntText = new QLabel(tr("Int"), toolsArea);
    m_battIntText->setObjectName(QStringLiteral("lblBattInt"));
    m_battIntSymbol = new QLabel(toolsArea);
    m_battIntSymbol->setObjectName(QStringLiteral("symBattInt"));
    m_battIntSymbol->setFixedSize(kBatterySymbolWidth, kBatterySymbolHeight);
    m_battExtText = new QLabel(tr("Ext"), toolsArea);
    m_battExtText->setObjectName(QStringLiteral("lblBattExt"));
    m_battExtSymbol = new QLabel(toolsArea);
    m_battExtSymbol->setObjectName(QStringLiteral("symBattExt"));
    m_battExtSymbol->setFixedSize(kBatterySymbolWidth, kBatterySymbolHeight);
    hlyToolsBatt->addWidget(m_battIntText);
    hlyToolsBatt->addWidget(m_battIntSymbol);
    hlyToolsBatt->addWidget(m_battExtText);
    hlyToolsBatt->addWidget(m_battExtSymbol);
    // Nothing is known about the batteries until the camera says so.
    m_battIntText->hide();
    m_battIntSymbol->hide();
    m_battExtText->hide();
    m_battExtSymbol->hide();

    auto* hlyStatus = new QHBoxLayout;
    hlyStatus->setObjectName(QStringLiteral("hlyStatus"));
    hlyStatus->setContentsMargins(0, 0, 0, 0);
    hlyStatus->addLayout(hlyToolsLoad);
    hlyStatus->addStretch(1);
    hlyStatus->addLayout(hlyToolsBatt);
    vlyTools->addLayout(hlyStatus);

    auto* hlyToolsBottom = new QHBoxLayout;
    hlyToolsBottom->setObjectName(QStringLiteral("hlyToolsBottom"));
    hlyToolsBottom->setSpacing(0);
    m_minGUI = makeToolButton(toolsArea, "tbnMinGUI", kMinGUIWidth);
    m_minGUI->setToolTip(tr("Small window"));
    m_keyLock = makeToolButton(toolsArea, "tbnKeyLock", kToolButtonWidth);
    m_keyLock->setToolTip(tr("Lock the camera's controls"));
    m_quickView = makeToolButton(toolsArea, "tbnQuickView", kToolButtonWidth);
    m_quickView->setToolTip(tr("Quick view"));
    m_lvPhoto = makeToolButton(toolsArea, "tbnLVPhoto", kToolButtonWidth);
    m_lvPhoto->setToolTip(tr("Live view (photo)"));
    m_lvVideo = makeToolButton(toolsArea, "tbnLVVideo", kToolButtonWidth);
    m_lvVideo->setToolTip(tr("Live view (video)"));
    m_mirrorUp = makeToolButton(toolsArea, "tbnMirrorUp", kToolButtonWidth);
    m_mirrorUp->setToolTip(tr("Mirror-up"));
    m_videoCapture = new QPushButton(toolsArea);
    m_videoCapture->setObjectName(QStringLiteral("pbnVideoCapt"));
    m_videoCapture->setFixedSize(kVideoWidth, kVideoHeight);
    m_videoCapture->setFocusPolicy(Qt::NoFocus);
    m_videoCapture->setToolTip(tr("Video recording"));
    m_capture = new OLP_GUI_PushButton(toolsArea);
    m_capture->setObjectName(QStringLiteral("pbnCapture"));
    m_capture->setFixedSize(kCaptureSize, kCaptureSize);
    m_capture->setToolTip(tr("Shutter (space bar)"));
    m_capture->setProperty("PowerSwitch", 0);
    hlyToolsBottom->addWidget(m_minGUI, 0, Qt::AlignBottom);
    hlyToolsBottom->addWidget(m_keyLock, 0, Qt::AlignBottom);
    hlyToolsBottom->addWidget(m_quickView, 0, Qt::AlignBottom);
    hlyToolsBottom->addWidget(m_lvPhoto, 0, Qt::AlignBottom);
    hlyToolsBottom->addWidget(m_lvVideo, 0, Qt::AlignBottom);
    hlyToolsBottom->addWidget(m_mirrorUp, 0, Qt::AlignBottom);
    hlyToolsBottom->addStretch(1);
    hlyToolsBottom->addWidget(m_videoCapture, 0, Qt::AlignBottom);
    hlyToolsBottom->addSpacing(4);
    hlyToolsBottom->addWidget(m_capture, 0, Qt::AlignBottom);
    vlyTools->addLayout(hlyToolsBottom);
    hlyTools->addLayout(vlyTools, 1);

    m_cameraHandle = new QLabel(toolsArea);
    m_cameraHandle->setObjectName(QStringLiteral("lblCameraHandle"));
    m_cameraHandle->setFixedSize(kHandleWidth, kPictureHeight);
    hlyTools->addWidget(m_cameraHandle, 0, Qt::AlignBottom);
    vlyIconAreas->addWidget(toolsArea);
    vlyMain->addLayout(vlyIconAreas);

    m_tabWidget = new QTabWidget(central);
    m_tabWidget->setObjectName(QStringLiteral("tabWidget"));
    m_tabWidget->setFocusPolicy(Qt::NoFocus);
    m_tabCamera = new OLP_GUI_Capture;
    m_tabCamera->setObjectName(QStringLiteral("tabCamera"));
    m_tabFile = new OLP_GUI_File;
    m_tabFile->setObjectName(QStringLiteral("tabFile"));
    m_tabWidget->addTab(m_tabCamera, tr("Camera Settings"));
    m_tabWidget->addTab(m_tabFile, tr(" File Settings"));
    vlyMain->addWidget(m_tabWidget, 1);

    setCentralWidget(central);
}

void OLP_GUI_CameraKesta2::connectCaptureTab()
{
    OLP_GUI_Capture* tab = m_tabCamera;
    // The viewfinder shows a user's choice at once, before the camera confirms it.
    connect(tab, &OLP_GUI_Capture::signalExposureMode, m_viewFinder, &OLP_GUI_ViewFinderBase::setExposureMode);
    connect(tab, &OLP_GUI_Capture::signalIsExpModeManual, m_viewFinder, &OLP_GUI_ViewFinderBase::setLightBalIsActive);
    connect(tab, &OLP_GUI_Capture::signalAperture, m_viewFinder, &OLP_GUI_ViewFinderBase::setAperture);
    connect(tab, &OLP_GUI_Capture::signalShutterTime, m_viewFinder, &OLP_GUI_ViewFinderBase::setShutterTime);

    connect(tab, &OLP_GUI_Capture::signalExposureMode, this, &OLP_GUI_CameraBase::signalExposureMode);
    connect(tab, &OLP_GUI_Capture::signalExposMetering, this, &OLP_GUI_CameraBase::signalExposMetering);
    connect(tab, &OLP_GUI_Capture::signalAperture, this, &OLP_GUI_CameraBase::signalAperture);
    connect(tab, &OLP_GUI_Capture::signalShutterTime, this, &OLP_GUI_CameraBase::signalShutterTime);
    connect(tab, &OLP_GUI_Capture::signalExposCompens, this, &OLP_GUI_CameraBase::signalExposCompens);
    connect(tab, &OLP_GUI_Capture::signalSensitivity, this, &OLP_GUI_CameraBase::signalSensitivity);
    connect(tab, &OLP_GUI_Capture::signalWhiteBalance, this, &OLP_GUI_CameraBase::signalWhiteBalance);
    connect(tab, &OLP_GUI_Capture::signalWhiteBalTemp, this, &OLP_GUI_CameraBase::signalWhiteBalTemp);
    connect(tab, &OLP_GUI_Capture::signalDriveMode, this, &OLP_GUI_CameraBase::signalDriveMode);
    connect(tab, &OLP_GUI_Capture::signalBracketImgNum, this, &OLP_GUI_CameraBase::signalBracketImgNum);
    connect(tab, &OLP_GUI_Capture::signalBracketDeltaEV, this, &OLP_GUI_CameraBase::signalBracketDeltaEV);
    connect(tab, qOverload<int>(&OLP_GUI_Capture::signalIntervalFrames), this,
            qOverload<int>(&OLP_GUI_CameraBase::signalIntervalFrames));
    connect(tab, qOverload<const QString&>(&OLP_GUI_Capture::signalIntervalFrames), this,
            qOverload<const QString&>(&OLP_GUI_CameraBase::signalIntervalFrames));
    connect(tab, qOverload<int>(&OLP_GUI_Capture::signalIntervalTime), this,
            qOverload<int>(&OLP_GUI_CameraBase::signalIntervalTime));
    connect(tab, qOverload<const QString&>(&OLP_GUI_Capture::signalIntervalTime), this,
            qOverload<const QString&>(&OLP_GUI_CameraBase::signalIntervalTime));
    connect(tab, &OLP_GUI_Capture::signalFocusMode, this, &OLP_GUI_CameraBase::signalFocusMode);
    connect(tab, &OLP_GUI_Capture::signalFocusDistance, this, &OLP_GUI_CameraBase::signalFocusDistance);
    connect(tab, &OLP_GUI_Capture::signalFocusDistanceDec, this, &OLP_GUI_CameraBase::signalFocusDistanceDec);
    connect(tab, &OLP_GUI_Capture::signalFocusDistanceInc, this, &OLP_GUI_CameraBase::signalFocusDistanceInc);
}

void OLP_GUI_CameraKesta2::catchMinGUIClicked(bool checked)
{
    OLP_GUI_Settings::instance()->setIsMinimalControlGUI(checked);
    applyMinimalMode(OLP_GUI_Settings::instance()->isMinimalControlGUI());
}

void OLP_GUI_CameraKesta2::applyMinimalMode(bool minimal)
{
    const bool wasVisible = isVisible();
    hide();
    m_tabWidget->setVisible(!minimal);
    setFixedHeight(minimal ? kMinimalHeight : kFullHeight);
    if (wasVisible) {
        show();
    }
}

// ---- keyboard ------------------------------------------------------------

bool OLP_GUI_CameraKesta2::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::KeyPress) && qobject_cast<QLineEdit*>(watched)) {
        // Five seconds after the last typing the space bar is the shutter again.
        m_focusTimer->start();
    }
    if (type == QEvent::ApplicationDeactivate ||
        (type == QEvent::ApplicationStateChange &&
         static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)) {
        // The key release will go to another application: let go now.
        if (m_spacePressed) {
            releaseSpace();
        }
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space) {
        return false;
    }
    if (key->isAutoRepeat()) {
        // A held key repeats (on X11 as release and press pairs): while the
        // space bar holds the shutter those must neither release nor press it
        // again, nor reach the widget with the focus.
        return m_spacePressed;
    }
    if (type == QEvent::KeyPress) {
        if (m_spacePressed) {
            return true;
        }
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
            return false;
        }
        m_spacePressed = true;
        emit signalCaptureBtnPressed();
        return true;
    }
    // The release of a press that held the shutter always lets go, wherever
    // the focus has gone since.
    if (m_spacePressed) {
        releaseSpace();
        return true;
    }
    return false;
}

void OLP_GUI_CameraKesta2::releaseSpace()
{
    m_spacePressed = false;
    emit signalCaptureBtnReleased();
}

void OLP_GUI_CameraKesta2::closeEvent(QCloseEvent* event)
{
    if (m_spacePressed) {
        releaseSpace();
    }
    OLP_GUI_CameraBase::closeEvent(event);
}

// ---- setters ---------------------------------------------------------------

void OLP_GUI_CameraKesta2::setLoading(bool loading)
{
    m_loadIndicator->setLoading(loading);
}

void OLP_GUI_CameraKesta2::setRemainingToLoad(int remaining)
{
    m_loadCounter->setValue(remaining);
}

void OLP_GUI_CameraKesta2::set3DAxisAngles(double rollAngle, double pitchAngle)
{
    if (m_viewFinder) {
        m_viewFinder->set3DAxisAngles(rollAngle, pitchAngle);
    }
}

QString OLP_GUI_CameraKesta2::batteryImageOf(int level, bool onExternalPower)
{
    if (onExternalPower) {
        return QStringLiteral("BatteryAC.png");
    }
    if (level >= 26 && level < 35) {
        return QStringLiteral("Battery10perCent.png");
    }
    if (level >= 35 && level < 47) {
        return QStringLiteral("Battery25perCent.png");
    }
    if (level >= 47 && level < 63) {
        return QStringLiteral("Battery50perCent.png");
    }
    if (level >= 63 && level < 88) {
        return QStringLiteral("Battery75perCent.png");
    }
    if (level >= 88 && level <= 100) {
        return QStringLiteral("Battery100perCent.png");
    }
    return QStringLiteral("BatteryEmpty.png");
}

void OLP_GUI_CameraKesta2::drawBattery(QLabel* symbol, int level)
{
    OLP_GUI_LabelImage::show(symbol, batteryImageOf(level, m_onExternalPower));
}

void OLP_GUI_CameraKesta2::setBatteryInfo(int info)
{
    const bool internal = info == 1 || info == 2 || info == 3;
    m_battIntText->setVisible(internal);
    m_battIntSymbol->setVisible(internal);
    m_battExtText->setVisible(info == 2);
    m_battExtSymbol->setVisible(info == 2);
    m_onExternalPower = info == 3;
    if (m_onExternalPower) {
        drawBattery(m_battIntSymbol, 0);
        drawBattery(m_battExtSymbol, 0);
    }
}

void OLP_GUI_CameraKesta2::setBatteryLevelIntern(int level)
{
    drawBattery(m_battIntSymbol, level);
}

void OLP_GUI_CameraKesta2::setBatteryLevelExtern(int level)
{
    drawBattery(m_battExtSymbol, level);
}

void OLP_GUI_CameraKesta2::setHasPowerSwitch(bool has)
{
    const bool lost = m_hasPowerSwitch && !has;
    m_hasPowerSwitch = has;
    if (lost) {
        setPowerSwitch(0);
    }
}

void OLP_GUI_CameraKesta2::setPowerSwitch(int position)
{
    const int p = m_hasPowerSwitch ? position : 0;
    m_capture->setProperty("PowerSwitch", p >= 1 && p <= 3 ? p : 0);
    // The style sheet picks the button's image by the property: re-apply it.
    m_capture->style()->unpolish(m_capture);
    m_capture->style()->polish(m_capture);
    m_capture->update();
}

void OLP_GUI_CameraKesta2::setBulbCounter(int count)
{
    if (m_viewFinder) {
        m_viewFinder->setBulbCounter(count);
    }
}

void OLP_GUI_CameraKesta2::setSelfTimerCounter(int count)
{
    if (m_viewFinder) {
        m_viewFinder->setSelfTimerCounter(count);
    }
}

void OLP_GUI_CameraKesta2::setHasFlashStatus(bool has)
{
    if (m_viewFinder) {
        m_viewFinder->setHasFlashStatus(has);
    }
}

void OLP_GUI_CameraKesta2::setFlashStatus(int status)
{
    if (m_viewFinder) {
        m_viewFinder->setFlashStatus(status);
    }
}

void OLP_GUI_CameraKesta2::setHasFlashXSymbol(bool has)
{
    if (!has) {
        setFlashXSymbol(false);
    }
}

void OLP_GUI_CameraKesta2::setFlashXSymbol(bool on)
{
    if (m_viewFinder) {
        m_viewFinder->setFlashXSymbol(on);
    }
}

void OLP_GUI_CameraKesta2::setLightBalance(int lightBalance)
{
    if (m_viewFinder) {
        m_viewFinder->setLightBalance(lightBalance);
    }
}

void OLP_GUI_CameraKesta2::setHasKeyLock(bool has)
{
    m_keyLock->setVisible(has);
}

void OLP_GUI_CameraKesta2::setKeyLock(bool on)
{
    m_keyLock->setChecked(on);
}

void OLP_GUI_CameraKesta2::setHasVideoRecording(bool has)
{
    if (has != m_hasVideoRecording) {
        m_hasVideoRecording = has;
    }
    updateLiveViewButtons();
}

void OLP_GUI_CameraKesta2::setHasLiveView(bool has)
{
    if (has != m_hasLiveView) {
        m_hasLiveView = has;
    }
    updateLiveViewButtons();
}

void OLP_GUI_CameraKesta2::updateLiveViewButtons()
{
    m_lvPhoto->setVisible(m_hasLiveView);
    m_lvVideo->setVisible(m_hasLiveView && m_hasVideoRecording);
    m_videoCapture->setVisible(m_hasVideoRecording);
}

void OLP_GUI_CameraKesta2::setLiveViewPhoto(bool on)
{
    m_lvPhoto->setChecked(on);
}

void OLP_GUI_CameraKesta2::setLiveViewVideo(bool on)
{
    m_lvVideo->setChecked(on);
}

void OLP_GUI_CameraKesta2::setWantQuickView(bool want)
{
    m_quickView->setChecked(want);
}

void OLP_GUI_CameraKesta2::setHasMirrorUpMode(bool has)
{
    m_mirrorUp->setVisible(has);
}

void OLP_GUI_CameraKesta2::setMirrorUpMode(bool on)
{
    m_mirrorUp->setChecked(on);
}

// ---- file settings: the File tab's rows ------------------------------------

void OLP_GUI_CameraKesta2::setFileFormatList(const QStringList& list)
{
    m_tabFile->setFileFormatList(list);
}

void OLP_GUI_CameraKesta2::setFileFormat(int fileFormat)
{
    m_tabFile->setFileFormat(fileFormat);
}

void OLP_GUI_CameraKesta2::setFileFormat(const QString& text)
{
    m_tabFile->setFileFormat(text);
}

void OLP_GUI_CameraKesta2::setHasDngCompression(bool has)
{
    m_tabFile->setHasDngCompression(has);
}

void OLP_GUI_CameraKesta2::setUseDngCompression(bool use)
{
    m_tabFile->setUseDngCompression(use);
}

void OLP_GUI_CameraKesta2::setDngCompressionList(const QStringList& list)
{
    m_tabFile->setDngCompressionList(list);
}

void OLP_GUI_CameraKesta2::setDngCompression(const QString& text)
{
    m_tabFile->setDngCompression(text);
}

void OLP_GUI_CameraKesta2::setHasJpgColorSpace(bool has)
{
    m_tabFile->setHasJpgColorSpace(has);
}

void OLP_GUI_CameraKesta2::setUseJpgColorSpace(bool use)
{
    m_tabFile->setUseJpgColorSpace(use);
}

void OLP_GUI_CameraKesta2::setJpgColorSpaceList(const QStringList& list)
{
    m_tabFile->setJpgColorSpaceList(list);
}

void OLP_GUI_CameraKesta2::setJpgColorSpace(const QString& text)
{
    m_tabFile->setJpgColorSpace(text);
}

void OLP_GUI_CameraKesta2::setHasJpgResolution(bool has)
{
    m_tabFile->setHasJpgResolution(has);
}

void OLP_GUI_CameraKesta2::setUseJpgResolution(bool use)
{
    m_tabFile->setUseJpgResolution(use);
}

void OLP_GUI_CameraKesta2::setJpgResolutionList(const QStringList& list)
{
    m_tabFile->setJpgResolutionList(list);
}

void OLP_GUI_CameraKesta2::setJpgResolution(const QString& text)
{
    m_tabFile->setJpgResolution(text);
}

void OLP_GUI_CameraKesta2::setHasSensorFormat(bool has)
{
    m_tabFile->setHasSensorFormat(has);
}

void OLP_GUI_CameraKesta2::setSensorFormatList(const QStringList& list)
{
    m_tabFile->setSensorFormatList(list);
}

void OLP_GUI_CameraKesta2::setSensorFormat(const QString& text)
{
    m_tabFile->setSensorFormat(text);
}

void OLP_GUI_CameraKesta2::setHasPhotoAspectRatio(bool has)
{
    m_tabFile->setHasPhotoAspectRatio(has);
}

void OLP_GUI_CameraKesta2::setPhotoAspectRatioList(const QStringList& list)
{
    m_tabFile->setPhotoAspectRatioList(list);
}

void OLP_GUI_CameraKesta2::setPhotoAspectRatio(const QString& text)
{
    m_tabFile->setPhotoAspectRatio(text);
}

void OLP_GUI_CameraKesta2::setHasVideoFileFormat(bool has)
{
    m_tabFile->setHasVideoFileFormat(has);
}

void OLP_GUI_CameraKesta2::setVideoFileFormatList(const QStringList& list)
{
    m_tabFile->setVideoFileFormatList(list);
}

void OLP_GUI_CameraKesta2::setVideoFileFormat(const QString& text)
{
    m_tabFile->setVideoFileFormat(text);
}

void OLP_GUI_CameraKesta2::setHasVideoResAndFrRate(bool has)
{
    m_tabFile->setHasVideoResAndFrRate(has);
}

void OLP_GUI_CameraKesta2::setVideoResAndFrRateList(const QStringList& list)
{
    m_tabFile->setVideoResAndFrRateList(list);
}

void OLP_GUI_CameraKesta2::setVideoResAndFrRate(const QString& text)
{
    m_tabFile->setVideoResAndFrRate(text);
}

void OLP_GUI_CameraKesta2::setHasVideoFormatResol(bool has)
{
    m_tabFile->setHasVideoFormatResol(has);
}

void OLP_GUI_CameraKesta2::setVideoFormatResolList(const QStringList& list)
{
    m_tabFile->setVideoFormatResolList(list);
}

void OLP_GUI_CameraKesta2::setVideoFormatResol(const QString& text)
{
    m_tabFile->setVideoFormatResol(text);
}

void OLP_GUI_CameraKesta2::setDngPath(const QString& path)
{
    m_tabFile->setDngPath(path);
}

void OLP_GUI_CameraKesta2::setJpgPath(const QString& path)
{
    m_tabFile->setJpgPath(path);
}

void OLP_GUI_CameraKesta2::setPictureExample(const QString& fileName)
{
    m_tabFile->setPictureExample(fileName);
}

void OLP_GUI_CameraKesta2::setPictureName(const QString& name)
{
    m_tabFile->setPictureName(name);
}

void OLP_GUI_CameraKesta2::setPictureIndex(int index)
{
    m_tabFile->setPictureIndex(index);
}

// ---- capture settings shown in the viewfinder ------------------------------

void OLP_GUI_CameraKesta2::setExposureMode(int mode)
{
    if (m_viewFinder) {
        m_viewFinder->setExposureMode(mode);
    }
    m_tabCamera->setExposureMode(mode);
}

void OLP_GUI_CameraKesta2::setHasAperture(bool has)
{
    if (m_viewFinder) {
        m_viewFinder->setHasAperture(has);
    }
    m_tabCamera->setHasAperture(has);
}

void OLP_GUI_CameraKesta2::setAperture(const QString& text)
{
    if (m_viewFinder) {
        m_viewFinder->setAperture(text);
    }
    m_tabCamera->setAperture(text);
}

void OLP_GUI_CameraKesta2::setShutterTime(const QString& text)
{
    if (m_viewFinder) {
        m_viewFinder->setShutterTime(text);
    }
    m_tabCamera->setShutterTime(text);
}

void OLP_GUI_CameraKesta2::setSensitivityAuto(bool automatic)
{
    if (m_viewFinder) {
        m_viewFinder->setSensitivityAuto(automatic);
    }
    m_tabCamera->setSensitivityAuto(automatic);
}

void OLP_GUI_CameraKesta2::setExposureSimulation(int value)
{
    if (m_viewFinder) {
        m_viewFinder->setExposureSimulation(value);
    }
}

void OLP_GUI_CameraKesta2::setExposMetering(int value)
{
    if (m_viewFinder) {
        m_viewFinder->setExposMetering(value);
    }
}

void OLP_GUI_CameraKesta2::setExposCompens(int milliEv)
{
    if (m_viewFinder) {
        m_viewFinder->setExposCompens(milliEv);
    }
}

void OLP_GUI_CameraKesta2::setExposCompensStep(int step)
{
    if (m_viewFinder) {
        m_viewFinder->setExposCompensStep(step);
    }
}

void OLP_GUI_CameraKesta2::setSensitivity(int value)
{
    if (m_viewFinder) {
        m_viewFinder->setSensitivity(value);
    }
}

void OLP_GUI_CameraKesta2::setHasFocusConfirmation(bool has)
{
    if (m_viewFinder) {
        m_viewFinder->setHasFocusConfirmation(has);
    }
}

void OLP_GUI_CameraKesta2::setFocusConfirmation(int value)
{
    if (m_viewFinder) {
        m_viewFinder->setFocusConfirmation(value);
    }
}

void OLP_GUI_CameraKesta2::setFocusConfirmBadSig(bool bad)
{
    if (m_viewFinder) {
        m_viewFinder->setFocusConfirmBadSig(bad);
    }
}

void OLP_GUI_CameraKesta2::setNoFocusConfirmation()
{
    if (m_viewFinder) {
        m_viewFinder->setNoFocusConfirmation();
    }
}

// ---- capture settings: the Capture tab's rows -----------------------------

void OLP_GUI_CameraKesta2::setLiveViewMode(int mode)
{
    // The Capture tab first, then the File tab.
    m_tabCamera->setLiveViewMode(mode);
    m_tabFile->setLiveViewMode(mode);
}

void OLP_GUI_CameraKesta2::setExposureModeList(const QStringList& list)
{
    m_tabCamera->setExposureModeList(list);
}

void OLP_GUI_CameraKesta2::setExposMeteringList(const QStringList& list)
{
    m_tabCamera->setExposMeteringList(list);
}

void OLP_GUI_CameraKesta2::setExposMetering(const QString& text)
{
    m_tabCamera->setExposMetering(text);
}

void OLP_GUI_CameraKesta2::setApertureList(const QStringList& list)
{
    m_tabCamera->setApertureList(list);
}

void OLP_GUI_CameraKesta2::setShutterTimeList(const QStringList& list)
{
    m_tabCamera->setShutterTimeList(list);
}

void OLP_GUI_CameraKesta2::setExposCompensList(const QStringList& list)
{
    m_tabCamera->setExposCompensList(list);
}

void OLP_GUI_CameraKesta2::setExposCompens(const QString& text)
{
    m_tabCamera->setExposCompens(text);
}

void OLP_GUI_CameraKesta2::setSensitivityList(const QStringList& list)
{
    m_tabCamera->setSensitivityList(list);
}

void OLP_GUI_CameraKesta2::setSensitivity(const QString& text)
{
    m_tabCamera->setSensitivity(text);
}

void OLP_GUI_CameraKesta2::setHasWhiteBalance(bool has)
{
    m_tabCamera->setHasWhiteBalance(has);
}

void OLP_GUI_CameraKesta2::setWhiteBalanceList(const QStringList& list)
{
    m_tabCamera->setWhiteBalanceList(list);
}

void OLP_GUI_CameraKesta2::setWhiteBalance(const QString& text)
{
    m_tabCamera->setWhiteBalance(text);
}

void OLP_GUI_CameraKesta2::setIsWhiteBalTemp(bool isTemperature)
{
    m_tabCamera->setIsWhiteBalTemp(isTemperature);
}

void OLP_GUI_CameraKesta2::setWhiteBalTempList(const QStringList& list)
{
    m_tabCamera->setWhiteBalTempList(list);
}

void OLP_GUI_CameraKesta2::setWhiteBalTemp(const QString& text)
{
    m_tabCamera->setWhiteBalTemp(text);
}

void OLP_GUI_CameraKesta2::setDriveModeList(const QStringList& list)
{
    m_tabCamera->setDriveModeList(list);
}

void OLP_GUI_CameraKesta2::setDriveMode(int mode)
{
    m_tabCamera->setDriveMode(mode);
}

void OLP_GUI_CameraKesta2::setDriveMode(const QString& text)
{
    m_tabCamera->setDriveMode(text);
}

void OLP_GUI_CameraKesta2::setBracketImgNumList(const QStringList& list)
{
    m_tabCamera->setBracketImgNumList(list);
}

void OLP_GUI_CameraKesta2::setBracketImgNum(const QString& text)
{
    m_tabCamera->setBracketImgNum(text);
}

void OLP_GUI_CameraKesta2::setBracketDeltaEVList(const QStringList& list)
{
    m_tabCamera->setBracketDeltaEVList(list);
}

void OLP_GUI_CameraKesta2::setBracketDeltaEV(const QString& text)
{
    m_tabCamera->setBracketDeltaEV(text);
}

void OLP_GUI_CameraKesta2::setIsIntervalMode(bool on)
{
    m_tabCamera->setIsIntervalMode(on);
}

void OLP_GUI_CameraKesta2::setIntervalFramesRange(int first, int last)
{
    m_tabCamera->setIntervalFramesRange(first, last);
}

void OLP_GUI_CameraKesta2::setIntervalFramesList(const QStringList& list)
{
    m_tabCamera->setIntervalFramesList(list);
}

void OLP_GUI_CameraKesta2::setIntervalFrames(int frames)
{
    m_tabCamera->setIntervalFrames(frames);
}

void OLP_GUI_CameraKesta2::setIntervalFrames(const QString& text)
{
    m_tabCamera->setIntervalFrames(text);
}

void OLP_GUI_CameraKesta2::setIntervalTimeRange(int first, int last)
{
    m_tabCamera->setIntervalTimeRange(first, last);
}

void OLP_GUI_CameraKesta2::setIntervalTimeList(const QStringList& list)
{
    m_tabCamera->setIntervalTimeList(list);
}

void OLP_GUI_CameraKesta2::setIntervalTime(int seconds)
{
    m_tabCamera->setIntervalTime(seconds);
}

void OLP_GUI_CameraKesta2::setIntervalTime(const QString& text)
{
    m_tabCamera->setIntervalTime(text);
}

void OLP_GUI_CameraKesta2::setHasFocusMode(bool has)
{
    m_tabCamera->setHasFocusMode(has);
}

void OLP_GUI_CameraKesta2::setFocusMode(int mode)
{
    m_tabCamera->setFocusMode(mode);
}

void OLP_GUI_CameraKesta2::setHasFocusDistance(bool has)
{
    m_tabCamera->setHasFocusDistance(has);
}

void OLP_GUI_CameraKesta2::setFocusDistance(const QString& text)
{
    m_tabCamera->setFocusDistance(text);
}

void OLP_GUI_CameraKesta2::setFocusIsUnitFeet(bool feet)
{
    m_tabCamera->setFocusIsUnitFeet(feet);
}

void OLP_GUI_CameraKesta2::setFocusMaxDistance(const QString& text)
{
    m_tabCamera->setFocusMaxDistance(text);
}

void OLP_GUI_CameraKesta2::setFocusMinDistance(const QString& text)
{
    m_tabCamera->setFocusMinDistance(text);
}
