#pragma once

#include <QDialog>

class QListWidget;

// Deletes profile names from the list the application holds in memory.
//
// Thread: GUI thread only. Owns its widgets; the name list is the caller's
// and must outlive the dialog.
class OLP_GUI_DeleteProfilesDialog : public QDialog
{
    Q_OBJECT
public:
    OLP_GUI_DeleteProfilesDialog(QStringList* profileNames, QWidget* parent = nullptr);

private slots:
    void catchDeleteButtonClicked();

private:
    QStringList* m_profileNames;
    QListWidget* m_list;
};
