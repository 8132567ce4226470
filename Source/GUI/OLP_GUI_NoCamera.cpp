#include "OLP_GUI_NoCamera.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "OLP_GUI_Application.h"

OLP_GUI_NoCamera::OLP_GUI_NoCamera(OLP_GUI_Application* application, QWidget* parent) : QMainWindow(parent)
{
    resize(400, 250);
    setWindowTitle(windowTitleText());

    QWidget* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    QVBoxLayout* layout = new QVBoxLayout(central);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->addStretch(1);

    QLabel* connect = new QLabel(tr("Connect camera ..."), central);
    connect->setObjectName(QStringLiteral("lblConnectCamera"));
    connect->setAlignment(Qt::AlignCenter);
    layout->addWidget(connect);

    m_problem = new QLabel(central);
    m_problem->setObjectName(QStringLiteral("lblCameraProblem"));
    m_problem->setAlignment(Qt::AlignCenter);
    m_problem->setWordWrap(true);
    m_problem->setVisible(false);
    layout->addWidget(m_problem);

    QLabel* demo = new QLabel(tr("No camera at hand? Choose File > Demo Camera."), central);
    demo->setObjectName(QStringLiteral("lblDemoCameraHint"));
    demo->setAlignment(Qt::AlignCenter);
    demo->setWordWrap(true);
    QFont smaller = demo->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
    demo->setFont(smaller);
    layout->addWidget(demo);
    layout->addStretch(1);
    setCentralWidget(central);

    if (application) {
        setMenuBar(application->createMenuBar());
    }
}

QString OLP_GUI_NoCamera::windowTitleText()
{
    return QGuiApplication::applicationDisplayName() + QLatin1Char(' ') +
           QCoreApplication::applicationVersion().section(QLatin1Char('.'), 0, 0);
}

void OLP_GUI_NoCamera::setProblemText(const QString& text)
{
    m_problem->setText(text);
    m_problem->setVisible(!text.isEmpty());
}

QString OLP_GUI_NoCamera::problemText() const
{
    return m_problem->text();
}

void OLP_GUI_NoCamera::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // A close from the window system is the user leaving the program; without
    // this the window would only hide and leave an invisible process behind.
    if (event->isAccepted() && event->spontaneous()) {
        emit signalClosedByUser();
    }
}
