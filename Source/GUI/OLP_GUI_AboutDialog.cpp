#include "OLP_GUI_AboutDialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QVBoxLayout>

OLP_GUI_AboutDialog::OLP_GUI_AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About %1").arg(QGuiApplication::applicationDisplayName()));
    // Wide enough for the legal notice to keep its lines.
    setMinimumWidth(360);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);

    QLabel* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("lblCompanyLogo"));
    logo->setTextFormat(Qt::RichText);
    logo->setText(QStringLiteral("<img src=\":/OLP_GUI/images/OrvaneLogo.png\">"));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);

    const QString version = QCoreApplication::applicationVersion();
    QLabel* name = new QLabel(this);
    name->setObjectName(QStringLiteral("lblApplicationName"));
    name->setText(QGuiApplication::applicationDisplayName() + QLatin1Char(' ') +
                  version.section(QLatin1Char('.'), 0, 0));
    QFont bold = name->font();
    bold.setWeight(QFont::Bold);  // 75
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    name->setFont(bold);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    QLabel* versionLabel = new QLabel(versionText(version), this);
    versionLabel->setObjectName(QStringLiteral("lblApplicationVersion"));
    versionLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(versionLabel);

    QLabel* legal = new QLabel(this);
    legal->setObjectName(QStringLiteral("lblLegalNotice"));
    legal->setTextFormat(Qt::RichText);
    legal->setText(
        tr("&copy; Orvane Camera AG. All rights reserved.<br>"
           "Orvane and Kesta are trademarks of Orvane Camera AG."));
    legal->setAlignment(Qt::AlignCenter);
    legal->setWordWrap(true);
    layout->addWidget(legal);
}

QString OLP_GUI_AboutDialog::versionText(const QString& version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    QString text = tr("Version") + QLatin1Char(' ') + parts.value(0) + QLatin1Char('.') + parts.value(1);
    if (parts.size() > 2 && parts.at(2) != QLatin1String("0")) {
        text += QLatin1Char('.') + parts.at(2);
    }
    return text;
}
