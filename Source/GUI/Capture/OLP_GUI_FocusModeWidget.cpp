#include "OLP_GUI_FocusModeWidget.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "OLP_Debug.h"

OLP_GUI_FocusModeWidget::OLP_GUI_FocusModeWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("hlyFocusMode"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_btnMF = makeButton("btnMF", QStringLiteral("MF"));
    m_btnAFC = makeButton("btnAFC", QStringLiteral("AFC"));
    m_btnAFS = makeButton("btnAFS", QStringLiteral("AFS"));
    for (QToolButton* button : {m_btnMF, m_btnAFC, m_btnAFS}) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
    connect(m_btnAFS, &QToolButton::clicked, this, &OLP_GUI_FocusModeWidget::catchButtonAFSClicked);
    connect(m_btnAFC, &QToolButton::clicked, this, &OLP_GUI_FocusModeWidget::catchButtonAFCClicked);
    connect(m_btnMF, &QToolButton::clicked, this, &OLP_GUI_FocusModeWidget::catchButtonMFClicked);
}

QToolButton* OLP_GUI_FocusModeWidget::makeButton(const char* objectName, const QString& caption)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setText(caption);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void OLP_GUI_FocusModeWidget::checkOnly(QToolButton* button)
{
    for (QToolButton* each : {m_btnMF, m_btnAFC, m_btnAFS}) {
        each->setChecked(each == button);
    }
}

void OLP_GUI_FocusModeWidget::setFocusMode(int mode)
{
    switch (mode) {
        case 0:
            checkOnly(m_btnAFS);
            break;
        case 1:
            checkOnly(m_btnAFC);
            break;
        case 2:
            checkOnly(m_btnMF);
            break;
        default:
            debugPrintf(0, "%s - illegal focus mode %d", "OLP_GUI_FocusModeWidget::setFocusMode", mode);
            break;
    }
}

void OLP_GUI_FocusModeWidget::catchButtonAFSClicked()
{
    checkOnly(m_btnAFS);
    emit signalChosen(0);
}

void OLP_GUI_FocusModeWidget::catchButtonAFCClicked()
{
    checkOnly(m_btnAFC);
    emit signalChosen(1);
}

void OLP_GUI_FocusModeWidget::catchButtonMFClicked()
{
    checkOnly(m_btnMF);
    emit signalChosen(2);
}
