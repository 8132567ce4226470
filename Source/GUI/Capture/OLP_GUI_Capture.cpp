#include "OLP_GUI_Capture.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_ComboBox.h"
#include "OLP_GUI_ComboRules.h"
#include "OLP_GUI_ExposureModeWidget.h"
#include "OLP_GUI_FocusDistanceWidget.h"
#include "OLP_GUI_FocusModeWidget.h"
#include "OLP_Logic_Controller.h"

namespace {

constexpr int kDirtyInterval = 3000;

// The drive-mode codes that need fields of their own.
constexpr int kDriveModeBracketing = 4;
constexpr int kDriveModeInterval = 5;

// An integer the validator takes as it stands, or 0.
int acceptedInteger(const QIntValidator* validator, const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        return 0;
    }
    QString probe = text;
    int position = 0;
    return validator->validate(probe, position) == QValidator::Acceptable ? value : 0;
}

}  // namespace

OLP_GUI_Capture::OLP_GUI_Capture(QWidget* parent) : QWidget(parent)
{
    buildForm();

    m_framesDirtyTimer = new QTimer(this);
    m_framesDirtyTimer->setObjectName(QStringLiteral("timIntervalFramesDirty"));
    m_framesDirtyTimer->setSingleShot(true);
    m_framesDirtyTimer->setInterval(kDirtyInterval);
    m_timeDirtyTimer = new QTimer(this);
    m_timeDirtyTimer->setObjectName(QStringLiteral("timIntervalTimeDirty"));
    m_timeDirtyTimer->setSingleShot(true);
    m_timeDirtyTimer->setInterval(kDirtyInterval);

    // User choices only: textActivated is not emitted for programmatic changes.
    connect(m_cbbExposMetering, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalExposMetering);
    connect(m_cbbAperture, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalAperture);
    connect(m_cbbShutterTime, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalShutterTime);
    connect(m_cbbExposCompens, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalExposCompens);
    // The ISO choice also decides automatic ISO, so it leaves through its own
    // slot only; a second connection would send every choice twice.
    connect(m_cbbSensitivity, QOverload<int>::of(&QComboBox::activated), this,
            &OLP_GUI_Capture::catchSensitivityChanged);
    connect(m_cbbWhiteBalance, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalWhiteBalance);
    connect(m_cbbWhiteBalTemp, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalWhiteBalTemp);
    connect(m_cbbDriveMode, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalDriveMode);
    connect(m_cbbBracketImgNum, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalBracketImgNum);
    connect(m_cbbBracketDeltaEV, &QComboBox::textActivated, this, &OLP_GUI_Capture::signalBracketDeltaEV);
    connect(m_cbbIntervalFrames, &QComboBox::textActivated, this,
            QOverload<const QString&>::of(&OLP_GUI_Capture::signalIntervalFrames));
    connect(m_cbbIntervalTime, &QComboBox::textActivated, this,
            QOverload<const QString&>::of(&OLP_GUI_Capture::signalIntervalTime));

    connect(m_wgtExposMode, &OLP_GUI_ExposureModeWidget::signalChosen, this,
            &OLP_GUI_Capture::catchExposureModeChanged);
    connect(m_ledIntervalFrames, &QLineEdit::textEdited, this, &OLP_GUI_Capture::catchIntervalFramesEdited);
    connect(m_ledIntervalTime, &QLineEdit::textEdited, this, &OLP_GUI_Capture::catchIntervalTimeEdited);
    connect(m_framesDirtyTimer, &QTimer::timeout, this, &OLP_GUI_Capture::catchIntervalFramesDirtyFired);
    connect(m_timeDirtyTimer, &QTimer::timeout, this, &OLP_GUI_Capture::catchIntervalTimeDirtyFired);
    connect(m_wgtFocusMode, &OLP_GUI_FocusModeWidget::signalChosen, this, &OLP_GUI_Capture::catchFocusModeChanged);
    connect(m_wgtFocusDistance, &OLP_GUI_FocusDistanceWidget::signalChosen, this,
            &OLP_GUI_Capture::signalFocusDistance);
    connect(m_wgtFocusDistance, &OLP_GUI_FocusDistanceWidget::signalDecrease, this,
            &OLP_GUI_Capture::signalFocusDistanceDec);
    connect(m_wgtFocusDistance, &OLP_GUI_FocusDistanceWidget::signalIncrease, this,
            &OLP_GUI_Capture::signalFocusDistanceInc);

    setDriveMode(0);
}

QLabel* OLP_GUI_Capture::addRowLabel(int row, const char* objectName, const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(objectName));
    m_layout->addWidget(label, row, 0);
    return label;
}

OLP_GUI_ComboBox* OLP_GUI_Capture::makeComboBox(const char* objectName)
{
    auto* box = new OLP_GUI_ComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    // Long entries must not widen the fixed-width window.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(4);
    return box;
}

// Three columns: the row label, then one control over both control columns or
// two controls side by side. A setting's second line leaves the label column empty.
void OLP_GUI_Capture::buildForm()
{
    m_layout = new QGridLayout(this);
    m_layout->setObjectName(QStringLiteral("glyCapture"));
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->setHorizontalSpacing(6);
    m_layout->setVerticalSpacing(3);
    m_layout->setColumnStretch(1, 1);
    m_layout->setColumnStretch(2, 1);

    int row = 0;
    m_lblExposMode = addRowLabel(row, "lblExposMode", tr("Exposure Mode:"));
    m_wgtExposMode = new OLP_GUI_ExposureModeWidget(this);
    m_wgtExposMode->setObjectName(QStringLiteral("wgtExposMode"));
    m_layout->addWidget(m_wgtExposMode, row, 1, 1, 2);

    ++row;
    m_lblExposMetering = addRowLabel(row, "lblExposMetering", tr("Exposure Metering:"));
    m_cbbExposMetering = makeComboBox("cbbExposMetering");
    m_layout->addWidget(m_cbbExposMetering, row, 1, 1, 2);

    ++row;
    m_lblShutterTime = addRowLabel(row, "lblShutterTime", tr("Shutter Time:"));
    m_cbbShutterTime = makeComboBox("cbbShutterTime");
    m_layout->addWidget(m_cbbShutterTime, row, 1, 1, 2);

    ++row;
    m_lblAperture = addRowLabel(row, "lblAperture", tr("Aperture:"));
    m_cbbAperture = makeComboBox("cbbAperture");
    m_layout->addWidget(m_cbbAperture, row, 1, 1, 2);

    ++row;
    m_lblExposCompens = addRowLabel(row, "lblExposCompens", tr("Exposure Comp.:"));
    m_cbbExposCompens = makeComboBox("cbbExposCompens");
    m_layout->addWidget(m_cbbExposCompens, row, 1, 1, 2);

    ++row;
    m_lblSensitivity = addRowLabel(row, "lblSensitivity", tr("ISO:"));
    m_cbbSensitivity = makeComboBox("cbbSensitivity");
    m_layout->addWidget(m_cbbSensitivity, row, 1, 1, 2);

    ++row;
    m_lblWhiteBalance = addRowLabel(row, "lblWhiteBalance", tr("White Balance:"));
    // The longest entries ("Color Temperature") need both columns; the colour
    // temperature goes below, in the right one.
    m_cbbWhiteBalance = makeComboBox("cbbWhiteBalance");
    m_cbbWhiteBalTemp = makeComboBox("cbbWhiteBalTemp");
    m_layout->addWidget(m_cbbWhiteBalance, row, 1, 1, 2);
    ++row;
    m_layout->addWidget(m_cbbWhiteBalTemp, row, 2);

    ++row;
    m_lblDriveMode = addRowLabel(row, "lblDriveMode", tr("Drive Mode:"));
    m_cbbDriveMode = makeComboBox("cbbDriveMode");
    m_layout->addWidget(m_cbbDriveMode, row, 1, 1, 2);

    // The drive mode's own fields share one row: the bracketing boxes, the
    // interval fields or two empty placeholders, so that the row keeps its
    // height whatever the mode. Hidden widgets take no room; a stretch would,
    // so the unit labels take the spare width of the interval fields.
    ++row;
    auto* firstField = new QHBoxLayout();
    firstField->setObjectName(QStringLiteral("hlyDriveField1"));
    auto* secondField = new QHBoxLayout();
    secondField->setObjectName(QStringLiteral("hlyDriveField2"));
    m_cbbEmpty1 = makeComboBox("cbbEmpty1");
    m_cbbEmpty1->setEnabled(false);
    m_cbbEmpty2 = makeComboBox("cbbEmpty2");
    m_cbbEmpty2->setEnabled(false);
    m_cbbBracketImgNum = makeComboBox("cbbBracketImgNum");
    m_cbbBracketDeltaEV = makeComboBox("cbbBracketDeltaEV");
    m_cbbIntervalFrames = makeComboBox("cbbIntervalFrames");
    m_cbbIntervalTime = makeComboBox("cbbIntervalTime");
    m_cbbIntervalFrames->hide();
    m_cbbIntervalTime->hide();

    auto* hlyIntervalFrames = new QHBoxLayout();
    hlyIntervalFrames->setObjectName(QStringLiteral("hlyIntervalFrames"));
    m_ledIntervalFrames = new QLineEdit(this);
    m_ledIntervalFrames->setObjectName(QStringLiteral("ledIntervalFrames"));
    m_ledIntervalFrames->setMaximumWidth(63);
    m_lblIntervalFrames = new QLabel(tr("frm"), this);
    m_lblIntervalFrames->setObjectName(QStringLiteral("lblIntervalFrames"));
    hlyIntervalFrames->addWidget(m_ledIntervalFrames);
    hlyIntervalFrames->addWidget(m_lblIntervalFrames, 1);

    auto* hlyIntervalTime = new QHBoxLayout();
    hlyIntervalTime->setObjectName(QStringLiteral("hlyIntervalTime"));
    m_ledIntervalTime = new QLineEdit(this);
    m_ledIntervalTime->setObjectName(QStringLiteral("ledIntervalTime"));
    m_ledIntervalTime->setMaximumWidth(63);
    m_lblIntervalTime = new QLabel(tr("s", "interval time unit"), this);
    m_lblIntervalTime->setObjectName(QStringLiteral("lblIntervalTime"));
    hlyIntervalTime->addWidget(m_ledIntervalTime);
    hlyIntervalTime->addWidget(m_lblIntervalTime, 1);

    m_framesValidator = new QIntValidator(1, 1, m_ledIntervalFrames);
    m_ledIntervalFrames->setValidator(m_framesValidator);
    m_timeValidator = new QIntValidator(1, 1, m_ledIntervalTime);
    m_ledIntervalTime->setValidator(m_timeValidator);

    firstField->addWidget(m_cbbEmpty1);
    firstField->addWidget(m_cbbBracketImgNum);
    firstField->addWidget(m_cbbIntervalFrames);
    firstField->addLayout(hlyIntervalFrames);
    secondField->addWidget(m_cbbEmpty2);
    secondField->addWidget(m_cbbBracketDeltaEV);
    secondField->addWidget(m_cbbIntervalTime);
    secondField->addLayout(hlyIntervalTime);
    // The row under the drive mode uses the whole width: "5 Images" does not
    // fit into one control column.
    auto* hlyDriveFields = new QHBoxLayout();
    hlyDriveFields->setObjectName(QStringLiteral("hlyDriveFields"));
    hlyDriveFields->addLayout(firstField, 1);
    hlyDriveFields->addLayout(secondField, 1);
    m_layout->addLayout(hlyDriveFields, row, 0, 1, 3);

    ++row;
    m_lblFocusMode = addRowLabel(row, "lblFocusMode", tr("Focus Mode:"));
    m_wgtFocusMode = new OLP_GUI_FocusModeWidget(this);
    m_wgtFocusMode->setObjectName(QStringLiteral("wgtFocusMode"));
    m_layout->addWidget(m_wgtFocusMode, row, 1, 1, 2);

    ++row;
    m_wgtFocusDistance = new OLP_GUI_FocusDistanceWidget(this);
    m_wgtFocusDistance->setObjectName(QStringLiteral("wgtFocusDistance"));
    m_layout->addWidget(m_wgtFocusDistance, row, 0, 1, 3);

    m_layout->setRowStretch(row + 1, 1);
}

// ---- exposure mode

void OLP_GUI_Capture::setExposureModeList(const QStringList& list)
{
    m_wgtExposMode->setExposureModeList(list);
}

void OLP_GUI_Capture::setExposureMode(int mode)
{
    m_wgtExposMode->setExposureMode(mode);
    enableExposureControls(mode);
}

void OLP_GUI_Capture::enableExposureControls(int mode)
{
    switch (mode) {
        case 0:
        case 4:
            m_cbbAperture->setEnabled(true);
            m_cbbShutterTime->setEnabled(true);
            break;
        case 1:
            m_cbbAperture->setEnabled(false);
            m_cbbShutterTime->setEnabled(true);
            break;
        case 2:
            m_cbbAperture->setEnabled(true);
            m_cbbShutterTime->setEnabled(false);
            break;
        case 3:
        case 5:
            m_cbbAperture->setEnabled(false);
            m_cbbShutterTime->setEnabled(false);
            break;
        default:
            debugPrintf(0, "%s - illegal exposure mode %d", "OLP_GUI_Capture::enableExposureControls", mode);
            break;
    }
}

void OLP_GUI_Capture::catchExposureModeChanged(int mode)
{
    enableExposureControls(mode);
    emit signalExposureMode(mode);
    emit signalIsExpModeManual(mode == 0);
}

void OLP_GUI_Capture::setHasAperture(bool hasAperture)
{
    m_wgtExposMode->setHasAperture(hasAperture);
    m_lblAperture->setVisible(hasAperture);
    m_cbbAperture->setVisible(hasAperture);
}

// ---- list and value settings

void OLP_GUI_Capture::setExposMeteringList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbExposMetering, list, "OLP_GUI_Capture::setExposMeteringList",
                                "%s - empty expos metering list");
}

void OLP_GUI_Capture::setExposMetering(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbExposMetering, text, "OLP_GUI_Capture::setExposMetering",
                                 "%s - illegal expos metering %s");
}

void OLP_GUI_Capture::setApertureList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbAperture, list, "OLP_GUI_Capture::setApertureList", "%s - empty aperture list");
}

void OLP_GUI_Capture::setAperture(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbAperture, text, "OLP_GUI_Capture::setAperture", "%s - illegal aperture %s");
}

void OLP_GUI_Capture::setShutterTimeList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbShutterTime, list, "OLP_GUI_Capture::setShutterTimeList",
                                "%s - empty shutter time list");
}

void OLP_GUI_Capture::setShutterTime(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbShutterTime, text, "OLP_GUI_Capture::setShutterTime",
                                 "%s - illegal shutter time %s");
}

void OLP_GUI_Capture::setExposCompensList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbExposCompens, list, "OLP_GUI_Capture::setExposCompensList",
                                "%s - empty exposure compensation list");
}

void OLP_GUI_Capture::setExposCompens(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbExposCompens, text, "OLP_GUI_Capture::setExposCompens",
                                 "%s - illegal exposure compensation %s");
}

// ---- ISO

void OLP_GUI_Capture::setSensitivityAuto(bool isAuto)
{
    m_isSensitivityAuto = isAuto;
    if (isAuto && m_cbbSensitivity->count() > 0) {
        const QSignalBlocker blocker(m_cbbSensitivity);
        m_cbbSensitivity->setCurrentIndex(0);
    }
}

void OLP_GUI_Capture::setSensitivityList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbSensitivity, list, "OLP_GUI_Capture::setSensitivityList",
                                "%s - empty sensitivity list");
}

// While ISO is automatic the camera still reports the ISO it uses; the box
// keeps showing the automatic entry.
void OLP_GUI_Capture::setSensitivity(const QString& text)
{
    if (m_isSensitivityAuto) {
        return;
    }
    OLP_GUI_ComboRules::setValue(m_cbbSensitivity, text, "OLP_GUI_Capture::setSensitivity",
                                 "%s - illegal sensitivity %s");
}

void OLP_GUI_Capture::catchSensitivityChanged(int index)
{
    m_isSensitivityAuto = (index == 0);
    emit signalSensitivity(m_cbbSensitivity->itemText(index));
}

// ---- white balance

void OLP_GUI_Capture::setHasWhiteBalance(bool hasWhiteBalance)
{
    m_lblWhiteBalance->setVisible(hasWhiteBalance);
    m_cbbWhiteBalance->setVisible(hasWhiteBalance);
    m_cbbWhiteBalTemp->setVisible(hasWhiteBalance);
}

void OLP_GUI_Capture::setWhiteBalanceList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbWhiteBalance, list, "OLP_GUI_Capture::setWhiteBalanceList",
                                "%s - empty white balance list");
}

void OLP_GUI_Capture::setWhiteBalance(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbWhiteBalance, text, "OLP_GUI_Capture::setWhiteBalance",
                                 "%s - illegal white balance %s");
}

void OLP_GUI_Capture::setIsWhiteBalTemp(bool isTemperature)
{
    m_cbbWhiteBalTemp->setEnabled(isTemperature);
}

void OLP_GUI_Capture::setWhiteBalTempList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbWhiteBalTemp, list, "OLP_GUI_Capture::setWhiteBalTempList",
                                "%s - empty white balance temperature list");
}

void OLP_GUI_Capture::setWhiteBalTemp(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbWhiteBalTemp, text, "OLP_GUI_Capture::setWhiteBalTemp",
                                 "%s - illegal white balance temperature %s");
}

// ---- drive mode, bracketing, interval

void OLP_GUI_Capture::setDriveModeList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbDriveMode, list, "OLP_GUI_Capture::setDriveModeList",
                                "%s - empty drive mode list");
}

void OLP_GUI_Capture::setDriveMode(int mode)
{
    const bool bracketing = (mode == kDriveModeBracketing);
    const bool interval = (mode == kDriveModeInterval);
    m_cbbBracketImgNum->setVisible(bracketing);
    m_cbbBracketDeltaEV->setVisible(bracketing);
    m_cbbIntervalFrames->hide();
    m_cbbIntervalTime->hide();
    m_ledIntervalFrames->setVisible(interval);
    m_lblIntervalFrames->setVisible(interval);
    m_ledIntervalTime->setVisible(interval);
    m_lblIntervalTime->setVisible(interval);
    m_cbbEmpty1->setVisible(!bracketing && !interval);
    m_cbbEmpty2->setVisible(!bracketing && !interval);
}

void OLP_GUI_Capture::setDriveMode(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbDriveMode, text, "OLP_GUI_Capture::setDriveMode", "%s - illegal drive mode %s");
}

void OLP_GUI_Capture::setBracketImgNumList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbBracketImgNum, list, "OLP_GUI_Capture::setBracketImgNumList",
                                "%s - empty bracket image numbers list");
}

void OLP_GUI_Capture::setBracketImgNum(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbBracketImgNum, text, "OLP_GUI_Capture::setBracketImgNum",
                                 "%s - illegal bracket image numbers %s");
}

void OLP_GUI_Capture::setBracketDeltaEVList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbBracketDeltaEV, list, "OLP_GUI_Capture::setBracketDeltaEVList",
                                "%s - empty bracketing Delta EV list");
}

void OLP_GUI_Capture::setBracketDeltaEV(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbBracketDeltaEV, text, "OLP_GUI_Capture::setBracketDeltaEV",
                                 "%s - illegal bracketing Delta EV %s");
}

void OLP_GUI_Capture::setIsIntervalMode(bool isIntervalMode)
{
    m_cbbIntervalFrames->setEnabled(isIntervalMode);
    m_cbbIntervalTime->setEnabled(isIntervalMode);
    m_ledIntervalFrames->setEnabled(isIntervalMode);
    m_ledIntervalTime->setEnabled(isIntervalMode);
}

void OLP_GUI_Capture::setIntervalFramesRange(int first, int last)
{
    m_framesValidator->setRange(first, last);
}

void OLP_GUI_Capture::setIntervalFramesList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbIntervalFrames, list, "OLP_GUI_Capture::setIntervalFramesList",
                                "%s - empty interval frames list");
}

void OLP_GUI_Capture::setIntervalFrames(int frames)
{
    m_ledIntervalFrames->setText(QString::number(frames));
    m_lastFrames = frames;
}

void OLP_GUI_Capture::setIntervalFrames(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbIntervalFrames, text, "OLP_GUI_Capture::setIntervalFrames", nullptr);
}

void OLP_GUI_Capture::catchIntervalFramesEdited(const QString& text)
{
    const int frames = acceptedInteger(m_framesValidator, text);
    if (frames == 0) {
        m_framesDirtyTimer->start(kDirtyInterval);
        return;
    }
    // A valid entry supersedes an earlier invalid one.
    m_framesDirtyTimer->stop();
    m_lastFrames = frames;
    emit signalIntervalFrames(frames);
}

void OLP_GUI_Capture::catchIntervalFramesDirtyFired()
{
    if (m_lastFrames > 0) {
        m_ledIntervalFrames->setText(QString::number(m_lastFrames));
    }
}

void OLP_GUI_Capture::setIntervalTimeRange(int first, int last)
{
    m_timeValidator->setRange(first, last);
}

void OLP_GUI_Capture::setIntervalTimeList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbIntervalTime, list, "OLP_GUI_Capture::setIntervalTimeList",
                                "%s - empty interval time list");
}

void OLP_GUI_Capture::setIntervalTime(int seconds)
{
    m_ledIntervalTime->setText(QString::number(seconds));
    m_lastTime = seconds;
}

void OLP_GUI_Capture::setIntervalTime(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbIntervalTime, text, "OLP_GUI_Capture::setIntervalTime", nullptr);
}

void OLP_GUI_Capture::catchIntervalTimeEdited(const QString& text)
{
    const int seconds = acceptedInteger(m_timeValidator, text);
    if (seconds == 0) {
        m_timeDirtyTimer->start(kDirtyInterval);
        return;
    }
    m_timeDirtyTimer->stop();
    m_lastTime = seconds;
    emit signalIntervalTime(seconds);
}

void OLP_GUI_Capture::catchIntervalTimeDirtyFired()
{
    if (m_lastTime > 0) {
        m_ledIntervalTime->setText(QString::number(m_lastTime));
    }
}

// ---- focus

void OLP_GUI_Capture::setLiveViewMode(int mode)
{
    // Only this camera focuses manually in live view alone.
    if (cameraProductId() != ProductIdKestaD) {
        return;
    }
    m_wgtFocusDistance->setEnabled(mode == 2 || mode == 3);
}

void OLP_GUI_Capture::setHasFocusMode(bool hasFocusMode)
{
    m_lblFocusMode->setVisible(hasFocusMode);
    m_wgtFocusMode->setVisible(hasFocusMode);
}

void OLP_GUI_Capture::setFocusMode(int mode)
{
    m_wgtFocusMode->setFocusMode(mode);
}

void OLP_GUI_Capture::catchFocusModeChanged(int mode)
{
    emit signalFocusMode(mode);
}

void OLP_GUI_Capture::setHasFocusDistance(bool hasFocusDistance)
{
    m_wgtFocusDistance->setVisible(hasFocusDistance);
}

void OLP_GUI_Capture::setFocusDistance(const QString& text)
{
    m_wgtFocusDistance->setCurrDistance(text);
}

void OLP_GUI_Capture::setFocusIsUnitFeet(bool isUnitFeet)
{
    m_wgtFocusDistance->setIsUnitFeet(isUnitFeet);
}

void OLP_GUI_Capture::setFocusMaxDistance(const QString& text)
{
    m_wgtFocusDistance->setMaxDistance(text);
}

void OLP_GUI_Capture::setFocusMinDistance(const QString& text)
{
    m_wgtFocusDistance->setMinDistance(text);
}

// The controller answers productId() from a value it keeps for the GUI thread.
quint32 OLP_GUI_Capture::cameraProductId()
{
    const auto* application = qobject_cast<const OLP_GUI_Application*>(QCoreApplication::instance());
    const OLP_Logic_Controller* controller = application ? application->controller() : nullptr;
    return controller ? controller->productId() : 0;
}
