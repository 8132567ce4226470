#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class OLP_GUI_ComboBox;
class OLP_GUI_DirPathWidget;
class QGridLayout;
class QLabel;
class QLineEdit;

// The " File Settings" tab of the camera window: what the camera records (file
// format, aspect ratio, sensor format, DNG compression, JPG colour space and
// resolution, video formats) and where the transferred pictures go (the DNG and
// JPG folders, the base name, the running index and an example of the next
// file's path).
//
// Camera settings travel as the controller's display texts, as in the capture
// tab: a list and a current text come in through the set... slots, a user's
// choice leaves through the signal of the same setting. Programmatic changes
// never emit. Every keystroke in the name field is sent; the index field sends
// only whole numbers of 1 and above.
//
// Thread: GUI thread only; a child of the camera window, whose setters feed it
// from the controller's queued signals. Owns its form (children).
class OLP_GUI_File : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_File(QWidget* parent = nullptr);

    // The example as the controller sent it, before eliding.
    QString pictureExample() const { return m_pictureExample; }

signals:
    void signalFileFormat(const QString& text);
    void signalDngCompression(const QString& text);
    void signalDngPath(const QString& path);
    void signalJpgColorSpace(const QString& text);
    void signalJpgResolution(const QString& text);
    void signalSensorFormat(const QString& text);
    void signalPhotoAspectRatio(const QString& text);
    void signalVideoFileFormat(const QString& text);
    void signalVideoResAndFrRate(const QString& text);
    void signalVideoFormatResol(const QString& text);
    void signalJpgPath(const QString& path);
    void signalPictureName(const QString& name);
    void signalPictureIndex(int index);

public slots:
    void setLiveViewMode(int mode);
    void setFileFormatList(const QStringList& list);
    void setFileFormat(int code);
    void setFileFormat(const QString& text);
    void setHasDngCompression(bool has);
    void setUseDngCompression(bool use);
    void setDngCompressionList(const QStringList& list);
    void setDngCompression(const QString& text);
    void setHasJpgColorSpace(bool has);
    void setUseJpgColorSpace(bool use);
    void setJpgColorSpaceList(const QStringList& list);
    void setJpgColorSpace(const QString& text);
    void setHasJpgResolution(bool has);
    void setUseJpgResolution(bool use);
    void setJpgResolutionList(const QStringList& list);
    void setJpgResolution(const QString& text);
    void setHasSensorFormat(bool has);
    void setSensorFormatList(const QStringList& list);
    void setSensorFormat(const QString& text);
    void setHasPhotoAspectRatio(bool has);
    void setPhotoAspectRatioList(const QStringList& list);
    void setPhotoAspectRatio(const QString& text);
    void setHasVideoFileFormat(bool has);
    void setVideoFileFormatList(const QStringList& list);
    void setVideoFileFormat(const QString& text);
    void setHasVideoResAndFrRate(bool has);
    void setVideoResAndFrRateList(const QStringList& list);
    void setVideoResAndFrRate(const QString& text);
    void setHasVideoFormatResol(bool has);
    void setVideoFormatResolList(const QStringList& list);
    void setVideoFormatResol(const QString& text);
    void setDngPath(const QString& path);
    void setJpgPath(const QString& path);
    void setPictureExample(const QString& text);
    void setPictureName(const QString& name);
    void setPictureIndex(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void catchPictureIndexEdited(const QString& text);

private:
    void buildForm();
    OLP_GUI_ComboBox* addComboRow(const char* labelName, const QString& labelText, const char* boxName, QLabel** label);
    void showExample();

    QGridLayout* m_layout = nullptr;
    int m_rows = 0;

    QLabel* m_lblFileFormat = nullptr;
    OLP_GUI_ComboBox* m_cbbFileFormat = nullptr;
    QLabel* m_lblPhotoAspectRatio = nullptr;
    OLP_GUI_ComboBox* m_cbbPhotoAspectRatio = nullptr;
    QLabel* m_lblSensorFormat = nullptr;
    OLP_GUI_ComboBox* m_cbbSensorFormat = nullptr;
    QLabel* m_lblDngCompression = nullptr;
    OLP_GUI_ComboBox* m_cbbDngCompression = nullptr;
    QLabel* m_lblJpgColorSpace = nullptr;
    OLP_GUI_ComboBox* m_cbbJpgColorSpace = nullptr;
    QLabel* m_lblJpgResolution = nullptr;
    OLP_GUI_ComboBox* m_cbbJpgResolution = nullptr;
    QLabel* m_lblVideoFileFormat = nullptr;
    OLP_GUI_ComboBox* m_cbbVideoFileFormat = nullptr;
    QLabel* m_lblVideoResAndFrRate = nullptr;
    OLP_GUI_ComboBox* m_cbbVideoResAndFrRate = nullptr;
    QLabel* m_lblVideoFormatResol = nullptr;
    OLP_GUI_ComboBox* m_cbbVideoFormatResol = nullptr;

    OLP_GUI_DirPathWidget* m_wgtDngPath = nullptr;
    OLP_GUI_DirPathWidget* m_wgtJpgPath = nullptr;
    QLineEdit* m_ledPictureName = nullptr;
    QLineEdit* m_ledPictureIndex = nullptr;
    QLabel* m_stxExampleName = nullptr;
    QString m_pictureExample;
};
