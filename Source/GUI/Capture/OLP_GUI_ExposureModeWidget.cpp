#include "OLP_GUI_ExposureModeWidget.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "OLP_Debug.h"

OLP_GUI_ExposureModeWidget::OLP_GUI_ExposureModeWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("hlyExposMode"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_btnP = makeButton("btnP", QStringLiteral("P"));
    m_btnM = makeButton("btnM", QStringLiteral("M"));
    m_btnA = makeButton("btnA", QStringLiteral("A"));
    m_btnT = makeButton("btnT", QStringLiteral("T"));
    for (QToolButton* button : {m_btnP, m_btnM, m_btnA, m_btnT}) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
    connect(m_btnP, &QToolButton::clicked, this, &OLP_GUI_ExposureModeWidget::catchButtonPClicked);
    connect(m_btnM, &QToolButton::clicked, this, &OLP_GUI_ExposureModeWidget::catchButtonMClicked);
    connect(m_btnA, &QToolButton::clicked, this, &OLP_GUI_ExposureModeWidget::catchButtonAClicked);
    connect(m_btnT, &QToolButton::clicked, this, &OLP_GUI_ExposureModeWidget::catchButtonTClicked);
}

QToolButton* OLP_GUI_ExposureModeWidget::makeButton(const char* objectName, const QString& caption)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setText(caption);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void OLP_GUI_ExposureModeWidget::checkOnly(QToolButton* button)
{
    for (QToolButton* each : {m_btnP, m_btnM, m_btnA, m_btnT}) {
        each->setChecked(each == button);
    }
}

void OLP_GUI_ExposureModeWidget::setHasAperture(bool hasAperture)
{
    m_btnP->setVisible(hasAperture);
    m_btnT->setVisible(hasAperture);
}

void OLP_GUI_ExposureModeWidget::setExposureModeList(const QStringList& list)
{
    QToolButton* const inOrder[] = {m_btnP, m_btnM, m_btnA, m_btnT};
    for (int i = 0; i < 4 && i < list.size(); ++i) {
        inOrder[i]->setText(list.at(i));
    }
}

void OLP_GUI_ExposureModeWidget::setExposureMode(int mode)
{
    switch (mode) {
        case 0:
        case 4:
            checkOnly(m_btnM);
            break;
        case 1:
            checkOnly(m_btnT);
            break;
        case 2:
            checkOnly(m_btnA);
            break;
        case 3:
        case 5:
            checkOnly(m_btnP);
            break;
        default:
            debugPrintf(0, "%s - illegal exposure mode %d", "OLP_GUI_ExposureModeWidget::setExposureMode", mode);
            break;
    }
}

// A click on a checked button unchecks it; the checked state follows the
// choice, not the toggle.
void OLP_GUI_ExposureModeWidget::catchButtonPClicked()
{
    checkOnly(m_btnP);
    emit signalChosen(3);
}

void OLP_GUI_ExposureModeWidget::catchButtonAClicked()
{
    checkOnly(m_btnA);
    emit signalChosen(2);
}

void OLP_GUI_ExposureModeWidget::catchButtonTClicked()
{
    checkOnly(m_btnT);
    emit signalChosen(1);
}

void OLP_GUI_ExposureModeWidget::catchButtonMClicked()
{
    checkOnly(m_btnM);
    emit signalChosen(0);
}
