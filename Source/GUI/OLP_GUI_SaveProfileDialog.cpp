#include "OLP_GUI_SaveProfileDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

OLP_GUI_SaveProfileDialog::OLP_GUI_SaveProfileDialog(QStringList* profileNames, QWidget* parent)
    : QDialog(parent), m_profileNames(profileNames)
{
    setObjectName(QStringLiteral("SaveProfileDialog"));
    QGridLayout* layout = new QGridLayout(this);

    QLabel* create = new QLabel(tr("Create a new Profile:"), this);
    create->setObjectName(QStringLiteral("lblCreateProfile"));
    layout->addWidget(create, 0, 0, 1, 2);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("ledProfileName"));
    layout->addWidget(m_name, 1, 0);
    QPushButton* createButton = new QPushButton(tr("Create"), this);
    createButton->setObjectName(QStringLiteral("pbnCreate"));
    createButton->setAutoDefault(false);
    layout->addWidget(createButton, 1, 1);

    QLabel* choose = new QLabel(tr("Choose an existing Profile:"), this);
    choose->setObjectName(QStringLiteral("lblChooseProfile"));
    layout->addWidget(choose, 2, 0, 1, 2);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lwtProfiles"));
    if (m_profileNames) {
        m_list->addItems(*m_profileNames);
    }
    layout->addWidget(m_list, 3, 0);
    QPushButton* chooseButton = new QPushButton(tr("Choose"), this);
    chooseButton->setObjectName(QStringLiteral("pbnChoose"));
    chooseButton->setAutoDefault(false);
    layout->addWidget(chooseButton, 3, 1, Qt::AlignTop);

    connect(createButton, &QPushButton::clicked, this, &OLP_GUI_SaveProfileDialog::catchCreateButtonClicked);
    connect(chooseButton, &QPushButton::clicked, this, &OLP_GUI_SaveProfileDialog::catchChooseButtonClicked);
}

void OLP_GUI_SaveProfileDialog::catchCreateButtonClicked()
{
    const QString name = m_name->text().trimmed();
    // A blank name or one that exists already would make two profiles
    // nobody can tell apart.
    if (name.isEmpty() || !m_profileNames || m_profileNames->contains(name)) {
        return;
    }
    m_profileNames->append(name);
    m_list->addItem(name);
    m_chosenName = name;
    accept();
}

void OLP_GUI_SaveProfileDialog::catchChooseButtonClicked()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        return;
    }
    m_chosenName = item->text();
    accept();
}
