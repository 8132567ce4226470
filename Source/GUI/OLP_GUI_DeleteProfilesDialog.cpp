#include "OLP_GUI_DeleteProfilesDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

OLP_GUI_DeleteProfilesDialog::OLP_GUI_DeleteProfilesDialog(QStringList* profileNames, QWidget* parent)
    : QDialog(parent), m_profileNames(profileNames)
{
    setObjectName(QStringLiteral("DeleteProfilesDialog"));
    QGridLayout* layout = new QGridLayout(this);
    QLabel* choose = new QLabel(tr("Choose an existing Profile:"), this);
    choose->setObjectName(QStringLiteral("lblChooseProfile"));
    layout->addWidget(choose, 0, 0, 1, 2);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lwtProfiles"));
    if (m_profileNames) {
        m_list->addItems(*m_profileNames);
    }
    layout->addWidget(m_list, 1, 0);
    QPushButton* deleteButton = new QPushButton(tr("Delete"), this);
    deleteButton->setObjectName(QStringLiteral("pbnDelete"));
    deleteButton->setAutoDefault(false);
    layout->addWidget(deleteButton, 1, 1, Qt::AlignTop);
    connect(deleteButton, &QPushButton::clicked, this, &OLP_GUI_DeleteProfilesDialog::catchDeleteButtonClicked);
}

void OLP_GUI_DeleteProfilesDialog::catchDeleteButtonClicked()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        return;
    }
    if (m_profileNames) {
        m_profileNames->removeOne(item->text());
    }
    delete item;
}
