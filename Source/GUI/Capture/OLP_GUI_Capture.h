#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class OLP_GUI_ComboBox;
class OLP_GUI_ExposureModeWidget;
class OLP_GUI_FocusDistanceWidget;
class OLP_GUI_FocusModeWidget;
class QGridLayout;
class QHBoxLayout;
class QIntValidator;
class QLabel;
class QLineEdit;
class QTimer;

// The "Camera Settings" tab of the camera window: exposure mode, metering,
// shutter time, aperture, compensation, ISO, white balance and colour
// temperature, drive mode with bracketing and interval parameters, focus mode
// and manual focus distance.
//
// Values travel as the controller's display texts: a list and a current text
// per setting come in through the set... slots, a user's choice leaves through
// the signal of the same setting. Only the exposure, drive and focus modes are
// integer codes, and the focus distance is read as a number. Programmatic
// changes never emit: the combo boxes report user choices only.
//
// Thread: GUI thread only; a child of the camera window, whose setters feed it
// from the controller's queued signals.
class OLP_GUI_Capture : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_Capture(QWidget* parent = nullptr);

signals:
    void signalIsExpModeManual(bool isManual);
    void signalExposureMode(int mode);
    void signalExposMetering(const QString& text);
    void signalAperture(const QString& text);
    void signalShutterTime(const QString& text);
    void signalExposCompens(const QString& text);
    void signalSensitivity(const QString& text);
    void signalWhiteBalance(const QString& text);
    void signalWhiteBalTemp(const QString& text);
    void signalDriveMode(const QString& text);
    void signalBracketImgNum(const QString& text);
    void signalBracketDeltaEV(const QString& text);
    void signalIntervalFrames(int frames);
    void signalIntervalFrames(const QString& text);
    void signalIntervalTime(int seconds);
    void signalIntervalTime(const QString& text);
    void signalFocusMode(int mode);
    void signalFocusDistance(const QString& text);
    void signalFocusDistanceDec();
    void signalFocusDistanceInc();

public slots:
    void setExposureModeList(const QStringList& list);
    void setExposureMode(int mode);
    void setExposMeteringList(const QStringList& list);
    void setExposMetering(const QString& text);
    void setHasAperture(bool hasAperture);
    void setApertureList(const QStringList& list);
    void setAperture(const QString& text);
    void setShutterTimeList(const QStringList& list);
    void setShutterTime(const QString& text);
    void setExposCompensList(const QStringList& list);
    void setExposCompens(const QString& text);
    void setSensitivityAuto(bool isAuto);
    void setSensitivityList(const QStringList& list);
    void setSensitivity(const QString& text);
    void setHasWhiteBalance(bool hasWhiteBalance);
    void setWhiteBalanceList(const QStringList& list);
    void setWhiteBalance(const QString& text);
    void setIsWhiteBalTemp(bool isTemperature);
    void setWhiteBalTempList(const QStringList& list);
    void setWhiteBalTemp(const QString& text);
    void setDriveModeList(const QStringList& list);
    void setDriveMode(int mode);
    void setDriveMode(const QString& text);
    void setBracketImgNumList(const QStringList& list);
    void setBracketImgNum(const QString& text);
    void setBracketDeltaEVList(const QStringList& list);
    void setBracketDeltaEV(const QString& text);
    void setIsIntervalMode(bool isIntervalMode);
    void setIntervalFramesRange(int first, int last);
    void setIntervalFramesList(const QStringList& list);
    void setIntervalFrames(int frames);
    void setIntervalFrames(const QString& text);
    void setIntervalTimeRange(int first, int last);
    void setIntervalTimeList(const QStringList& list);
    void setIntervalTime(int seconds);
    void setIntervalTime(const QString& text);
    void setLiveViewMode(int mode);
    void setHasFocusMode(bool hasFocusMode);
    void setFocusMode(int mode);
    void setHasFocusDistance(bool hasFocusDistance);
    void setFocusDistance(const QString& text);
    void setFocusIsUnitFeet(bool isUnitFeet);
    void setFocusMaxDistance(const QString& text);
    void setFocusMinDistance(const QString& text);

private slots:
    void catchExposureModeChanged(int mode);
    void catchSensitivityChanged(int index);
    void catchIntervalFramesEdited(const QString& text);
    void catchIntervalFramesDirtyFired();
    void catchIntervalTimeEdited(const QString& text);
    void catchIntervalTimeDirtyFired();
    void catchFocusModeChanged(int mode);

private:
    void buildForm();
    QLabel* addRowLabel(int row, const char* objectName, const QString& text);
    OLP_GUI_ComboBox* makeComboBox(const char* objectName);
    void enableExposureControls(int mode);
    // The connected camera's product, asked through the application's controller.
    static quint32 cameraProductId();

    QGridLayout* m_layout = nullptr;
    QLabel* m_lblExposMode = nullptr;
    OLP_GUI_ExposureModeWidget* m_wgtExposMode = nullptr;
    QLabel* m_lblExposMetering = nullptr;
    OLP_GUI_ComboBox* m_cbbExposMetering = nullptr;
    QLabel* m_lblShutterTime = nullptr;
    OLP_GUI_ComboBox* m_cbbShutterTime = nullptr;
    QLabel* m_lblAperture = nullptr;
    OLP_GUI_ComboBox* m_cbbAperture = nullptr;
    QLabel* m_lblExposCompens = nullptr;
    OLP_GUI_ComboBox* m_cbbExposCompens = nullptr;
    QLabel* m_lblSensitivity = nullptr;
    OLP_GUI_ComboBox* m_cbbSensitivity = nullptr;
    QLabel* m_lblWhiteBalance = nullptr;
    OLP_GUI_ComboBox* m_cbbWhiteBalance = nullptr;
    OLP_GUI_ComboBox* m_cbbWhiteBalTemp = nullptr;
    QLabel* m_lblDriveMode = nullptr;
    OLP_GUI_ComboBox* m_cbbDriveMode = nullptr;
    OLP_GUI_ComboBox* m_cbbEmpty1 = nullptr;
    OLP_GUI_ComboBox* m_cbbEmpty2 = nullptr;
    OLP_GUI_ComboBox* m_cbbBracketImgNum = nullptr;
    OLP_GUI_ComboBox* m_cbbBracketDeltaEV = nullptr;
    OLP_GUI_ComboBox* m_cbbIntervalFrames = nullptr;
    OLP_GUI_ComboBox* m_cbbIntervalTime = nullptr;
    QLineEdit* m_ledIntervalFrames = nullptr;
    QLabel* m_lblIntervalFrames = nullptr;
    QLineEdit* m_ledIntervalTime = nullptr;
    QLabel* m_lblIntervalTime = nullptr;
    QLabel* m_lblFocusMode = nullptr;
    OLP_GUI_FocusModeWidget* m_wgtFocusMode = nullptr;
    OLP_GUI_FocusDistanceWidget* m_wgtFocusDistance = nullptr;

    QIntValidator* m_framesValidator = nullptr;
    QIntValidator* m_timeValidator = nullptr;
    int m_lastFrames = 0;
    int m_lastTime = 0;
    QTimer* m_framesDirtyTimer = nullptr;
    QTimer* m_timeDirtyTimer = nullptr;
    bool m_isSensitivityAuto = false;
};
