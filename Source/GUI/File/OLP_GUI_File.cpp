#include "OLP_GUI_File.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

#include "OLP_GUI_ComboBox.h"
#include "OLP_GUI_ComboRules.h"
#include "OLP_GUI_DirPathWidget.h"
#include "OLP_Logic_FolderSettings.h"

namespace {

// The folder settings refuse a base name that would leave the folder (a
// separator) or make an unreadable file name (control characters); refusing it
// as it is typed or pasted keeps the field and the settings in step.
class PictureNameValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override
    {
        return OLP_Logic_FolderSettings::isAcceptablePictureName(input) ? Acceptable : Invalid;
    }
};

// File format codes: 0 to 2 write a DNG, 1 to 4 a JPG.
bool writesDng(int code)
{
    return code >= 0 && code <= 2;
}

bool writesJpg(int code)
{
    return code >= 1 && code <= 4;
}

// While a video is being recorded its resolution cannot change.
constexpr int kLiveViewModeVideoRecording = 1;

}  // namespace

OLP_GUI_File::OLP_GUI_File(QWidget* parent) : QWidget(parent)
{
    buildForm();

    // User choices only: textActivated is not emitted for programmatic changes.
    connect(m_cbbFileFormat, &QComboBox::textActivated, this, &OLP_GUI_File::signalFileFormat);
    connect(m_cbbDngCompression, &QComboBox::textActivated, this, &OLP_GUI_File::signalDngCompression);
    connect(m_cbbJpgColorSpace, &QComboBox::textActivated, this, &OLP_GUI_File::signalJpgColorSpace);
    connect(m_cbbJpgResolution, &QComboBox::textActivated, this, &OLP_GUI_File::signalJpgResolution);
    connect(m_cbbSensorFormat, &QComboBox::textActivated, this, &OLP_GUI_File::signalSensorFormat);
    connect(m_cbbPhotoAspectRatio, &QComboBox::textActivated, this, &OLP_GUI_File::signalPhotoAspectRatio);
    connect(m_cbbVideoFileFormat, &QComboBox::textActivated, this, &OLP_GUI_File::signalVideoFileFormat);
    connect(m_cbbVideoResAndFrRate, &QComboBox::textActivated, this, &OLP_GUI_File::signalVideoResAndFrRate);
    connect(m_cbbVideoFormatResol, &QComboBox::textActivated, this, &OLP_GUI_File::signalVideoFormatResol);
    connect(m_wgtDngPath, &OLP_GUI_DirPathWidget::signalPath, this, &OLP_GUI_File::signalDngPath);
    connect(m_wgtJpgPath, &OLP_GUI_DirPathWidget::signalPath, this, &OLP_GUI_File::signalJpgPath);
    connect(m_ledPictureName, &QLineEdit::textEdited, this, &OLP_GUI_File::signalPictureName);
    connect(m_ledPictureIndex, &QLineEdit::textEdited, this, &OLP_GUI_File::catchPictureIndexEdited);
}

OLP_GUI_ComboBox* OLP_GUI_File::addComboRow(const char* labelName, const QString& labelText, const char* boxName,
                                            QLabel** label)
{
    *label = new QLabel(labelText, this);
    (*label)->setObjectName(QString::fromLatin1(labelName));
    auto* box = new OLP_GUI_ComboBox(this);
    box->setObjectName(QString::fromLatin1(boxName));
    // Long entries must not widen the fixed-width window.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(4);
    m_layout->addWidget(*label, m_rows, 0);
    m_layout->addWidget(box, m_rows, 1);
    ++m_rows;
    return box;
}

void OLP_GUI_File::buildForm()
{
    auto* outer = new QVBoxLayout(this);
    outer->setObjectName(QStringLiteral("vlyFile"));
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);

    m_layout = new QGridLayout();
    m_layout->setObjectName(QStringLiteral("glyFile"));
    m_layout->setHorizontalSpacing(6);
    m_layout->setVerticalSpacing(3);
    m_layout->setColumnStretch(1, 1);
    outer->addLayout(m_layout);

    m_cbbFileFormat = addComboRow("lblFileFormat", tr("File Format:"), "cbbFileFormat", &m_lblFileFormat);
    m_cbbPhotoAspectRatio =
        addComboRow("lblPhotoAspectRatio", tr("Photo Aspect Ratio:"), "cbbPhotoAspectRatio", &m_lblPhotoAspectRatio);
    m_cbbSensorFormat = addComboRow("lblSensorFormat", tr("Sensor Format:"), "cbbSensorFormat", &m_lblSensorFormat);
    m_cbbDngCompression =
        addComboRow("lblDngCompression", tr("DNG Compression:"), "cbbDngCompression", &m_lblDngCompression);
    m_cbbJpgColorSpace =
        addComboRow("lblJpgColorSpace", tr("JPG Color Space:"), "cbbJpgColorSpace", &m_lblJpgColorSpace);
    m_cbbJpgResolution =
        addComboRow("lblJpgResolution", tr("JPG Resolution:"), "cbbJpgResolution", &m_lblJpgResolution);
    m_cbbVideoFileFormat =
        addComboRow("lblVideoFileFormat", tr("Video File Format:"), "cbbVideoFileFormat", &m_lblVideoFileFormat);
    m_cbbVideoResAndFrRate =
        addComboRow("lblVideoResAndFrRate", tr("Video Resolution:"), "cbbVideoResAndFrRate", &m_lblVideoResAndFrRate);
    m_cbbVideoFormatResol =
        addComboRow("lblVideoFormatResol", tr("Video Format:"), "cbbVideoFormatResol", &m_lblVideoFormatResol);

    // The folders and the name each take a full-width row with a short label
    // of their own: the window's height is fixed, and the folder fields keep
    // room for long paths.
    auto* lblDngPath = new QLabel(tr("DNG:"), this);
    lblDngPath->setObjectName(QStringLiteral("lblDngPath"));
    m_wgtDngPath = new OLP_GUI_DirPathWidget(this);
    m_wgtDngPath->setObjectName(QStringLiteral("wgtDngPath"));
    auto* lblJpgPath = new QLabel(tr("JPG:"), this);
    lblJpgPath->setObjectName(QStringLiteral("lblJpgPath"));
    m_wgtJpgPath = new OLP_GUI_DirPathWidget(this);
    m_wgtJpgPath->setObjectName(QStringLiteral("wgtJpgPath"));

    auto* lblPictureName = new QLabel(tr("File Name:"), this);
    lblPictureName->setObjectName(QStringLiteral("lblPictureName"));
    m_ledPictureName = new QLineEdit(this);
    m_ledPictureName->setObjectName(QStringLiteral("ledPictureName"));
    m_ledPictureName->setValidator(new PictureNameValidator(m_ledPictureName));
    auto* lblSeparator = new QLabel(this);
    lblSeparator->setObjectName(QStringLiteral("lblSeparator"));
    lblSeparator->setFixedWidth(4);
    auto* lblPictureIndex = new QLabel(tr("Index:"), this);
    lblPictureIndex->setObjectName(QStringLiteral("lblPictureIndex"));
    m_ledPictureIndex = new QLineEdit(this);
    m_ledPictureIndex->setObjectName(QStringLiteral("ledPictureIndex"));
    m_ledPictureIndex->setMaximumWidth(70);

    auto* lblExampleName = new QLabel(tr("Example:"), this);
    lblExampleName->setObjectName(QStringLiteral("lblExampleName"));
    m_stxExampleName = new QLabel(this);
    m_stxExampleName->setObjectName(QStringLiteral("stxExampleName"));
    // The label takes the width the tab gives it, never the width of the text:
    // a long path is elided to fit instead of widening the window.
    m_stxExampleName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_stxExampleName->setTextFormat(Qt::PlainText);
    m_stxExampleName->installEventFilter(this);

    // The three short labels share one width so that their fields line up.
    int labelWidth = 0;
    for (QLabel* label : {lblDngPath, lblJpgPath, lblPictureName}) {
        labelWidth = qMax(labelWidth, label->sizeHint().width());
    }
    const auto row = [&](const char* name, QLabel* label) {
        auto* layout = new QHBoxLayout();
        layout->setObjectName(QString::fromLatin1(name));
        layout->setSpacing(4);
        label->setMinimumWidth(labelWidth);
        layout->addWidget(label);
        outer->addLayout(layout);
        return layout;
    };
    row("hlyDngPath", lblDngPath)->addWidget(m_wgtDngPath, 1);
    row("hlyJpgPath", lblJpgPath)->addWidget(m_wgtJpgPath, 1);
    auto* glyPictureFullName = new QGridLayout();
    glyPictureFullName->setObjectName(QStringLiteral("glyPictureFullName"));
    glyPictureFullName->setHorizontalSpacing(4);
    glyPictureFullName->addWidget(m_ledPictureName, 0, 0);
    glyPictureFullName->addWidget(lblSeparator, 0, 1);
    glyPictureFullName->addWidget(lblPictureIndex, 0, 2);
    glyPictureFullName->addWidget(m_ledPictureIndex, 0, 3);
    glyPictureFullName->setColumnStretch(0, 1);
    row("hlyPictureFullName", lblPictureName)->addLayout(glyPictureFullName, 1);
    // The example under its label, over the whole width: the file name at
    // its end has to stay readable.
    auto* vlyExampleName = new QVBoxLayout();
    vlyExampleName->setObjectName(QStringLiteral("vlyExampleName"));
    vlyExampleName->setSpacing(0);
    vlyExampleName->addWidget(lblExampleName);
    vlyExampleName->addWidget(m_stxExampleName);
    outer->addLayout(vlyExampleName);
    outer->addStretch(1);
}

bool OLP_GUI_File::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_stxExampleName && event->type() == QEvent::Resize) {
        showExample();
    }
    return QWidget::eventFilter(watched, event);
}

void OLP_GUI_File::setLiveViewMode(int mode)
{
    m_cbbVideoResAndFrRate->setEnabled(mode != kLiveViewModeVideoRecording);
}

void OLP_GUI_File::setFileFormatList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbFileFormat, list, "OLP_GUI_File::setFileFormatList",
                                "%s - empty file format list");
}

void OLP_GUI_File::setFileFormat(int code)
{
    m_wgtDngPath->setEnabled(writesDng(code));
    m_wgtJpgPath->setEnabled(writesJpg(code));
}

void OLP_GUI_File::setFileFormat(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbFileFormat, text, "OLP_GUI_File::setFileFormat", "%s - illegal file format %s");
}

void OLP_GUI_File::setHasDngCompression(bool has)
{
    m_lblDngCompression->setVisible(has);
    m_cbbDngCompression->setVisible(has);
}

void OLP_GUI_File::setUseDngCompression(bool use)
{
    m_cbbDngCompression->setEnabled(use);
}

void OLP_GUI_File::setDngCompressionList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbDngCompression, list, "OLP_GUI_File::setDngCompressionList",
                                "%s - empty DNG compression list");
}

void OLP_GUI_File::setDngCompression(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbDngCompression, text, "OLP_GUI_File::setDngCompression",
                                 "%s - illegal DNG compression %s");
}

void OLP_GUI_File::setHasJpgColorSpace(bool has)
{
    m_lblJpgColorSpace->setVisible(has);
    m_cbbJpgColorSpace->setVisible(has);
}

void OLP_GUI_File::setUseJpgColorSpace(bool use)
{
    m_cbbJpgColorSpace->setEnabled(use);
}

void OLP_GUI_File::setJpgColorSpaceList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbJpgColorSpace, list, "OLP_GUI_File::setJpgColorSpaceList",
                                "%s - empty JPG color space list");
}

void OLP_GUI_File::setJpgColorSpace(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbJpgColorSpace, text, "OLP_GUI_File::setJpgColorSpace",
                                 "%s - illegal JPG color space %s");
}

void OLP_GUI_File::setHasJpgResolution(bool has)
{
    m_lblJpgResolution->setVisible(has);
    m_cbbJpgResolution->setVisible(has);
}

void OLP_GUI_File::setUseJpgResolution(bool use)
{
    m_cbbJpgResolution->setEnabled(use);
}

void OLP_GUI_File::setJpgResolutionList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbJpgResolution, list, "OLP_GUI_File::setJpgResolutionList",
                                "%s - empty JPG resolution list");
}

void OLP_GUI_File::setJpgResolution(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbJpgResolution, text, "OLP_GUI_File::setJpgResolution",
                                 "%s - illegal JPG resolution %s");
}

void OLP_GUI_File::setHasSensorFormat(bool has)
{
    m_lblSensorFormat->setVisible(has);
    m_cbbSensorFormat->setVisible(has);
}

void OLP_GUI_File::setSensorFormatList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbSensorFormat, list, "OLP_GUI_File::setSensorFormatList",
                                "%s - empty sensor format list");
}

void OLP_GUI_File::setSensorFormat(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbSensorFormat, text, "OLP_GUI_File::setSensorFormat",
                                 "%s - illegal sensor format %s");
}

void OLP_GUI_File::setHasPhotoAspectRatio(bool has)
{
    m_lblPhotoAspectRatio->setVisible(has);
    m_cbbPhotoAspectRatio->setVisible(has);
}

void OLP_GUI_File::setPhotoAspectRatioList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbPhotoAspectRatio, list, "OLP_GUI_File::setPhotoAspectRatioList",
                                "%s - empty photo aspect ratio list");
}

void OLP_GUI_File::setPhotoAspectRatio(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbPhotoAspectRatio, text, "OLP_GUI_File::setPhotoAspectRatio",
                                 "%s - illegal photo aspect ratio %s");
}

void OLP_GUI_File::setHasVideoFileFormat(bool has)
{
    m_lblVideoFileFormat->setVisible(has);
    m_cbbVideoFileFormat->setVisible(has);
}

void OLP_GUI_File::setVideoFileFormatList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbVideoFileFormat, list, "OLP_GUI_File::setVideoFileFormatList",
                                "%s - empty video file format list");
}

void OLP_GUI_File::setVideoFileFormat(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbVideoFileFormat, text, "OLP_GUI_File::setVideoFileFormat",
                                 "%s - illegal video file format %s");
}

void OLP_GUI_File::setHasVideoResAndFrRate(bool has)
{
    m_lblVideoResAndFrRate->setVisible(has);
    m_cbbVideoResAndFrRate->setVisible(has);
}

void OLP_GUI_File::setVideoResAndFrRateList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbVideoResAndFrRate, list, "OLP_GUI_File::setVideoResAndFrRateList",
                                "%s - empty video resolution list");
}

void OLP_GUI_File::setVideoResAndFrRate(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbVideoResAndFrRate, text, "OLP_GUI_File::setVideoResAndFrRate",
                                 "%s - illegal video resolution %s");
}

void OLP_GUI_File::setHasVideoFormatResol(bool has)
{
    m_lblVideoFormatResol->setVisible(has);
    m_cbbVideoFormatResol->setVisible(has);
}

// The video format shares its messages with the video resolution.
void OLP_GUI_File::setVideoFormatResolList(const QStringList& list)
{
    OLP_GUI_ComboRules::setList(m_cbbVideoFormatResol, list, "OLP_GUI_File::setVideoFormatResolList",
                                "%s - empty video resolution list");
}

void OLP_GUI_File::setVideoFormatResol(const QString& text)
{
    OLP_GUI_ComboRules::setValue(m_cbbVideoFormatResol, text, "OLP_GUI_File::setVideoFormatResol",
                                 "%s - illegal video resolution %s");
}

void OLP_GUI_File::setDngPath(const QString& path)
{
    m_wgtDngPath->setPath(path);
}

void OLP_GUI_File::setJpgPath(const QString& path)
{
    m_wgtJpgPath->setPath(path);
}

void OLP_GUI_File::setPictureExample(const QString& text)
{
    m_pictureExample = text;
    m_stxExampleName->setToolTip(text);
    showExample();
}

void OLP_GUI_File::showExample()
{
    const QFontMetrics metrics(m_stxExampleName->font());
    m_stxExampleName->setText(metrics.elidedText(m_pictureExample, Qt::ElideMiddle, m_stxExampleName->width()));
}

// The controller's name is shown as it is, even one the validator would not
// let the user type.
void OLP_GUI_File::setPictureName(const QString& name)
{
    // The same text again would only move the cursor of a user who is typing.
    if (m_ledPictureName->text() != name) {
        m_ledPictureName->setText(name);
    }
}

void OLP_GUI_File::setPictureIndex(int index)
{
    const QString text = QString::number(index);
    if (m_ledPictureIndex->text() != text) {
        m_ledPictureIndex->setText(text);
    }
}

// Picture numbers start at 1: the folder settings refuse anything lower, and
// the GUI settings would otherwise keep a number the camera does not use.
void OLP_GUI_File::catchPictureIndexEdited(const QString& text)
{
    bool ok = false;
    const int index = text.toInt(&ok);
    if (ok && index >= 1) {
        emit signalPictureIndex(index);
    }
}
