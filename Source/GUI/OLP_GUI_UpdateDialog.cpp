#include "OLP_GUI_UpdateDialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

OLP_GUI_UpdateDialog::OLP_GUI_UpdateDialog(QWidget* parent, const QString& title, const QString& message,
                                           const QString& link)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("UpdateDialog"));
    setWindowTitle(title);
    setMinimumSize(500, 150);
    setMaximumSize(500, 150);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);

    QLabel* text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("lblMessage"));
    layout->addWidget(text);

    m_link = new QPushButton(link, this);
    m_link->setObjectName(QStringLiteral("pbnLink"));
    m_link->setFlat(true);
    m_link->setCursor(Qt::PointingHandCursor);
    layout->addWidget(m_link);

    QPushButton* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("pbnCancel"));
    layout->addWidget(cancel);

    connect(m_link, &QPushButton::clicked, this, &OLP_GUI_UpdateDialog::catchLinkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void OLP_GUI_UpdateDialog::catchLinkClicked()
{
    QDesktopServices::openUrl(QUrl(m_link->text()));
    accept();
}
